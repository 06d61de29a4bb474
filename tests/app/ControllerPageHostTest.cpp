// The game screen: layout per screen size, avatar views, page loads, alerts,
// the user agent and the Documents files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/SettingsKeys.h"
#include "install/CGView.h"
#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

struct ScreenCase {
    double w, h;
    platform::ui::Rect page;
    double footerTop;
    bool fixedFooterSize;
};

class PageLayoutOnScreen : public ControllerFixture, public ::testing::WithParamInterface<ScreenCase> {
protected:
    PageLayoutOnScreen() : ControllerFixture({GetParam().w, GetParam().h}) {}
};

TEST_P(PageLayoutOnScreen, WebViewAvatarAndFooter) {
    const ScreenCase& c = GetParam();
    openGameScreen();
    auto near = [](const platform::ui::Rect& a, const platform::ui::Rect& b) {
        return std::abs(a.x() - b.x()) < 0.01 && std::abs(a.y() - b.y()) < 0.01 &&
               std::abs(a.width() - b.width()) < 0.01 && std::abs(a.height() - b.height()) < 0.01;
    };
    EXPECT_TRUE(near(controller->outlets()._webView->frame(), c.page));
    ASSERT_NE(avatar(), nullptr);
    EXPECT_TRUE(near(avatar()->view()->frame(), c.page));
    EXPECT_NEAR(controller->outlets()._imageFooter->frame().y(), c.footerTop, 0.01);
    for (auto* b : {controller->outlets()._btnFooterReturn.get(), controller->outlets()._btnFooterMenu.get()}) {
        EXPECT_NEAR(b->frame().y(), c.footerTop, 0.01);
        if (c.fixedFooterSize) {
            EXPECT_EQ(b->frame().size, (platform::ui::Size{53, 53}));
        }
    }
    if (c.fixedFooterSize) {
        EXPECT_EQ(controller->outlets()._imageFooter->frame().size, (platform::ui::Size{320, 53}));
    }
    EXPECT_FALSE(controller->outlets()._webView->isOpaque());
}

INSTANTIATE_TEST_SUITE_P(Screens, PageLayoutOnScreen,
                         ::testing::Values(ScreenCase{320, 568, {0, 44, 320, 427}, 471, true},
                                           ScreenCase{320, 480, {0, 0, 320, 427}, 427, false},
                                           ScreenCase{768, 1024, {42.67, 0, 682.67, 910.93}, 910.93, false}));

using PageHostTest = ControllerFixture;

TEST_F(PageHostTest, GameScreenShowsThePageAreaAndLoadsHome) {
    launch();
    auto screen = std::make_shared<CGView>(controller->outlets()._viewContents->frame());
    controller->outlets()._viewContents->addSubview(screen);
    controller->setViewDraw(screen);
    controller->_viewDrawAddFlg = true;
    controller->_footerEnable = true;
    controller->_footerEventFlg[2] = true;

    controller->webviewInit("");
    EXPECT_EQ(screen->superview(), nullptr);
    EXPECT_EQ(controller->viewDraw(), nullptr);
    EXPECT_FALSE(controller->_viewDrawAddFlg);
    EXPECT_TRUE(controller->outlets()._imageTitle->isHidden());
    EXPECT_TRUE(controller->outlets()._btnTitleHikitsugi->isHidden());
    EXPECT_FALSE(controller->outlets()._webView->isHidden());
    EXPECT_FALSE(controller->outlets()._btnFooterShop->isHidden());
    EXPECT_FALSE(controller->_footerEnable);
    EXPECT_FALSE(controller->_footerEventFlg[2]);
    ASSERT_EQ(web()->loadedRequests().size(), 1u);
    EXPECT_EQ(web()->loadedRequests()[0].url, appBase() + "/");
    EXPECT_EQ(controller->_con_url, appBase());
    // The avatar view sits at index 8, right behind the web view.
    const auto& subviews = controller->view()->subviews();
    ASSERT_GT(subviews.size(), 9u);
    EXPECT_EQ(subviews[8], avatar()->view());
    EXPECT_EQ(subviews[9], controller->outlets()._webView);
    EXPECT_EQ(avatar()->view()->tag(), kTagAvatarView);
    EXPECT_EQ(avatar()->delegate, controller);

    controller->webviewInit(appBase() + "/event.php");
    EXPECT_EQ(web()->loadedRequests().back().url, appBase() + "/event.php");
}

