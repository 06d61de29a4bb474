#pragma once
// The one background thread that keeps every streamed player's queue full,
// and the state it shares with the main thread: the active and retired
// player sets and the stream lock around every refill.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <thread>

namespace RK {

class OggPlayerIOS;

class StreamWorker {
public:
    static constexpr std::chrono::milliseconds kPeriod{40};

    static StreamWorker& shared();

    std::mutex& streamLock() { return lock_; }

    // Both take the stream lock.
    void addActive(OggPlayerIOS* player);
    void forget(OggPlayerIOS* player);  // out of both sets
    // Out of the active set, into the retired one (the worker deletes it).
    void retire(OggPlayerIOS* player);

    // Starts the thread unless it runs (in manual mode only marks it running).
    void ensureRunning();
    // One servicing pass; false once both sets were found empty, which ends
    // the worker.
    bool runPass();
    // Stops and joins the thread (at exit, and between tests).
    void stop();

    // Test seam: no thread; the test calls runPass at its own virtual cadence.
    void setManual(bool manual);

    bool running() const { return running_.load(); }
    std::size_t activeCount();
    std::size_t retiredCount();
    // Sources found dry while their stream still had audio to give.
    std::uint64_t underruns() const { return underruns_.load(); }
    void countUnderrun() { underruns_.fetch_add(1); }
    // CPU time the worker threads have spent so far (all of them, this run).
    std::uint64_t cpuNanoseconds() const { return cpuNanos_.load(); }

    ~StreamWorker();

private:
    StreamWorker() = default;
    void body();

    std::mutex lock_;  // the stream lock
    std::set<OggPlayerIOS*> active_;
    std::set<OggPlayerIOS*> retired_;
    std::atomic<bool> running_{false};
    std::atomic<bool> manual_{false};
    std::atomic<std::uint64_t> underruns_{0};
    std::atomic<std::uint64_t> cpuNanos_{0};

    std::mutex threadMutex_;  // the thread object and the stop request
    std::condition_variable wake_;
    bool stopRequested_ = false;
    std::thread thread_;
};

}  // namespace RK
