#pragma once
// A modal alert with a title, a message and buttons (the client uses one),
// a tag that tells its answer apart, and a delegate told which button was
// tapped. show() hands it to the backend's windowing, which keeps it on
// screen until a button is tapped.
#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class Alert;

class AlertDelegate {
public:
    virtual ~AlertDelegate() = default;
    virtual void alertClickedButtonAtIndex(Alert& alert, int buttonIndex) = 0;
};

class Alert : public std::enable_shared_from_this<Alert> {
public:
    // Make with std::make_shared. The delegate is not owned and may be null.
    Alert(std::string title, std::string message, AlertDelegate* delegate, std::vector<std::string> buttons);

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    const std::vector<std::string>& buttons() const { return buttons_; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    AlertDelegate* delegate() const { return delegate_; }
    void setDelegate(AlertDelegate* d) { delegate_ = d; }

    // Presents it through the installed backend; false without one.
    bool show();
    bool isVisible() const { return visible_; }

    // A tap on a button: the alert leaves the screen, then the delegate hears
    // of it. False (nothing happens) when it is not on screen or the index
    // names no button.
    bool tapButton(int buttonIndex);

    // For windowing implementations.
    void setVisible(bool visible) { visible_ = visible; }

private:
    std::string title_;
    std::string message_;
    AlertDelegate* delegate_;
    std::vector<std::string> buttons_;
    int tag_ = 0;
    bool visible_ = false;
};

}  // namespace platform::ui
