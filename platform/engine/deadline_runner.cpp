#include "platform/engine/deadline_runner.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace si32 {
namespace {

// Workers left behind past their deadline whose work has not returned: a
// fact of the whole process, as the threads are. LeakSanitizer's check at
// exit stops every thread with ptrace, and a thread blocked on a dead mount
// never stops, so the check would wait for ever; while any such worker
// exists the check is skipped (see __lsan_is_turned_off below).
std::atomic<int> abandonedWorkers{0};

}  // namespace

struct DeadlineRunner::BusyKeys {
    mutable std::mutex mutex;
    std::set<std::string> keys;
    std::set<std::string> missed;

    bool claim(const std::string& key) {
        std::lock_guard lock(mutex);
        return missed.count(key) == 0 && keys.insert(key).second;
    }
    void miss(const std::string& key) {
        std::lock_guard lock(mutex);
        missed.insert(key);
    }
    bool hasMissed(const std::string& key) const {
        std::lock_guard lock(mutex);
        return missed.count(key) != 0;
    }
    void release(const std::string& key) {
        std::lock_guard lock(mutex);
        keys.erase(key);
    }
};

// One thread taking one task at a time. A retired worker ends after the task
// it is running, if any.
struct DeadlineRunner::Worker {
    std::mutex mutex;
    std::condition_variable changed;
    std::function<void()> task;
    bool taskDone = false;
    bool retired = false;
    bool abandoned = false;  // its task ran past the deadline

    void loop() {
        std::unique_lock lock(mutex);
        while (true) {
            changed.wait(lock, [&] { return retired || task; });
            if (!task) return;
            auto current = std::move(task);
            task = nullptr;
            lock.unlock();
            try {
                current();
            } catch (...) {
            }
            lock.lock();
            if (abandoned) --abandonedWorkers;
            abandoned = false;
            taskDone = true;
            changed.notify_all();
        }
    }

    void retire() {
        {
            std::lock_guard lock(mutex);
            retired = true;
        }
        changed.notify_all();
    }
};

DeadlineRunner::DeadlineRunner(std::chrono::milliseconds limit) : limit_(limit), busy_(std::make_shared<BusyKeys>()) {}

DeadlineRunner::~DeadlineRunner() {
    if (worker_) worker_->retire();
}

bool DeadlineRunner::runTask(const std::string& key, std::function<void()> task) {
    std::lock_guard serve(callers_);
    if (!busy_->claim(key)) return false;
    // The key is freed when the work returns, however late.
    auto wrapped = [busy = busy_, key, task = std::move(task)] {
        struct Release {
            BusyKeys& busy;
            const std::string& key;
            ~Release() { busy.release(key); }
        } release{*busy, key};
        task();
    };
    if (!worker_) {
        auto fresh = std::make_shared<Worker>();
        try {
            std::thread([fresh] { fresh->loop(); }).detach();
        } catch (const std::system_error&) {
            busy_->release(key);
            return false;
        }
        worker_ = fresh;
    }
    std::unique_lock lock(worker_->mutex);
    worker_->task = std::move(wrapped);
    worker_->taskDone = false;
    worker_->changed.notify_all();
    if (worker_->changed.wait_for(lock, limit_, [&] { return worker_->taskDone; })) return true;
    // Abandoned: it finishes (or not) on its own; the next task gets a new thread.
    busy_->miss(key);
    worker_->retired = true;
    worker_->abandoned = true;
    ++abandonedWorkers;
    lock.unlock();
    worker_.reset();
    return false;
}

bool DeadlineRunner::Missed(const std::string& key) const { return busy_->hasMissed(key); }

}  // namespace si32

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define SI32_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define SI32_LEAK_CHECKED 1
#endif

#ifdef SI32_LEAK_CHECKED
// LeakSanitizer asks this at exit; nonzero skips the leak check.
extern "C" int __lsan_is_turned_off() { return si32::abandonedWorkers.load() > 0 ? 1 : 0; }
#endif
