#include "app/AvatarView.h"

#include "platform/Log.h"

namespace app {

const ActionTable<AvatarView>& avatarActionTable() {
    static const ActionTable<AvatarView> table({
        {"load:", nullptr, &AvatarView::load},
        {"change:", nullptr, &AvatarView::change},
        {"motion:", nullptr, &AvatarView::motion},
        {"switchState:", nullptr, &AvatarView::switchState},
        {"cache:", nullptr, &AvatarView::cache},
        {"pause", &AvatarView::pause, nullptr},
        {"resume", &AvatarView::resume, nullptr},
    });
    return table;
}

namespace {

class PlaceholderAvatarView final : public AvatarView {
public:
    explicit PlaceholderAvatarView(platform::ui::Rect frame) : view_(std::make_shared<platform::ui::View>(frame)) {}

    std::shared_ptr<platform::ui::View> view() override { return view_; }
    void setDelegate(AvatarViewDelegate*) override {}
    int enable() const override { return 0; }
    int avatarType() const override { return 0; }
    int page() const override { return page_; }
    void setPage(int page) override { page_ = page; }
    int loadResult() const override { return 0; }
    void pause() override {}
    void resume() override {}
    void load(const Query&) override { platform::log("avatar: load: ignored, no avatar view is built in"); }
    void change(const Query&) override { platform::log("avatar: change: ignored, no avatar view is built in"); }
    void motion(const Query&) override { platform::log("avatar: motion: ignored, no avatar view is built in"); }
    void switchState(const Query&) override {
        platform::log("avatar: switchState: ignored, no avatar view is built in");
    }
    void cache(const Query&) override { platform::log("avatar: cache: ignored, no avatar view is built in"); }

private:
    std::shared_ptr<platform::ui::View> view_;
    int page_ = 0;
};

}  // namespace

std::unique_ptr<AvatarView> makePlaceholderAvatarView(platform::ui::Rect frame) {
    return std::make_unique<PlaceholderAvatarView>(frame);
}

}  // namespace app
