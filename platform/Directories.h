#pragma once
// The standard directories of the one app home the client may write to,
// plus the read-only resource directory of the bundle.
#include <string>

namespace platform {

class Directories {
public:
    virtual ~Directories() = default;
    virtual std::string home() const = 0;       // app home root
    virtual std::string bundle() const = 0;     // the bundle's resource directory (read-only)
    virtual std::string documents() const = 0;  // <home>/Documents
    virtual std::string caches() const = 0;     // <home>/Library/Caches
    virtual std::string temporary() const = 0;  // <home>/tmp
};

}  // namespace platform
