#pragma once
// The version check: whether this build of the client is still current.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <string>

namespace RK {
class HttpResponse;
}

namespace install {

// The version this build answers to.
inline constexpr const char* kClientVersion = "PELORA_ver01";

enum class VersionOutcome {
    NoResponse,      // no usable answer: the communication alert (tag 4)
    OpenPageHost,    // first field "2": straight to the game's pages
    UpdateRequired,  // another version is current: the update alert (tag 3)
    Current,         // this build is current: the title goes on
};

// "<host>/app_version.php".
std::string versionCheckUrl(const std::string& downloadHost);

// The outcome of an answer body ("2", or "<flag>,<version>"). A body
// without a second field says nothing about the version and counts as no
// response.
VersionOutcome versionOutcomeForBody(const std::string& body);
// The same for a fetched response; null is no response.
VersionOutcome versionOutcomeFor(const RK::HttpResponse* response);

// Fetches and judges the answer (blocks for up to the HTTP time limits).
VersionOutcome checkVersion(const std::string& downloadHost);

}  // namespace install
