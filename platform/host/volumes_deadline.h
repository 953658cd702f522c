#pragma once
// Volume work with a time limit: a dead network mount can block statvfs for
// minutes, and the window must not wait that long. The work runs on a worker
// thread; past the limit the caller gives up and the worker is left to
// finish on its own. Until it does, further work for the same mount fails at
// once rather than stacking up more blocked threads.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <string>
#include <thread>

namespace si32 {

class DeadlineRunner {
public:
    explicit DeadlineRunner(std::chrono::milliseconds limit) : limit_(limit), busy_(std::make_shared<Busy>()) {}

    // nullopt when the work did not finish in time, when earlier work for the
    // same key is still running, or when it threw.
    template <class T>
    std::optional<T> run(const std::string& key, std::function<std::optional<T>()> work) {
        if (!busy_->claim(key)) return std::nullopt;
        auto outcome = std::make_shared<Outcome<T>>();
        try {
            std::thread([busy = busy_, key, work = std::move(work), outcome] {
                std::optional<T> result;
                try {
                    result = work();
                } catch (...) {
                }
                // Released before the caller can see the result, so that its
                // next call finds the key free.
                busy->release(key);
                outcome->set(std::move(result));
            }).detach();
        } catch (const std::system_error&) {
            busy_->release(key);
            return std::nullopt;
        }
        return outcome->waitFor(limit_);
    }

private:
    struct Busy {
        std::mutex mutex;
        std::set<std::string> keys;
        bool claim(const std::string& key) {
            std::lock_guard lock(mutex);
            return keys.insert(key).second;
        }
        void release(const std::string& key) {
            std::lock_guard lock(mutex);
            keys.erase(key);
        }
    };

    template <class T>
    struct Outcome {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<T> value;

        void set(std::optional<T> result) {
            {
                std::lock_guard lock(mutex);
                value = std::move(result);
                finished = true;
            }
            done.notify_all();
        }
        std::optional<T> waitFor(std::chrono::milliseconds limit) {
            std::unique_lock lock(mutex);
            if (!done.wait_for(lock, limit, [&] { return finished; })) return std::nullopt;
            return std::move(value);
        }
    };

    std::chrono::milliseconds limit_;
    // Shared with the workers, which may outlive the runner.
    std::shared_ptr<Busy> busy_;
};

}  // namespace si32
