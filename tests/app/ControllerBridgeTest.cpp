// The dispatcher on a live controller: actions by scheme, the markers, the
// purchase capture, and the rules for off-host pages and outside URLs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Base64.h"
#include "app/SecKeyWrapper.h"
#include "app/SettingsKeys.h"
#include "tests/app/ControllerFixture.h"

namespace app::testing {
namespace {

class BridgeTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        openGameScreen();
        web()->clearRecords();
        logs.clear();
    }
    std::size_t loads() { return web()->loadedRequests().size(); }
    std::vector<std::string> opened() { return system().openedUrls(); }
    // Shows a page of another host, as a link on the game page would.
    void showForeignPage() {
        web()->loadRequest(platform::UrlRequest::get("http://ads.example.net/banner.html"));
        web()->finishLoad();
        run(10);
        web()->clearRecords();
        logs.clear();
    }
};

TEST_F(BridgeTest, ActionSchemesAreNeverLoaded) {
    int starts = controller->titleFlowStarts();
    struct {
        const char* url;
        const char* logged;  // a line the action leaves, or null
    } cases[] = {
        {"webview://javascript_stopBGM", "controller: javascript_stopBGM"},
        {"webview://javascript_playSE?name=se_01.ogg", "controller: javascript_playSE:"},
        {"webview://javascript_nope", "bridge: unknown action javascript_nope"},
        {"webview://javascript_stopBGM?x=1", "bridge: unknown action javascript_stopBGM:"},
        {"webview://javascript_playSE", "bridge: unknown action javascript_playSE"},
        {"mesh2d://wink", "bridge: unknown avatar action wink"},
        {"tapjoy://offers", nullptr},
        {"top://", nullptr},
    };
    for (const auto& c : cases) {
        logs.clear();
        EXPECT_FALSE(navigate(c.url)) << c.url;
        if (c.logged) {
            EXPECT_TRUE(logs.contains(c.logged)) << c.url << "\n" << logs.text();
        }
    }
    EXPECT_EQ(loads(), 0u);
    EXPECT_TRUE(opened().empty());
    EXPECT_EQ(controller->titleFlowStarts(), starts + 1);  // top:// only
}

TEST_F(BridgeTest, ArgumentsReachTheActionAsWritten) {
    ASSERT_NE(avatar(), nullptr);
    EXPECT_FALSE(navigate("mesh2d://motion?number=3"));
    ASSERT_EQ(avatar()->calls.back(), "motion:");
    EXPECT_EQ(avatar()->lastQuery, (Query{{"number", "3"}}));
    EXPECT_FALSE(navigate("mesh2d://change?name=%E3%81%82&a=b=c"));
    EXPECT_EQ(avatar()->lastQuery, (Query{{"name", "%E3%81%82"}, {"a", "c"}}));
    EXPECT_FALSE(navigate("mesh2d://pause"));
    EXPECT_EQ(avatar()->calls.back(), "pause");

    EXPECT_FALSE(navigate("webview://javascript_footerEnable?flg=true"));
    EXPECT_TRUE(controller->_footerEnable);
    EXPECT_FALSE(navigate("webview://javascript_footerEnableFlg?flg=TRUE"));
    EXPECT_FALSE(controller->_footerEnable);
}

TEST(ControllerActionTableTest, PagesReachExactlyTheListedActions) {
    const char* listed[] = {
        "javascript_playBGM:", "javascript_stopBGM", "javascript_playSE:", "javascript_stopSE",
        "javascript_playVoice:", "javascript_stopVoice", "javascript_volChange:", "javascript_setFadeOut:",
        "javascript_setFadeIn:", "javascript_webviewBack", "javascript_footerEnable:", "javascript_footerEnableFlg:",
        "javascript_footerImgFlg:", "javascript_setFooterEventFlg:", "javascript_changeFooterImgHomeChar:",
        "javascript_pushInfo:", "javascript_pushInfoCancel:", "javascript_postTwitter:", "javascript_imgSave:"};
    const auto& table = MyWebViewController::controllerActionTable();
    EXPECT_EQ(table.rows().size(), std::size(listed));
    for (const char* name : listed) EXPECT_NE(table.find(name), nullptr) << name;
    for (const char* other : {"setHome", "loadApp", "webviewInit:", "dispatchAfterDownload", "viewDidLoad"}) {
        EXPECT_EQ(table.find(other), nullptr) << other;
    }
    const auto& avatarTable = avatarActionTable();
    for (const char* name : {"load:", "change:", "motion:", "switchState:", "cache:", "pause", "resume"}) {
        EXPECT_NE(avatarTable.find(name), nullptr) << name;
    }
    EXPECT_EQ(avatarTable.rows().size(), 7u);
}

