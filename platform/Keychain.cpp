#include "platform/Keychain.h"

namespace platform {

// Shaped like the phone's dictionary description, kept on one log line.
std::string describe(const KeychainQuery& query) {
    return "{acct = \"" + query.account + "\"; class = " + query.itemClass + "; gena = \"" + query.generic +
           "\"; svce = \"" + query.service + "\";}";
}

}  // namespace platform
