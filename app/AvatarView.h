#pragma once
// What the controller needs of the avatar view: its on-screen view, the four
// visibility fields, pause/resume and the bridge actions a page may call.
// The avatar subsystem supplies the implementation through a factory; until
// it is installed the controller makes a placeholder that only logs.
#include <functional>
#include <memory>

#include "app/bridge/ActionTable.h"
#include "app/bridge/Query.h"
#include "platform/ui/View.h"

namespace app {

// The controller answers the view's load reports (main thread).
class AvatarViewDelegate {
public:
    virtual ~AvatarViewDelegate() = default;
    virtual void mesh2dDidStartLoad() = 0;
    virtual void mesh2dDidFinishLoad() = 0;
};

class AvatarView {
public:
    virtual ~AvatarView() = default;

    virtual std::shared_ptr<platform::ui::View> view() = 0;
    virtual void setDelegate(AvatarViewDelegate* delegate) = 0;  // not owned

    virtual int enable() const = 0;
    virtual int avatarType() const = 0;
    virtual int page() const = 0;
    virtual void setPage(int page) = 0;
    virtual int loadResult() const = 0;

    virtual void pause() = 0;
    virtual void resume() = 0;

    // Bridge actions ("mesh2d" scheme).
    virtual void load(const Query& query) = 0;
    virtual void change(const Query& query) = 0;
    virtual void motion(const Query& query) = 0;
    virtual void switchState(const Query& query) = 0;
    virtual void cache(const Query& query) = 0;
};

using AvatarViewFactory = std::function<std::unique_ptr<AvatarView>(platform::ui::Rect frame)>;

// The avatar view's bridge actions: load:, change:, motion:, switchState:,
// cache:, pause, resume.
const ActionTable<AvatarView>& avatarActionTable();

// A view that draws nothing and logs each action it is asked for; used while
// no avatar implementation is installed.
std::unique_ptr<AvatarView> makePlaceholderAvatarView(platform::ui::Rect frame);

}  // namespace app
