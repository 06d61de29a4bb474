#pragma once
// Application-wide services of the system shell: opening an URL outside the
// application and the status-bar network activity indicator.
#include <string>

namespace platform {

class System {
public:
    virtual ~System() = default;
    // Hands the URL to the desktop's handler; false when none takes it.
    virtual bool openUrl(const std::string& url) = 0;
    virtual void setNetworkActivityIndicatorVisible(bool visible) = 0;
    virtual bool networkActivityIndicatorVisible() const = 0;
};

}  // namespace platform