TEST_F(BridgeTest, ActionsMissingARequiredKeyAreLoggedAndSkipped) {
    EXPECT_FALSE(navigate("webview://javascript_pushInfo?cate=1&time=60"));
    EXPECT_TRUE(logs.contains("bridge: javascript_pushInfo: without \"text\" ignored")) << logs.text();
    EXPECT_FALSE(logs.contains("controller: javascript_pushInfo:"));
    EXPECT_FALSE(navigate("webview://javascript_playSE?volume=1"));
    EXPECT_TRUE(logs.contains("without \"name\" ignored"));
    EXPECT_FALSE(logs.contains("controller: javascript_playSE:"));
    // Flags may be left out: they read as false.
    EXPECT_FALSE(navigate("webview://javascript_footerEnable?x=1"));
    EXPECT_FALSE(controller->_footerEnable);
}

TEST_F(BridgeTest, TopRestartsFromTheLogo) {
    int starts = controller->titleFlowStarts();
    controller->_fadeStart = true;
    controller->outlets()._imageTitle->setImage(nullptr);
    EXPECT_FALSE(navigate("top://start"));
    // Cleared first, so loadApp put the maker logo up again (and marked it shown).
    EXPECT_NE(controller->outlets()._imageTitle->image(), nullptr);
    EXPECT_TRUE(controller->_fadeStart);
    EXPECT_EQ(controller->titleFlowStarts(), starts + 1);
}

TEST_F(BridgeTest, VoiceDataMarker) {
    struct {
        const char* query;
        int before, after;
        bool loads;
    } cases[] = {
        {"savedata_dlcv=2&x=1", 1, 3, false},
        {"x=1&savedata_dlcv=2", 1, 3, true},
        {"savedata_dlcv=9&x=1", 1, 1, false},
        {"x=1&savedata_dlcv=abc", 4, 4, true},
        {"x=1&savedata_dlcv=%34", 1, 5, true},
    };
    for (const auto& c : cases) {
        prefs().setFloat(kKeyVoiceDlKey, float(c.before));
        controller->_dlState = 0;
        controller->_fadeStart = false;
        int starts = controller->titleFlowStarts();
        std::string url = appBase() + "/mypage.php?" + c.query;
        EXPECT_EQ(navigate(url), c.loads) << c.query;
        EXPECT_EQ(prefs().integerForKey(kKeyVoiceDlKey), c.after) << c.query;
        EXPECT_EQ(controller->_dlState == 1, !c.loads) << c.query;
        EXPECT_EQ(controller->_fadeStart.load(), !c.loads) << c.query;
        EXPECT_EQ(controller->titleFlowStarts(), starts + (c.loads ? 0 : 1)) << c.query;
    }
}

TEST_F(BridgeTest, ResetMarkerDeletesTheRecordAndSetsTheFlag) {
    std::string record = backend->directories().caches() + "/localDownloadData.txt";
    std::ofstream(record) << "1,2,3";
    EXPECT_TRUE(navigate(appBase() + "/reset.php?savedata_reset=1"));
    EXPECT_FALSE(std::filesystem::exists(record));
    EXPECT_TRUE(prefs().boolForKey(kKeyDlResetFlg));
    // Nothing to delete: the flag is set all the same.
    prefs().setFloat(kKeyDlResetFlg, 0);
    EXPECT_TRUE(navigate(appBase() + "/reset.php?savedata_reset=1"));
    EXPECT_TRUE(prefs().boolForKey(kKeyDlResetFlg));
}