TEST_F(PageHostTest, ASecondGameScreenRetiresThePreviousAvatarView) {
    openGameScreen();
    FakeAvatarView* first = avatar();
    std::weak_ptr<platform::ui::View> firstView = first->view();
    std::vector<std::string> journal;
    first->mirror = &journal;
    controller->webviewInit("");
    ASSERT_EQ(avatars.size(), 2u);
    EXPECT_EQ(journal, (std::vector<std::string>{"pause", "destroyed"}));
    EXPECT_TRUE(firstView.expired());  // removed from the tree and released
    int tagged = 0;
    for (const auto& v : controller->view()->subviews()) tagged += v->tag() == kTagAvatarView;
    EXPECT_EQ(tagged, 1);
}

TEST_F(PageHostTest, LoadFailuresAndTheirAlert) {
    openGameScreen();
    struct {
        int code;
        bool alert;
    } cases[] = {{platform::WebError::kCancelled, false},
                 {platform::WebError::kFrameLoadInterrupted, false},
                 {platform::WebError::kNotConnectedToInternet, true},
                 {platform::WebError::kTimedOut, true}};
    for (const auto& c : cases) {
        controller->viewNextUrl(appBase() + "/page.php");
        EXPECT_FALSE(controller->outlets()._activityIndicator->isHidden());
        web()->failLoad(c.code);
        EXPECT_TRUE(controller->outlets()._activityIndicator->isHidden());
        auto alerts = windowing().visibleAlerts();
        EXPECT_EQ(alerts.size(), c.alert ? 1u : 0u) << c.code;
        if (alerts.empty()) continue;
        EXPECT_EQ(alerts[0]->tag(), kAlertLoadFailed);
        EXPECT_EQ(alerts[0]->title(), "※通信に失敗しました※");
        EXPECT_EQ(alerts[0]->message(), "通信の状態を確認し、電波の状態が良いところでもう一度お試しください");
        EXPECT_EQ(alerts[0]->buttons(), std::vector<std::string>{"マイページへ"});
        web()->clearRecords();
        ASSERT_TRUE(windowing().tapFrontAlert(0));
        ASSERT_EQ(web()->loadedRequests().size(), 1u);
        EXPECT_EQ(web()->loadedRequests()[0].url, appBase() + "/");
        web()->finishLoad();
    }
}

TEST_F(PageHostTest, StartUpAlertsRestartTheFlow) {
    launch();
    struct {
        int tag;
        const char* title;
        const char* button;
        bool opensStore;
    } cases[] = {{kAlertUpdate, "※アップデート※", "更新", true},
                 {kAlertVersionCheckFailed, "※通信に失敗しました※", "TOPへ", false},
                 {kAlertDownloadFailed, "※通信に失敗しました※", "TOPへ", false}};
    for (const auto& c : cases) {
        system().clear();
        int starts = controller->titleFlowStarts();
        controller->_farstViewInitState = 1;
        controller->_fadeStart = true;
        controller->outlets()._imageTitle->setImage(nullptr);
        controller->showAlert(c.tag);
        auto alerts = windowing().visibleAlerts();
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0]->title(), c.title);
        EXPECT_EQ(alerts[0]->buttons(), std::vector<std::string>{c.button});
        ASSERT_TRUE(windowing().tapFrontAlert(0));
        EXPECT_EQ(controller->_farstViewInitState, 0);
        // Cleared first, so loadApp put the maker logo up again (and marked it shown).
        EXPECT_NE(controller->outlets()._imageTitle->image(), nullptr);
        EXPECT_TRUE(controller->_fadeStart);
        EXPECT_EQ(controller->titleFlowStarts(), starts + 1);
        std::vector<std::string> store;
        if (c.opensStore) store = {"https://itunes.apple.com/WebObjects/MZStore.woa/wa/viewSoftware?id=900000001&mt=8"};
        EXPECT_EQ(system().openedUrls(), store);
    }
    EXPECT_EQ(windowing().alertHistory()[0]->message(), "最新版が公開されています\nバージョンアップしてください");
}

