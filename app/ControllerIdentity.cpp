// The enciphered identifiers the client sends: the settings UUID and the
// keychain-kept installation identifier, each as Base64 of its AES cipher.
#include "app/Base64.h"
#include "app/InstallationIdentifier.h"
#include "app/MyWebViewController.h"
#include "app/SecKeyWrapper.h"

namespace app {

std::string MyWebViewController::encipheredField(const std::string& source) const {
    if (source.empty()) return {};
    Bytes cipher = SecKeyWrapper::doCipher(source, config_.secretKey, kCCEncrypt);
    if (cipher.empty()) return {};
    return dataEncodedWithBase64(cipher);
}

std::string MyWebViewController::installationIdentifier() const {
    return uniqueInstallationIdentifier(config_.bundleIdentifier).value_or("");
}

}  // namespace app
