#pragma once
// The download host's fetches. Only a completed transfer with a 2xx status
// counts as an answer: an error page is "no response", never a version
// answer, a list, a picture or an archive.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <cstddef>
#include <string>

#include "foundation/HttpRequest.h"

namespace RK {
class HttpResponse;
}

namespace install {

// The largest bodies taken into memory, each far above what the download
// host really sends, so only a broken or hostile host ever reaches them; a
// longer body is no answer at all. Archives are streamed to disk instead.
//   version answer: "1,PELORA_ver01", a few bytes.
inline constexpr std::size_t kMaxVersionAnswer = 64 * 1024;
//   download list: about 25 bytes a line, so 8 MiB is some 300 000 lines,
//   several times the largest list the client is built for (100 000).
inline constexpr std::size_t kMaxDownloadList = 8u << 20;
//   loading-screen picture: one screen-sized JPEG, normally well under 1 MiB.
inline constexpr std::size_t kMaxLoadingPicture = 16u << 20;

// downloadAF: a GET of url whose body is at most maxBody bytes. Null when
// there is no usable answer (a longer body included); otherwise the
// response with one reference, which the caller releases. A transfer
// stops early (no response) once cancel turns true.
RK::HttpResponse* downloadAF(const char* url, std::size_t maxBody, const RK::HttpCancelFlag& cancel = nullptr);

// A GET of url whose body streams into the file at path (replacing it), so
// memory stays small however large the body is. False, with no file left
// at path, when there is no usable answer or the file cannot be written.
bool downloadToFile(const std::string& url, const std::string& path, const RK::HttpCancelFlag& cancel = {});

}  // namespace install
