#pragma once
// System services of a headless run: URLs "opened outside the application"
// are recorded (nothing is launched), the network activity indicator is a
// recorded flag. Safe from any thread (the checking box toggles the
// indicator from a secondary thread).
#include <mutex>
#include <string>
#include <vector>

#include "platform/System.h"

namespace platform::headless {

class HeadlessSystem final : public System {
public:
    bool openUrl(const std::string& url) override;
    void setNetworkActivityIndicatorVisible(bool visible) override;
    bool networkActivityIndicatorVisible() const override;

    std::vector<std::string> openedUrls() const;
    // Every change of the indicator, in order (repeats of the same state too).
    std::vector<bool> indicatorHistory() const;
    // What openUrl answers (true unless told otherwise).
    void setOpenUrlResult(bool result);
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> opened_;
    std::vector<bool> indicator_;
    bool visible_ = false;
    bool openResult_ = true;
};

}  // namespace platform::headless
