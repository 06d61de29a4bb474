#pragma once
// Address arithmetic shared by the holders.
#include <cstdint>

namespace mesh2d {

inline char* alignUp(char* p, int align)
{
    const auto a = static_cast<std::uintptr_t>(align);
    const auto v = reinterpret_cast<std::uintptr_t>(p);
    return p + ((a - v % a) % a);
}

inline bool isAligned(const void* p, int align)
{
    return reinterpret_cast<std::uintptr_t>(p) % static_cast<std::uintptr_t>(align) == 0;
}

}  // namespace mesh2d