TEST_F(BridgeTest, BrowserMarkerAppendsTheEncipheredId) {
    std::string uuid = *prefs().stringForKey(kKeyUuid);
    std::string id = dataEncodedWithBase64(SecKeyWrapper::doCipher(uuid, controller->getSecretKey(), kCCEncrypt));
    struct {
        const char* encodedTarget;
        std::string opened;
    } cases[] = {
        {"https%3A%2F%2Fshop.example.jp%2Fa%3Fb%3D1", "https://shop.example.jp/a?b=1&id=" + id},
        {"https%3A%2F%2Fshop.example.jp%2Fa", "https://shop.example.jp/a?id=" + id},
    };
    for (const auto& c : cases) {
        system().clear();
        std::string page = appBase() + "/go.php?sp_aurl=" + c.encodedTarget + "&z=1";
        EXPECT_TRUE(navigate(page));  // the web view loads the page as well
        EXPECT_EQ(opened(), std::vector<std::string>{c.opened});
    }
    // Without a stored UUID the target opens as decoded.
    prefs().setString(kKeyUuid, "");
    system().clear();
    EXPECT_TRUE(navigate(appBase() + "/go.php?sp_aurl=https%3A%2F%2Fx.jp%2F"));
    EXPECT_EQ(opened(), std::vector<std::string>{"https://x.jp/"});
    int events = 0;
    for (const auto& call : backend->headlessTrackers().calls()) events += call.operation == "sendEvent";
    EXPECT_EQ(events, 3);
}

TEST_F(BridgeTest, OutsideUrlsAreLimitedToWebAndHandOverSchemes) {
    struct {
        const char* url;
        const char* opened;  // null: dropped
    } cases[] = {
        {"mailto:info@example.jp", "mailto:info@example.jp"},
        {"tel:0312345678", "tel:0312345678"},
        {"line://msg/text/hello", "line://msg/text/hello"},
        {"browser:https://example.jp/news", "https://example.jp/news"},
        {"browser:file:///etc/passwd", nullptr},
        {"browser:tarvel-pelora-browser://x", nullptr},
    };
    for (const auto& c : cases) {
        system().clear();
        logs.clear();
        EXPECT_FALSE(navigate(c.url)) << c.url;
        if (c.opened) {
            EXPECT_EQ(opened(), std::vector<std::string>{c.opened}) << c.url;
        } else {
            EXPECT_TRUE(opened().empty()) << c.url;
            EXPECT_TRUE(logs.contains("bridge: not opening")) << c.url;
        }
    }
    // A marker target that is not a web page is dropped too; the page still loads.
    system().clear();
    EXPECT_TRUE(navigate(appBase() + "/go.php?sp_aurl=file%3A%2F%2F%2Fetc%2Fpasswd"));
    EXPECT_TRUE(opened().empty());
}

TEST_F(BridgeTest, UrlsWithControlCharactersNeverLeaveTheClient) {
    const std::string page = appBase() + "/go.php?sp_aurl=";
    struct {
        std::string url;
        bool loads;  // a page with the marker still loads; hand-overs never do
    } cases[] = {
        {"mailto:info@example.jp?subject=a%00b", false},
        {"mailto:info@example.jp?subject=a\nb", false},                // raw line breaks never
        {"tel:03%0A12345678", false},
        {std::string("sms:1\0", 6), false},
        {"line://msg/text/hi%7F", false},
        {"browser:https://example.jp/news%00.html", false},
        {"browser:https://example.jp/\x01", false},
        {"browser:https://example.jp/a%0d%0aX:1", false},
        {page + "https%3A%2F%2Fshop.example.jp%2F%00", true},          // decodes to a raw NUL
        {page + "https%3A%2F%2Fshop.example.jp%2F%2500", true},        // decodes to the escape %00
        {page + "https%3A%2F%2Fshop.example.jp%2Fa%0Ab&z=1", true},
    };
    for (const auto& c : cases) {
        system().clear();
        logs.clear();
        EXPECT_EQ(navigate(c.url), c.loads) << c.url;
        EXPECT_TRUE(opened().empty()) << c.url;
        EXPECT_TRUE(logs.contains("bridge: not opening an URL with control characters")) << c.url << "\n"
                                                                                            << logs.text();
    }
    // The log line shows the decoded line break as an escape, not raw.
    EXPECT_TRUE(logs.contains("https://shop.example.jp/a%0Ab")) << logs.text();
    // Clean targets of the same paths still open.
    system().clear();
    EXPECT_FALSE(navigate("browser:https://example.jp/news%20today"));
    EXPECT_TRUE(navigate(page + "https%3A%2F%2Fshop.example.jp%2F%25E3%2581%2582"));
    // A mail link writes the lines of its body as escaped line breaks.
    EXPECT_FALSE(navigate("mailto:info@example.jp?body=line%201%0D%0Aline%202"));
    ASSERT_EQ(opened().size(), 3u);
    EXPECT_EQ(opened()[0], "https://example.jp/news%20today");
    EXPECT_EQ(opened()[2], "mailto:info@example.jp?body=line%201%0D%0Aline%202");
}