TEST_F(PageHostTest, FinishedPageWithoutAvatarHidesIt) {
    openGameScreen();
    web()->setScriptAnswerer([](const std::string& s) { return s == "apl_getSessionID();" ? "sess-42" : ""; });
    avatar()->page_ = 1;
    avatar()->calls.clear();
    controller->viewNextUrl(appBase() + "/plain.php");
    web()->finishLoad();
    run(10);
    EXPECT_EQ(avatar()->page_, 0);
    EXPECT_EQ(avatar()->calls, std::vector<std::string>{"pause"});
    EXPECT_EQ(controller->outlets()._webView->backgroundColor(), platform::ui::Color::white());
    EXPECT_EQ(controller->_session_id, "sess-42");
    EXPECT_TRUE(controller->outlets()._activityIndicator->isHidden());
    EXPECT_FALSE(system().networkActivityIndicatorVisible());
    EXPECT_TRUE(controller->outlets()._btnFooterGacha->isUserInteractionEnabled());

    // A page that starts the avatar during its load keeps it.
    avatar()->enable_ = avatar()->type_ = avatar()->page_ = 1;
    avatar()->calls.clear();
    controller->viewNextUrl(appBase() + "/room.php");
    controller->mesh2dDidStartLoad();
    web()->finishLoad();
    EXPECT_EQ(avatar()->page_, 1);
    EXPECT_EQ(avatar()->calls, std::vector<std::string>{"resume"});
    EXPECT_EQ(controller->outlets()._webView->backgroundColor(), platform::ui::Color::clear());
    EXPECT_EQ(controller->_mesh2dControl, 0);
}

TEST_F(PageHostTest, WithoutAnAvatarViewPagesStillGetTheWhiteBackground) {
    controller->setAvatarViewFactory([](platform::ui::Rect) { return std::unique_ptr<AvatarView>(); });
    openGameScreen();
    EXPECT_EQ(controller->_glView, nullptr);
    EXPECT_EQ(controller->outlets()._webView->backgroundColor(), platform::ui::Color::white());
    logs.clear();
    EXPECT_FALSE(navigate("mesh2d://motion?number=1"));
    EXPECT_TRUE(logs.contains("before the avatar view exists"));
    controller->mesh2dDidStartLoad();  // a stray report changes nothing but the flag
    EXPECT_EQ(controller->_mesh2dControl, 1);
}

TEST_F(PageHostTest, AvatarCallbacksFollowTheFourFields) {
    openGameScreen();
    struct {
        int enable, type, page, result;
        const char* startScript;
        const char* startCall;
        const char* finishScript;
        const char* finishCall;
    } cases[] = {
        {1, 1, 1, 1, "mesh2d_enableCallback(1);", "resume", "mesh2d_loadCallback(1);", "resume"},
        {1, 1, 1, 0, "mesh2d_enableCallback(1);", "resume", "mesh2d_loadCallback(0);", "pause"},
        {0, 1, 1, 1, "mesh2d_enableCallback(0);", "pause", "mesh2d_loadCallback(0);", "pause"},
        {1, 2, 1, 1, "mesh2d_enableCallback(1);", "resume", "mesh2d_loadCallback(1);", "resume"},
        {1, 1, 0, 1, "mesh2d_enableCallback(0);", "pause", "mesh2d_loadCallback(0);", "pause"},
        {1, 0, 1, 1, "mesh2d_enableCallback(0);", "pause", "mesh2d_loadCallback(0);", "pause"},
    };
    for (const auto& c : cases) {
        FakeAvatarView* a = avatar();
        a->enable_ = c.enable;
        a->type_ = c.type;
        a->page_ = c.page;
        a->result_ = c.result;
        a->calls.clear();
        web()->clearRecords();
        controller->mesh2dDidStartLoad();
        EXPECT_EQ(controller->_mesh2dControl, 1);
        controller->mesh2dDidFinishLoad();
        EXPECT_EQ(scripts(), (std::vector<std::string>{c.startScript, c.finishScript}));
        EXPECT_EQ(a->calls, (std::vector<std::string>{c.startCall, c.finishCall}));
    }
}

