#pragma once
// A fresh, empty app home for one test: a new directory under $TMPDIR (or
// /tmp), removed with everything in it when the object goes away.
#include <string>

namespace platform::headless {

class TemporaryHome {
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    // Empty when the directory could not be made.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace platform::headless