TEST_F(BridgeTest, PurchaseRequestIsCaptured) {
    EXPECT_FALSE(navigate("payment://shop/buy.php?product=item100&P=7", "a=1"));
    EXPECT_EQ(prefs().stringForKey(kKeyPaymentUrl), "payment://shop/buy.php?product=item100");
    EXPECT_EQ(prefs().stringForKey(kKeyPaymentPrm), "a=1");
    EXPECT_TRUE(logs.contains("controller: callPayment item100"));
    ASSERT_TRUE(controller->_requestAction);
    EXPECT_EQ(controller->_requestAction->body, "a=1");

    // Without a query nothing is stored; without a product nothing is bought.
    logs.clear();
    EXPECT_FALSE(navigate("payment://shop/buy.php", "b=2"));
    EXPECT_EQ(prefs().stringForKey(kKeyPaymentPrm), "a=1");
    EXPECT_FALSE(navigate("payment://shop/other/?P=1&x=2"));
    EXPECT_EQ(prefs().stringForKey(kKeyPaymentUrl), "payment://shop/other?x=2");
    EXPECT_FALSE(prefs().objectForKey(kKeyPaymentPrm).has_value());
    EXPECT_FALSE(logs.contains("callPayment"));
    EXPECT_EQ(loads(), 0u);
}

TEST_F(BridgeTest, OffHostPagesGetNoNativeActions) {
    showForeignPage();
    prefs().setFloat(kKeyVoiceDlKey, 1);
    for (const char* url : {"webview://javascript_footerEnable?flg=true", "mesh2d://motion?number=1", "top://",
                            "payment://shop/buy.php?product=item100"}) {
        logs.clear();
        EXPECT_FALSE(navigate(url)) << url;
        EXPECT_TRUE(logs.contains("bridge: refused")) << url;
    }
    EXPECT_FALSE(controller->_footerEnable);
    EXPECT_NE(avatar()->calls.empty() ? "" : avatar()->calls.back(), "motion:");
    EXPECT_FALSE(prefs().objectForKey(kKeyPaymentUrl).has_value());
    // Markers load as ordinary navigations and change nothing.
    EXPECT_TRUE(navigate(appBase() + "/x.php?savedata_dlcv=2&savedata_reset=1&sp_aurl=https%3A%2F%2Fa.jp"));
    EXPECT_EQ(prefs().integerForKey(kKeyVoiceDlKey), 1);
    EXPECT_FALSE(prefs().boolForKey(kKeyDlResetFlg));
    EXPECT_TRUE(opened().empty());
    EXPECT_EQ(controller->_dlState, 0);
    // Hand-overs are not native actions.
    EXPECT_FALSE(navigate("mailto:a@b.jp"));
    EXPECT_EQ(opened(), std::vector<std::string>{"mailto:a@b.jp"});
}

