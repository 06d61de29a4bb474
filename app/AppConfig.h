#pragma once
// Deployment values compiled in from the build (hosts, bundle identity, keys),
// which command-line flags may override for one run.
#include <string>
#include <vector>

namespace app {

struct AppConfig {
    std::string appHost;        // the application host, "host[:port]" or a full "http(s)://host[:port]"
    std::string downloadHost;   // the download host, same forms
    // Further hosts whose pages may call native actions besides the
    // application host: "host[:port]" entries (an "http://" or "https://" in
    // front is allowed and does not matter), separated by ",". Empty: none.
    std::string pageHosts;
    std::string bundleName;
    std::string bundleVersion;
    std::string bundleIdentifier;
    std::string storeWebAddress;  // the store's web address, such as https://itunes.apple.com
    int storeAppId = 0;           // the application's numeric store identifier
    std::string secretKey;        // 16 ASCII digits: the cipher key of the identifiers
    std::string bundleDir;        // where the bundle's resources are ("" = the backend's)
    std::string homeDir;          // the app home ("" = the backend's)

    // "http://%@" of the host; a host given with its scheme is used as it is.
    std::string appBaseUrl() const;
    std::string downloadBaseUrl() const;
};

// The values this build was configured with.
AppConfig defaultAppConfig();

// Applies "--app-host=…", "--download-host=…", "--page-hosts=…",
// "--bundle-dir=…", "--home=…" and leaves other arguments in rest (in order).
// False, with a message in error, on a flag it knows but whose value is empty,
// or on a page-host entry that does not name one host.
bool applyCommandLine(const std::vector<std::string>& args, AppConfig& config, std::vector<std::string>& rest,
                      std::string& error);

}  // namespace app
