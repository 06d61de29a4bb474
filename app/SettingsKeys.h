#pragma once
// The persisted settings table and the deployment identifiers of the
// tracking services.
#include "platform/Preferences.h"

namespace app {

inline constexpr const char* kKeyBgmVal = "BGM_VAL";
inline constexpr const char* kKeySeVal = "SE_VAL";
inline constexpr const char* kKeyVoiceVal = "VOICE_VAL";
inline constexpr const char* kKeyDownloadFirst = "DOWNLOAD_FIRST";
inline constexpr const char* kKeyDlResetFlg = "DL_RESET_FLG";
inline constexpr const char* kKeyVoiceDlKey = "VOICE_DL_KEY";
inline constexpr const char* kKeyUuid = "KEY_UUID";
inline constexpr const char* kKeyFirstStarted = "FIRST_STARTED";
inline constexpr const char* kKeyPaymentUrl = "PAYMENT_URL";
inline constexpr const char* kKeyPaymentPrm = "PAYMENT_PRM";

// The six registered defaults; the other four keys start absent.
void registerSettingsDefaults(platform::Preferences& prefs);

// The application's own URL scheme.
inline constexpr const char* kAppUrlScheme = "tarvel-pelora-browser";
// Tracking-service identifiers of this deployment.
inline constexpr const char* kAdConversionAccount = "20150001";
inline constexpr const char* kInstallAttributionAppId = "31001";
inline constexpr const char* kInstallAttributionKey = "5f0e2a9c7b1d4e3fa8c6b2d1e0f9a7c3";
inline constexpr const char* kAppEventsAppId = "100000000000001";
inline constexpr const char* kFirstLaunchEvent = "first_app_launchar";

}  // namespace app
