// Drives the tmp and fixed holders and the ID tables with arbitrary bytes.
// Every live chunk is filled with a pattern and checked before it is freed;
// at the end every chunk is freed and, after Mesh2D::dispose, every page
// must be back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mesh2d/Mesh2D.h"
#include "mesh2d/id/ParamID.h"
#include "mesh2d/id/PartsDataID.h"
#include "mesh2d/memory/fixed/MemoryHolderFixed.h"
#include "mesh2d/memory/tmp/MemoryHolderTmp.h"
#include "mesh2d/type/StringRef.h"
#include "mesh2d/util/UtMemory.h"

namespace {

struct Chunk {
    unsigned char* ptr;
    size_t size;
    unsigned char fill;
};

void check(const Chunk& c)
{
    for (size_t i = 0; i < c.size; ++i) {
        if (c.ptr[i] != c.fill) std::abort();
    }
}

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool more() const { return pos_ < size_; }
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    size_t word() { return static_cast<size_t>(byte()) << 8 | byte(); }
    const char* bytes(size_t n, size_t* got)
    {
        *got = n < size_ - pos_ ? n : size_ - pos_;
        const char* p = reinterpret_cast<const char*>(data_ + pos_);
        pos_ += *got;
        return p;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace mesh2d;
    const int pagesBefore = UtMemory::getLivePageCount();
    Mesh2D::init();
    {
        MemoryHolderTmp tmp(0, "fuzz-tmp", AllocationMode::Paged);
        MemoryHolderFixed fixed(0, "fuzz-fixed", 1024, AllocationMode::Paged);
        std::vector<Chunk> live;
        std::vector<Chunk> kept;  // fixed chunks stay until the holder goes
        Input in(data, size);
        while (in.more()) {
            const uint8_t op = in.byte();
            switch (op % 4) {
            case 0: {
                const size_t n = in.word() % 6000;
                auto* p = static_cast<unsigned char*>(tmp.malloc(n, 4));
                if (!p) std::abort();
                const Chunk c{p, n, op};
                std::memset(p, c.fill, n);
                live.push_back(c);
                break;
            }
            case 1:
                if (!live.empty()) {
                    const size_t i = in.word() % live.size();
                    check(live[i]);
                    UtMemory::free(live[i].ptr);
                    live[i] = live.back();
                    live.pop_back();
                }
                break;
            case 2: {
                const size_t n = in.word() % 3000;
                auto* p = static_cast<unsigned char*>(fixed.malloc(n, 1 << (op >> 5)));
                if (!p) std::abort();
                const Chunk c{p, n, op};
                std::memset(p, c.fill, n);
                kept.push_back(c);
                break;
            }
            default: {
                size_t got = 0;
                const char* name = in.bytes(in.byte() % 40, &got);
                ParamID* a = ParamID::getID(StringRef(name, static_cast<int>(got)));
                ParamID* b = ParamID::getID(LDString(name, static_cast<int>(got)));
                if (!a || a != b || !(a->getName() == LDString(name, static_cast<int>(got)))) std::abort();
                if (static_cast<ID*>(PartsDataID::getID(a->getName())) == static_cast<ID*>(a)) std::abort();
                break;
            }
            }
        }
        for (const Chunk& c : live) {
            check(c);
            UtMemory::free(c.ptr);
        }
        for (const Chunk& c : kept) check(c);
        fixed.checkPageHeaders();
        tmp.clear();
    }
    Mesh2D::dispose();
    if (UtMemory::getLivePageCount() != pagesBefore) std::abort();
    return 0;
}