// A page shown, then one navigation asked for by the page (or frame) at
// `asking`: whether the footer action it sends reaches the controller.
class PageOriginTest : public BridgeTest {
protected:
    void SetUp() override {
        config.appHost = "game.example.jp";
        config.pageHosts = "cdn.example.jp, https://pages.example.jp:8443";
        BridgeTest::SetUp();
    }
    void show(const std::string& page) {
        web()->loadRequest(platform::UrlRequest::get(page));
        web()->finishLoad();
        run(10);
    }
    bool footerActionReaches(const std::string& asking, bool mainFrame) {
        controller->_footerEnable = false;
        auto request = platform::UrlRequest::get("webview://javascript_footerEnable?flg=true");
        request.mainFrame = mainFrame;
        request.frameUrl = asking;
        EXPECT_FALSE(web()->navigate(request, platform::NavigationType::Other));
        return controller->_footerEnable;
    }
};

TEST_F(PageOriginTest, MainPagesOfTheApplicationAndPageHosts) {
    struct {
        const char* page;
        bool trusted;
    } cases[] = {
        {"http://game.example.jp/index.php", true},
        {"https://game.example.jp/index.php", true},
        {"https://GAME.example.jp:443/", true},
        {"http://cdn.example.jp/event.html", true},
        {"https://cdn.example.jp/event.html", true},
        {"https://pages.example.jp:8443/a", true},
        {"https://pages.example.jp/a", false},
        {"https://game.example.jp:8443/", false},
        {"http://game.example.jp.evil/", false},
        {"http://evilgame.example.jp/", false},
        {"http://ads.example.net/banner.html", false},
    };
    for (const auto& c : cases) {
        show(c.page);
        logs.clear();
        EXPECT_EQ(footerActionReaches("", true), c.trusted) << c.page;
        EXPECT_EQ(logs.contains("bridge: refused"), !c.trusted) << c.page;
    }
}

TEST_F(PageOriginTest, FramesAndRedirectsAreJudgedByTheirOwnPage) {
    show("http://game.example.jp/index.php");
    // A frame of another host inside the game page gets nothing; a hidden
    // frame the game page itself navigates (no frame page) is the game page.
    EXPECT_FALSE(footerActionReaches("http://ads.example.net/banner.html", false));
    EXPECT_TRUE(logs.contains("bridge: refused webview://javascript_footerEnable?flg=true from a page of another host "
                              "(http://ads.example.net/banner.html)"))
        << logs.text();
    EXPECT_FALSE(footerActionReaches("about:blank", false));
    EXPECT_TRUE(footerActionReaches("https://cdn.example.jp/frame.html", false));
    EXPECT_TRUE(footerActionReaches("", false));
    // A foreign server answering a link with a redirect to the bridge.
    EXPECT_FALSE(footerActionReaches("http://ads.example.net/click?to=webview", true));

    // A game frame inside a foreign page may, the foreign page may not.
    show("http://ads.example.net/banner.html");
    EXPECT_TRUE(footerActionReaches("http://game.example.jp/frame.html", false));
    EXPECT_FALSE(footerActionReaches("", false));

    // Markers follow the same rule: a foreign frame's page URL changes nothing.
    show("http://game.example.jp/index.php");
    auto frame = platform::UrlRequest::get("http://game.example.jp/x.php?savedata_reset=1");
    frame.mainFrame = false;
    frame.frameUrl = "http://ads.example.net/banner.html";
    EXPECT_TRUE(web()->navigate(frame, platform::NavigationType::Other));
    EXPECT_FALSE(prefs().boolForKey(kKeyDlResetFlg));
    frame.frameUrl = "http://game.example.jp/frame.html";
    EXPECT_TRUE(web()->navigate(frame, platform::NavigationType::Other));
    EXPECT_TRUE(prefs().boolForKey(kKeyDlResetFlg));
}

TEST_F(BridgeTest, AvatarActionsBeforeTheAvatarViewExist) {
    restart();
    launch();
    logs.clear();
    EXPECT_FALSE(navigate("mesh2d://motion?number=3"));
    EXPECT_TRUE(logs.contains("before the avatar view exists"));
}

}  // namespace
}  // namespace app::testing
