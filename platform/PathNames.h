#pragma once
// Names that arrive from pages, download lists and archives are joined onto
// a directory of the app home or the bundle. A ".." component would let such
// a name reach outside that directory, wherever it stands in the name.
#include <string_view>

namespace platform {

// True when one of the name's "/"-separated components is exactly "..".
bool hasParentComponent(std::string_view name);

}  // namespace platform
