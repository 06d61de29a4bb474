#include "audio/StreamWorker.h"

#include <sys/resource.h>

#include <vector>

#include "audio/OggPlayerIOS.h"

namespace RK {

StreamWorker& StreamWorker::shared() {
    static StreamWorker worker;
    return worker;
}

StreamWorker::~StreamWorker() { stop(); }

void StreamWorker::addActive(OggPlayerIOS* player) {
    std::lock_guard<std::mutex> guard(lock_);
    active_.insert(player);
}

void StreamWorker::forget(OggPlayerIOS* player) {
    std::lock_guard<std::mutex> guard(lock_);
    active_.erase(player);
    retired_.erase(player);
}

void StreamWorker::retire(OggPlayerIOS* player) {
    std::lock_guard<std::mutex> guard(lock_);
    active_.erase(player);
    retired_.insert(player);
}

std::size_t StreamWorker::activeCount() {
    std::lock_guard<std::mutex> guard(lock_);
    return active_.size();
}

std::size_t StreamWorker::retiredCount() {
    std::lock_guard<std::mutex> guard(lock_);
    return retired_.size();
}

void StreamWorker::setManual(bool manual) { manual_.store(manual); }

void StreamWorker::ensureRunning() {
    if (running_.exchange(true)) return;
    if (manual_.load()) return;
    std::lock_guard<std::mutex> guard(threadMutex_);
    // A worker that ended by itself has left its loop; reap it first.
    if (thread_.joinable()) thread_.join();
    stopRequested_ = false;
    thread_ = std::thread([this] { body(); });
}

bool StreamWorker::runPass() {
    std::vector<OggPlayerIOS*> released;
    {
        std::lock_guard<std::mutex> guard(lock_);
        for (OggPlayerIOS* player : active_) player->service();
        for (auto it = retired_.begin(); it != retired_.end();) {
            if ((*it)->releasedItsBuffers()) {
                released.push_back(*it);
                it = retired_.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Deleted outside the lock: the destructor takes it to leave the sets.
    for (OggPlayerIOS* player : released) delete player;
    std::lock_guard<std::mutex> guard(lock_);
    if (active_.empty() && retired_.empty()) {
        // Cleared under the lock that guards insertion, so a player loaded
        // meanwhile either is seen here or finds the worker stopped and
        // starts a new one.
        running_.store(false);
        return false;
    }
    return true;
}

namespace {

std::uint64_t threadCpuNanos() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const auto micros = [](const timeval& t) {
        return static_cast<std::uint64_t>(t.tv_sec) * 1000000u + static_cast<std::uint64_t>(t.tv_usec);
    };
    return (micros(usage.ru_utime) + micros(usage.ru_stime)) * 1000u;
}

}  // namespace

void StreamWorker::body() {
    auto next = std::chrono::steady_clock::now();
    std::uint64_t counted = threadCpuNanos();
    // Charged after every pass, so the figure is current while the thread runs.
    auto charge = [&] {
        const std::uint64_t now = threadCpuNanos();
        cpuNanos_.fetch_add(now - counted);
        counted = now;
    };
    for (;;) {
        next += kPeriod;
        {
            std::unique_lock<std::mutex> guard(threadMutex_);
            if (wake_.wait_until(guard, next, [this] { return stopRequested_; })) return;
        }
        // A late wake-up (a loaded machine) does not pile up passes.
        const auto now = std::chrono::steady_clock::now();
        if (now > next + kPeriod) next = now;
        const bool more = runPass();
        charge();
        if (!more) return;
    }
}

void StreamWorker::stop() {
    std::thread finished;
    {
        std::lock_guard<std::mutex> guard(threadMutex_);
        stopRequested_ = true;
        finished = std::move(thread_);
    }
    wake_.notify_all();
    if (finished.joinable()) finished.join();
    std::lock_guard<std::mutex> guard(threadMutex_);
    stopRequested_ = false;
    running_.store(false);
}

}  // namespace RK
