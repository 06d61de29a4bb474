#pragma once
// The runtime's string: an owned, 0-terminated byte buffer with a cached hash.
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/StringRef.h"

namespace mesh2d {

class LDString : public LDObject {
public:
    LDString();
    LDString(const char* s, MemoryParam* param = nullptr);
    LDString(const LDString& other);
    LDString(const LDString& other, MemoryParam* param);
    LDString(const char* bytes, int length, MemoryParam* param = nullptr);
    LDString(const StringRef& ref, MemoryParam* param = nullptr);
    // Adopts `buffer` (length bytes followed by a 0 byte, allocated in `param`)
    // when takeOver is 1, copies it otherwise.
    LDString(char* buffer, int length, MemoryParam* param, int takeOver);
    ~LDString() override;

    LDString& operator=(const char* s);
    LDString& operator=(const LDString& other);

    bool operator==(const LDString& other) const;
    bool operator==(const char* s) const;
    bool operator!=(const LDString& other) const { return !(*this == other); }
    bool operator!=(const char* s) const { return !(*this == s); }

    // The joined bytes as a new string in the tmp holder.
    LDString operator+(const LDString& other) const;
    LDString operator+(const char* s) const;

    void clear();

    // Never null: the empty string gives "".
    const char* c_str() const { return buffer_ ? buffer_ : ""; }
    int length() const { return length_; }
    int getHashcode() const { return hash_; }
    int getSerial() const { return serial_; }
    bool empty() const { return length_ == 0; }
    MemoryParam* getMemoryParam() const { return param_; }

    // Hash over the bytes taken as signed values: h = c[i] + 31·h from the
    // last byte to the first; -1 is reserved for the empty string.
    static int calcHash(const char* bytes, int length);

private:
    void copyFrom(const char* bytes, int length);
    void release();

    char* buffer_ = nullptr;
    int length_ = 0;
    int hash_ = -1;
    int serial_;
    MemoryParam* param_ = nullptr;
};

}  // namespace mesh2d