TEST_F(PageHostTest, UserAgentCarriesBuildDeviceAndEncipheredIds) {
    launch();
    auto& device = backend->device();
    std::string head = controller->config().bundleName + "/" + controller->config().bundleVersion + "(" +
                       device.machine() + "; " + device.systemName() + " " + device.systemVersion() +
                       ")/TARVEL_UA/iPhone/PELORA_ver01:";
    std::string ua = controller->userAgentString();
    EXPECT_EQ(ua.rfind(head, 0), 0u) << ua;
    // Both identifiers are present: two Base64 fields of whole 4-character groups.
    std::string tail = ua.substr(head.size());
    std::size_t colon = tail.find(':');
    ASSERT_NE(colon, std::string::npos);
    EXPECT_EQ(colon % 4, 0u);
    EXPECT_GT(colon, 0u);
    EXPECT_EQ((tail.size() - colon - 1) % 4, 0u);

    // Without a UUID its field is empty; the installation identifier stays.
    restart();
    prefs().removeObjectForKey(kKeyUuid);
    std::string bare = controller->userAgentString();
    EXPECT_NE(bare.find("/iPhone/PELORA_ver01::"), std::string::npos) << bare;
    EXPECT_EQ(bare.substr(bare.rfind(':') + 1), tail.substr(colon + 1));
}

TEST_F(PageHostTest, DocumentsFilesAreAtomicAndStayInDocuments) {
    launch();
    std::string docs = backend->directories().documents();
    EXPECT_TRUE(controller->dataToFile("state.bin", {1, 2, 3}));
    controller->stringToFile("note.txt", "ありがとう");
    std::ifstream in(docs + "/note.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "ありがとう");
    EXPECT_EQ(std::filesystem::file_size(docs + "/state.bin"), 3u);
    for (const char* bad : {"../escape.txt", "a/b.txt", "", ".."}) {
        EXPECT_FALSE(controller->dataToFile(bad, {1})) << bad;
    }
    EXPECT_FALSE(std::filesystem::exists(backend->directories().home() + "/escape.txt"));
    // No temporary files are left behind.
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(docs)) files += entry.is_regular_file();
    EXPECT_EQ(files, 2);
}

TEST_F(PageHostTest, CheckingBoxOnTheMainThread) {
    launch();
    controller->startLoading();
    EXPECT_FALSE(controller->_loadingContainer->isHidden());
    EXPECT_TRUE(controller->_loadingMark->isAnimating());
    EXPECT_EQ(controller->outlets()._viewContents->subviews().back(), controller->_loadingContainer);
    EXPECT_TRUE(system().networkActivityIndicatorVisible());
    controller->endLoading();
    EXPECT_TRUE(controller->_loadingContainer->isHidden());
    EXPECT_FALSE(controller->_loadingMark->isAnimating());
    EXPECT_FALSE(system().networkActivityIndicatorVisible());
    // Geometry of the box.
    EXPECT_EQ(controller->_loadingContainer->frame().size, (platform::ui::Size{200, 60}));
    EXPECT_EQ(controller->_loadingContainer->center(), (platform::ui::Point{160, 568 * 0.4}));
    EXPECT_EQ(controller->_loadingLabel->text(), "チェック中\nしばらくお待ちください");
    EXPECT_EQ(controller->_loadingLabel->frame(), (platform::ui::Rect{50, 17, 150, 25}));
    EXPECT_EQ(controller->_loadingMark->frame(), (platform::ui::Rect{10, 14, 30, 30}));
}

}  // namespace
}  // namespace app::testing
