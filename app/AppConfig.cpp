#include "app/AppConfig.h"

#include "app/AppBuildConfig.h"
#include "app/bridge/Origin.h"

namespace app {
namespace {

std::string baseUrlOf(const std::string& host) {
    if (host.rfind("http://", 0) == 0 || host.rfind("https://", 0) == 0) {
        std::string base = host;
        while (!base.empty() && base.back() == '/') base.pop_back();
        return base;
    }
    return "http://" + host;
}

// Empty when every entry names one host; else the first that does not.
std::string badPageHost(const std::string& list) {
    for (const auto& entry : splitHostList(list)) {
        if (!parseHostEntry(entry)) return entry;
    }
    return "";
}

struct Flag {
    const char* prefix;
    std::string AppConfig::*field;
    bool hostList = false;
};

const Flag kFlags[] = {
    {"--app-host=", &AppConfig::appHost},
    {"--download-host=", &AppConfig::downloadHost},
    {"--page-hosts=", &AppConfig::pageHosts, true},
    {"--bundle-dir=", &AppConfig::bundleDir},
    {"--home=", &AppConfig::homeDir},
};

}  // namespace

std::string AppConfig::appBaseUrl() const { return baseUrlOf(appHost); }
std::string AppConfig::downloadBaseUrl() const { return baseUrlOf(downloadHost); }

AppConfig defaultAppConfig() {
    AppConfig c;
    c.appHost = PELORA_BUILD_APP_HOST;
    c.downloadHost = PELORA_BUILD_DOWNLOAD_HOST;
    c.pageHosts = PELORA_BUILD_PAGE_HOSTS;
    c.bundleName = PELORA_BUILD_BUNDLE_NAME;
    c.bundleVersion = PELORA_BUILD_BUNDLE_VERSION;
    c.bundleIdentifier = PELORA_BUILD_BUNDLE_IDENTIFIER;
    c.storeWebAddress = PELORA_BUILD_STORE_WEB_ADDRESS;
    c.storeAppId = PELORA_BUILD_STORE_APP_ID;
    c.secretKey = PELORA_BUILD_SECRET_KEY;
    c.bundleDir = PELORA_BUILD_BUNDLE_DIR;
    return c;
}

bool applyCommandLine(const std::vector<std::string>& args, AppConfig& config, std::vector<std::string>& rest,
                      std::string& error) {
    for (const auto& arg : args) {
        bool matched = false;
        for (const auto& flag : kFlags) {
            std::string prefix = flag.prefix;
            if (arg.rfind(prefix, 0) != 0) continue;
            std::string value = arg.substr(prefix.size());
            if (value.empty()) {
                error = "empty value for " + prefix.substr(0, prefix.size() - 1);
                return false;
            }
            if (flag.hostList) {
                std::string bad = badPageHost(value);
                if (!bad.empty()) {
                    error = "bad host \"" + bad + "\" in " + prefix.substr(0, prefix.size() - 1);
                    return false;
                }
            }
            config.*(flag.field) = value;
            matched = true;
            break;
        }
        if (!matched) rest.push_back(arg);
    }
    return true;
}

}  // namespace app
