#include "install/VersionCheck.h"

#include <vector>

#include "foundation/HttpResponse.h"
#include "foundation/Strings.h"
#include "install/Fetch.h"
#include "platform/Log.h"

namespace install {

std::string versionCheckUrl(const std::string& downloadHost) { return downloadHost + "/app_version.php"; }

VersionOutcome versionOutcomeForBody(const std::string& body) {
    const std::vector<std::string> fields = RK::split(std::string(body.c_str()), ",");
    if (!fields.empty() && fields[0] == "2") return VersionOutcome::OpenPageHost;
    if (fields.size() < 2) {
        platform::log("version check: answer without a version field");
        return VersionOutcome::NoResponse;
    }
    return fields[1] == kClientVersion ? VersionOutcome::Current : VersionOutcome::UpdateRequired;
}

VersionOutcome versionOutcomeFor(const RK::HttpResponse* response) {
    if (response == nullptr) return VersionOutcome::NoResponse;
    return versionOutcomeForBody(response->bodyString());
}

VersionOutcome checkVersion(const std::string& downloadHost) {
    RK::HttpResponse* response = downloadAF(versionCheckUrl(downloadHost).c_str(), kMaxVersionAnswer);
    const VersionOutcome outcome = versionOutcomeFor(response);
    if (response != nullptr) response->release();
    return outcome;
}

}  // namespace install
