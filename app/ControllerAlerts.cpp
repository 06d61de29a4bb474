// The controller's one-button alerts and what each tag's button does.
#include "app/MyWebViewController.h"
#include "app/Services.h"
#include "platform/Log.h"

namespace app {
namespace {

struct AlertText {
    int tag;
    const char* title;
    const char* message;
    const char* button;
};

constexpr const char* kFailedTitle = "※通信に失敗しました※";
constexpr const char* kFailedMessage = "通信の状態を確認し、電波の状態が良いところでもう一度お試しください";

constexpr AlertText kAlerts[] = {
    {kAlertLoadFailed, kFailedTitle, kFailedMessage, "マイページへ"},
    {kAlertUpdate, "※アップデート※", "最新版が公開されています\nバージョンアップしてください", "更新"},
    {kAlertVersionCheckFailed, kFailedTitle, kFailedMessage, "TOPへ"},
    {kAlertDownloadFailed, kFailedTitle, kFailedMessage, "TOPへ"},
};

}  // namespace

void MyWebViewController::showAlert(int tag) {
    const AlertText* text = nullptr;
    for (const auto& row : kAlerts) {
        if (row.tag == tag) text = &row;
    }
    if (!text) {
        platform::log("controller: no alert with tag %d", tag);
        return;
    }
    auto alert = std::make_shared<platform::ui::Alert>(text->title, text->message, this,
                                                       std::vector<std::string>{text->button});
    alert->setTag(tag);
    alerts_.push_back(alert);
    if (!alert->show()) platform::log("controller: alert %d could not be shown", tag);
}

void MyWebViewController::alertClickedButtonAtIndex(platform::ui::Alert& alert, int) {
    int tag = alert.tag();
    // The alert is still inside its own tap: release our hold on it later.
    for (auto it = alerts_.begin(); it != alerts_.end(); ++it) {
        if (it->get() != &alert) continue;
        std::shared_ptr<platform::ui::Alert> keep = std::move(*it);
        alerts_.erase(it);
        services::mainLoop().post([keep] {});
        break;
    }
    switch (tag) {
        case kAlertLoadFailed:
            setHome();
            return;
        case kAlertUpdate:
            openOutside(config_.storeWebAddress + "/WebObjects/MZStore.woa/wa/viewSoftware?id=" +
                        std::to_string(config_.storeAppId) + "&mt=8");
            [[fallthrough]];
        case kAlertVersionCheckFailed:
        case kAlertDownloadFailed:
            _farstViewInitState = 0;
            _fadeStart = false;
            restartTitleFlow();
            return;
        default:
            return;  // untagged alerts have no answer
    }
}

}  // namespace app
