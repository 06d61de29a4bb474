#include "app/UserAgent.h"

#include "app/InstallationIdentifier.h"

namespace app {

std::string formatUserAgent(const UserAgentFields& f) {
    return f.bundleName + "/" + f.bundleVersion + "(" + f.hardwareModel + "; " + f.systemName + " " +
           f.systemVersion + ")/TARVEL_UA/iPhone/" + kProductToken + ":" + f.encipheredUuid + ":" +
           f.encipheredInstallId;
}

std::string createUUID() { return makeRandomUuid(); }

}  // namespace app
