#pragma once
// Volume work with a time limit: a dead network mount can block statvfs for
// minutes, and the window must not wait that long. The work runs on a worker
// thread; past the limit the caller gives up, and the worker is abandoned to
// finish on its own while a fresh one takes later work. A key whose work
// missed the limit once stays missed for the rest of the run: its later work
// fails at once, since a server that hung once would only cost another wait.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace si32 {

class DeadlineRunner {
public:
    explicit DeadlineRunner(std::chrono::milliseconds limit);
    ~DeadlineRunner();
    DeadlineRunner(const DeadlineRunner&) = delete;
    DeadlineRunner& operator=(const DeadlineRunner&) = delete;

    // nullopt when the work did not finish in time, when work for the same
    // key missed the limit before, or when it threw. Callers are served one
    // at a time.
    template <class T>
    std::optional<T> run(const std::string& key, std::function<std::optional<T>()> work) {
        auto result = std::make_shared<std::optional<T>>();
        const bool finished = runTask(key, [work = std::move(work), result] { *result = work(); });
        return finished ? std::move(*result) : std::nullopt;
    }

    // Work for key missed the limit at some time.
    bool Missed(const std::string& key) const;

    struct Worker;
    struct BusyKeys;

private:
    // true when task ran to its end within the limit.
    bool runTask(const std::string& key, std::function<void()> task);

    std::chrono::milliseconds limit_;
    std::mutex callers_;
    // Shared with the workers, which may outlive the runner.
    std::shared_ptr<BusyKeys> busy_;
    std::shared_ptr<Worker> worker_;
};

}  // namespace si32
