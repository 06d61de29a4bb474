#pragma once
// Whether the page now shown may ask for native actions: only documents of
// the application host, or files of the bundle, are trusted.
#include <string_view>

namespace app {

// appBaseUrl is "http://host[:port]" (or https); the document must match its
// scheme, host (case-insensitive) and port. bundleDir is an absolute path;
// "file://" documents must lie inside it.
bool isTrustedDocument(std::string_view documentUrl, std::string_view appBaseUrl, std::string_view bundleDir);

}  // namespace app
