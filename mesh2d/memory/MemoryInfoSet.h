#pragma once
// Debug record of one allocation channel ("local": chunks through memory
// parameters; "allocator": pages through pageAlloc). It counts and sums the
// allocations and, with memory info on, lists the live ones so leaks can be
// named at dispose. Its nodes come from the system heap, outside the holders
// they describe.
#include <cstddef>

namespace mesh2d {

struct MemoryInfo {
    int serial;
    void* address;
    std::size_t size;
    const char* file;
    int line;
    MemoryInfo* next;
};

class MemoryInfoSet {
public:
    explicit MemoryInfoSet(const char* name) : name_(name) {}
    ~MemoryInfoSet() { reset(); }
    MemoryInfoSet(const MemoryInfoSet&) = delete;
    MemoryInfoSet& operator=(const MemoryInfoSet&) = delete;

    void addInfo(void* address, std::size_t size, const char* file, int line);
    // Forgets (or, with keepFreed, moves aside) the entry of address.
    void removeInfo(void* address, bool keepFreed);
    // Drops every entry and zeroes the counters.
    void reset();

    const char* getName() const { return name_; }
    int getCurCount() const { return curCount_; }
    int getTotalCount() const { return totalCount_; }
    long getCurBytes() const { return curBytes_; }
    long getPeakBytes() const { return peakBytes_; }
    long getTotalBytes() const { return totalBytes_; }
    const MemoryInfo* getLiveList() const { return live_; }
    const MemoryInfo* getFreedList() const { return freed_; }
    bool hasLive() const { return live_ != nullptr; }

private:
    void printEntry(const char* prefix, const MemoryInfo& info) const;

    const char* name_;
    int curCount_ = 0;
    int totalCount_ = 0;
    long curBytes_ = 0;
    long peakBytes_ = 0;
    long totalBytes_ = 0;
    int nextSerial_ = 0;
    MemoryInfo* live_ = nullptr;
    MemoryInfo* freed_ = nullptr;
};

}  // namespace mesh2d
