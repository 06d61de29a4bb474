// The controller's page-callable actions ("webview" scheme). A page reaches
// exactly these rows and nothing else of the controller.
#include "app/MyWebViewController.h"

namespace app {

const ActionTable<MyWebViewController>& MyWebViewController::controllerActionTable() {
    using C = MyWebViewController;
    static const ActionTable<C> table({
        {"javascript_playBGM:", nullptr, &C::javascript_playBGM, {"name"}},
        {"javascript_stopBGM", &C::javascript_stopBGM, nullptr},
        {"javascript_playSE:", nullptr, &C::javascript_playSE, {"name"}},
        {"javascript_stopSE", &C::javascript_stopSE, nullptr},
        {"javascript_playVoice:", nullptr, &C::javascript_playVoice, {"data"}},
        {"javascript_stopVoice", &C::javascript_stopVoice, nullptr},
        {"javascript_volChange:", nullptr, &C::javascript_volChange},
        {"javascript_setFadeOut:", nullptr, &C::javascript_setFadeOut},
        {"javascript_setFadeIn:", nullptr, &C::javascript_setFadeIn},
        {"javascript_webviewBack", &C::javascript_webviewBack, nullptr},
        {"javascript_footerEnable:", nullptr, &C::javascript_footerEnable},
        {"javascript_footerEnableFlg:", nullptr, &C::javascript_footerEnableFlg},
        // A left-out "id" reads as 0 like any id without digits: the first button.
        {"javascript_footerImgFlg:", nullptr, &C::javascript_footerImgFlg},
        {"javascript_setFooterEventFlg:", nullptr, &C::javascript_setFooterEventFlg},
        {"javascript_changeFooterImgHomeChar:", nullptr, &C::javascript_changeFooterImgHomeChar},
        {"javascript_pushInfo:", nullptr, &C::javascript_pushInfo, {"cate", "time", "text"}},
        {"javascript_pushInfoCancel:", nullptr, &C::javascript_pushInfoCancel, {"cate"}},
        {"javascript_postTwitter:", nullptr, &C::javascript_postTwitter},
        {"javascript_imgSave:", nullptr, &C::javascript_imgSave, {"img_data"}},
    });
    return table;
}

}  // namespace app
