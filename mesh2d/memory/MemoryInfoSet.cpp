#include "mesh2d/memory/MemoryInfoSet.h"

#include <cstdlib>

#include "mesh2d/util/UtDebug.h"

namespace mesh2d {
namespace {

void freeList(MemoryInfo*& head)
{
    while (head) {
        MemoryInfo* next = head->next;
        std::free(head);
        head = next;
    }
}

}  // namespace

void MemoryInfoSet::printEntry(const char* prefix, const MemoryInfo& info) const
{
    if (!UtDebug::hasMemoryDebugFlag(UtDebug::MEMORY_DEBUG_MEMORY_INFO_DUMP)) return;
    if (info.file) {
        UtDebug::print("%s %s [no.%d] %p size(%5ld)  , using %d KB , peak %d KB ,   %s @ %d", prefix, name_,
                       info.serial, info.address, static_cast<long>(info.size), static_cast<int>(curBytes_ / 1024),
                       static_cast<int>(peakBytes_ / 1024), info.file, info.line);
    } else {
        UtDebug::print("%s %s [no.%d] %p size(%5ld)  , using %d KB , peak %d KB", prefix, name_, info.serial,
                       info.address, static_cast<long>(info.size), static_cast<int>(curBytes_ / 1024),
                       static_cast<int>(peakBytes_ / 1024));
    }
}

void MemoryInfoSet::addInfo(void* address, std::size_t size, const char* file, int line)
{
    auto* info = static_cast<MemoryInfo*>(std::malloc(sizeof(MemoryInfo)));
    if (!info) return;
    *info = MemoryInfo{++nextSerial_, address, size, file, line, live_};
    live_ = info;
    ++curCount_;
    ++totalCount_;
    curBytes_ += static_cast<long>(size);
    totalBytes_ += static_cast<long>(size);
    if (curBytes_ > peakBytes_) peakBytes_ = curBytes_;
    printEntry("<mem info> malloc", *info);
}

void MemoryInfoSet::removeInfo(void* address, bool keepFreed)
{
    for (MemoryInfo** link = &live_; *link; link = &(*link)->next) {
        MemoryInfo* info = *link;
        if (info->address != address) continue;
        *link = info->next;
        --curCount_;
        curBytes_ -= static_cast<long>(info->size);
        printEntry("           <mem info> free", *info);
        if (keepFreed) {
            info->next = freed_;
            freed_ = info;
        } else {
            std::free(info);
        }
        return;
    }
}

void MemoryInfoSet::reset()
{
    freeList(live_);
    freeList(freed_);
    curCount_ = totalCount_ = 0;
    curBytes_ = peakBytes_ = totalBytes_ = 0;
    nextSerial_ = 0;
}

}  // namespace mesh2d
