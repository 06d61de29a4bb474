#pragma once
// Base of the page headers. Every chunk is preceded by a 32-bit word holding
// the distance back to its page header, so UtMemory::free finds the header
// (and through it the holder) from the pointer alone.
namespace mesh2d {

class APageHeader {
public:
    virtual void free(void* ptr) = 0;

protected:
    APageHeader() = default;
    ~APageHeader() = default;  // headers live in raw pages and are never deleted
};

}  // namespace mesh2d
