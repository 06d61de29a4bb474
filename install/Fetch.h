#pragma once
// The download host's fetches. Only a completed transfer with a 2xx status
// counts as an answer: an error page is "no response", never a version
// answer, a list, a picture or an archive.
#include <string>

#include "foundation/HttpRequest.h"

namespace RK {
class HttpResponse;
}

namespace install {

// downloadAF: a GET of url. Null when there is no usable answer; otherwise
// the response with one reference, which the caller releases.
RK::HttpResponse* downloadAF(const char* url);
// The same, stopped early (no response) once cancel turns true.
RK::HttpResponse* downloadAF(const char* url, const RK::HttpCancelFlag& cancel);

// A GET of url whose body streams into the file at path (replacing it), so
// memory stays small however large the body is. False, with no file left
// at path, when there is no usable answer or the file cannot be written.
bool downloadToFile(const std::string& url, const std::string& path, const RK::HttpCancelFlag& cancel = {});

}  // namespace install
