#include "platform/headless/HeadlessSystem.h"

#include "platform/Log.h"

namespace platform::headless {

bool HeadlessSystem::openUrl(const std::string& url) {
    std::lock_guard lock(mutex_);
    opened_.push_back(url);
    log("System: open outside the application: %s", url.c_str());
    return openResult_;
}

void HeadlessSystem::setNetworkActivityIndicatorVisible(bool visible) {
    std::lock_guard lock(mutex_);
    visible_ = visible;
    indicator_.push_back(visible);
}

bool HeadlessSystem::networkActivityIndicatorVisible() const {
    std::lock_guard lock(mutex_);
    return visible_;
}

std::vector<std::string> HeadlessSystem::openedUrls() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

std::vector<bool> HeadlessSystem::indicatorHistory() const {
    std::lock_guard lock(mutex_);
    return indicator_;
}

void HeadlessSystem::setOpenUrlResult(bool result) {
    std::lock_guard lock(mutex_);
    openResult_ = result;
}

void HeadlessSystem::clear() {
    std::lock_guard lock(mutex_);
    opened_.clear();
    indicator_.clear();
}

}  // namespace platform::headless
