#include "app/SettingsKeys.h"

namespace app {

void registerSettingsDefaults(platform::Preferences& prefs) {
    prefs.registerDefaults({
        {kKeyDlResetFlg, 0.0},
        {kKeyVoiceDlKey, 0.0},
        {kKeyBgmVal, 0.5},
        {kKeySeVal, 0.5},
        {kKeyVoiceVal, 1.0},
        {kKeyDownloadFirst, 1.0},
    });
}

}  // namespace app
