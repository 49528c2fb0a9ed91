#include "music/sid_emulation.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace music::detail {

namespace {

constexpr const char* kBuilderName = "Music Load SID";

// The worker and what it hands over.  The builder it made passes to the main
// thread under the mutex, after which only the main thread touches it.  No
// other builder is made before the worker is done, since the first one writes
// the emulation's shared tables.
class EmulationBuild {
public:
    ~EmulationBuild() {
        if (worker_.joinable()) worker_.join();
    }

    void Start() {
        std::lock_guard lock(mutex_);
        if (started_) return;
        started_ = true;
        const int chips = sid_max_chips();
        try {
            worker_ = std::thread([this, chips] { Hand(BuilderPtr(sid_builder_create(kBuilderName, chips))); });
        } catch (const std::system_error&) {
            finished_ = true;  // no thread to be had: the first render builds it
        }
    }

    BuilderPtr Take() {
        Start();
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return finished_; });
        if (built_) return std::move(built_);
        lock.unlock();
        // Taken already, or the worker could not make one: a builder made
        // now finds the tables there (or builds them, on this thread).
        return BuilderPtr(sid_builder_create(kBuilderName, sid_max_chips()));
    }

private:
    void Hand(BuilderPtr built) {
        std::lock_guard lock(mutex_);
        built_ = std::move(built);
        finished_ = true;
        ready_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    bool started_ = false;
    bool finished_ = false;
    BuilderPtr built_;
    std::thread worker_;
};

EmulationBuild& Build() {
    static EmulationBuild build;
    return build;
}

}  // namespace

void PrepareSidEmulation() { Build().Start(); }

BuilderPtr TakeSidEmulation() { return Build().Take(); }

}  // namespace music::detail
