#pragma once
// The one main controller: owns the game screen's views and the run's state,
// hosts the web view, turns bridge URLs into native actions and answers the
// page with scripts. Its operations are spread over files by concern:
//   ControllerLaunch.cpp     view set-up, activation, tracking services
//   ControllerInterface.cpp  the views of the interface description
//   ControllerBridge.cpp     navigation dispatch, markers, purchase capture
//   ControllerActions.cpp    the page-callable action table
//   ControllerPageHost.cpp   webviewInit:, loads, user agent, checking box, files
//   ControllerAlerts.cpp     the tagged alerts and their answers
//   ControllerAvatar.cpp     avatar presence callbacks
//   ControllerFooter.cpp     footer pictures and taps, take-over, back
//   ControllerFades.cpp      the curtain
//   ControllerOptionView.cpp the volume dialog
//   ControllerTouches.cpp    touch routing
//   ControllerDeferred.cpp   entry points that later subsystems fill in
//
// Everything runs on the main thread unless a member says otherwise. Fields
// that the download and audio workers touch are atomic or locked. The
// download workers run as the controller's BackgroundWork: the destructor
// cancels and joins them before anything else goes.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/AppConfig.h"
#include "app/AvatarView.h"
#include "app/BackgroundWork.h"
#include "app/DispatchSemaphore.h"
#include "app/FooterPictures.h"
#include "app/Lifeline.h"
#include "app/Outlets.h"
#include "app/bridge/ActionTable.h"
#include "app/bridge/Query.h"
#include "platform/AudioSession.h"
#include "platform/WebView.h"
#include "platform/ui/ActivityIndicator.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"
#include "platform/ui/View.h"

class CGView;

namespace RK {
class BGMusic;
class SEffect;
}  // namespace RK

namespace app {

class VoiceEndListener;  // the audio subsystem's end-of-voice listener
struct VoiceItem;        // one item of a page's voice queue

// View tags the controller tests.
enum ViewTag : int {
    kTagViewContents = 99,
    kTagImageTitle = 100,
    kTagAvatarView = 999,
    kTagOptionPanel = 1000,
    kTagOptionOverlay = 1001,
    kTagOptionClose = 1002,
    kTagSliderBgm = 1003,
    kTagSliderSe = 1004,
    kTagSliderVoice = 1005,
    kTagLoadingScreen = 2000,
};

// Alert tags and their answers.
enum AlertTag : int { kAlertLoadFailed = 2, kAlertUpdate = 3, kAlertVersionCheckFailed = 4, kAlertDownloadFailed = 5 };

// The ad-conversion tracker object, kept while it exists.
struct AdConversionTracker {};

class MyWebViewController final : public platform::ui::Responder,
                                  public platform::WebViewDelegate,
                                  public platform::ui::AlertDelegate,
                                  public AvatarViewDelegate {
public:
    explicit MyWebViewController(AppConfig config = defaultAppConfig());
    ~MyWebViewController() override;
    MyWebViewController(const MyWebViewController&) = delete;
    MyWebViewController& operator=(const MyWebViewController&) = delete;

    const AppConfig& config() const { return config_; }
    // The views of the interface description (null before view()).
    const Outlets& outlets() const { return outlets_; }
    // Replaces the avatar views that webviewInit: makes (the avatar subsystem
    // installs its own; tests install fakes).
    void setAvatarViewFactory(AvatarViewFactory factory) { avatarFactory_ = std::move(factory); }

    // ---- launch, settings, state --------------------------------------
    // The controller's root view; the first call builds the interface
    // description's views and runs viewDidLoad.
    std::shared_ptr<platform::ui::View> view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void viewDidLoad();
    void didBecomeActive();
    void willResignActive();
    void adConversionInit();
    void adConversionRunInitial();
    void adConversionRelease();
    // 16 ASCII digits.
    const char* getSecretKey() const { return config_.secretKey.c_str(); }

    // ---- web bridge ------------------------------------------------------
    bool webViewShouldStartLoad(platform::WebView& view, const platform::UrlRequest& request,
                                platform::NavigationType type) override;
    static const ActionTable<MyWebViewController>& controllerActionTable();

    // ---- page host -------------------------------------------------------
    void webviewInit(const std::string& url);
    std::string setConUrl();
    void setHome();
    void viewNextUrl(const std::string& url);
    void startLoading();  // safe from any thread
    void endLoading();    // safe from any thread
    void setWebviewUserInteractionEnabled(bool enabled);
    std::string userAgentString() const;
    static std::string createUUID();
    bool dataToFile(const std::string& fileName, const std::vector<std::uint8_t>& data);
    void stringToFile(const std::string& fileName, const std::string& text);
    void showAlert(int tag);
    void alertClickedButtonAtIndex(platform::ui::Alert& alert, int buttonIndex) override;
    void webViewDidStartLoad(platform::WebView& view) override;
    void webViewDidFinishLoad(platform::WebView& view) override;
    void webViewDidFailLoad(platform::WebView& view, const platform::WebError& error) override;
    void mesh2dDidStartLoad() override;
    void mesh2dDidFinishLoad() override;

    // ---- footer, fades, option view, touches ----------------------------
    void javascript_footerEnable(const Query& q);
    void javascript_footerEnableFlg(const Query& q);
    void javascript_footerImgFlg(const Query& q);
    void javascript_setFooterEventFlg(const Query& q);
    void javascript_changeFooterImgHomeChar(const Query& q);
    void goFooterReturn();
    void goFooterGacha();
    void goFooterEvent();
    void goFooterPelora();
    void goFooterShop();
    void goFooterMenu();
    void goTitleHikitsugi();
    void javascript_setFadeOut(const Query& q);
    void javascript_setFadeIn(const Query& q);
    void javascript_webviewBack();
    void addOptionView();
    platform::ui::ImagePtr addOptionView_LoadImage(const std::string& name, double sx, double sy, int stretch);
    void removeOptionView();
    void buttonAction(platform::ui::View& sender);
    void touchesBegan(const platform::ui::Touches& touches) override;
    void touchesMoved(const platform::ui::Touches& touches) override;
    void touchesEnded(const platform::ui::Touches& touches) override;

    // ---- filled in by later subsystems (log one line until then) --------
    void loadApp();
    void titleInit();
    void dispatchAfterDownload();  // runs on a background queue
    void resetChangeBGMVol();
    void initAudio();
    void sliderChanged(platform::ui::Slider& slider);
    void javascript_playBGM(const Query& q);
    void javascript_stopBGM();
    void javascript_playSE(const Query& q);
    void javascript_stopSE();
    void javascript_playVoice(const Query& q);
    void javascript_stopVoice();
    void javascript_volChange(const Query& q);
    void javascript_pushInfo(const Query& q);
    void javascript_pushInfoCancel(const Query& q);
    void javascript_postTwitter(const Query& q);
    void javascript_imgSave(const Query& q);
    void callPayment(const std::string& productId);
    void observePaymentQueue();

    // ---- audio: ducking, voice queue, logo and title voices ---------------
    // (ControllerAudio.cpp, ControllerVoiceQueue.cpp, ControllerTitleVoices.cpp)
    void setChangeBGMVol(int percentage);
    void playVoice();
    // Runs one parsed queue item once its delay is over.
    void playVoiceItem(const VoiceItem& item);
    // Picks and preloads the logo and title voices (loadApp).
    void chooseTitleVoices();
    // The maker-logo voice, once the logo has faded in (loadApp).
    void startLogoVoice();
    void logoVoiceEnd();
    // The title music and the title voice (titleInit).
    void startTitleMusicAndVoice();
    void titleVoiceEnd();
    // Expires when the controller's destruction begins; main-loop tasks
    // check it on the main thread (the value itself is always true).
    std::weak_ptr<bool> aliveToken() const { return lifeline_.token(); }

    // ---- helpers shared by the files above ------------------------------
    // Evaluates a script in the page (main thread); no-op without a web view.
    void evaluateScript(const std::string& script, platform::WebView::ScriptAnswer answer = {});
    // Opens an URL outside the application if it is a web page or one of the
    // hand-over schemes; anything else is logged and dropped.
    void openOutside(const std::string& url);
    // Runs the task on the main queue after the delay, if the controller
    // still exists then.
    void afterDelay(int milliseconds, std::function<void()> task);
    // Schedules dispatchAfterDownload after 0.5 s on a background queue, as
    // a task of the controller's background work.
    void scheduleDispatchAfterDownload();
    // The download workers; cancelled and joined by the destructor.
    BackgroundWork& backgroundWork() { return work_; }
    // loadApp through the shell's own triggers (activation, bridge, alerts),
    // counted so the start-up latch can be checked whatever loadApp does.
    void restartTitleFlow();
    int titleFlowStarts() const { return titleFlowStarts_; }
    // How many scheduled dispatchAfterDownload runs have started.
    int downloadDispatches() const { return downloadDispatches_; }
    // Whether the page now shown may use native actions.
    bool pageIsTrusted() const;
    // The loading screen (may be null), safe from any thread.
    std::shared_ptr<CGView> viewDraw() const;
    void setViewDraw(std::shared_ptr<CGView> view);
    // The download worker's semaphore, safe from any thread.
    std::shared_ptr<DispatchSemaphore> semaphore() const;
    void setSemaphore(std::shared_ptr<DispatchSemaphore> semaphore);

    // ---- state -----------------------------------------------------------
    bool _footerEnable = false;
    FooterLayouts _footerLayouts{};
    std::array<int, kFooterButtonCount> _footerSetType{};
    std::array<bool, kFooterButtonCount> _footerEventFlg{};
    std::atomic<int> _farstViewInitState{0};
    bool _bUnLock = false;
    std::string _session_id;
    std::string _con_url;
    std::optional<platform::UrlRequest> _requestAction;
    std::atomic<bool> _titleToucheFlg{false};
    std::atomic<int> _titleToucheState{0};
    RK::BGMusic* _bgm = nullptr;
    std::string _bgmFileName;
    RK::SEffect* _se = nullptr;
    std::atomic<int> _sePlayId{0};
    RK::BGMusic* _voice = nullptr;
    std::shared_ptr<VoiceEndListener> _voiceListener;      // owned; detaches itself when freed
    std::shared_ptr<VoiceEndListener> _voiceClipListener;  // the queue's current clip
    std::uint64_t _voiceDelayTask = 0;                     // pending queue delay (main loop id), 0: none
    std::string _voicePlayData;
    std::array<std::string, 2> _audioFileName;
    std::atomic<int> _optionCastId{0};
    std::atomic<int> _downloadCheckState{0};
    std::atomic<bool> _viewDrawAddFlg{false};
    std::atomic<bool> _tittleShowFlg{false};
    std::atomic<int> _downloadErrState{0};
    std::shared_ptr<platform::ui::Label> _loadingLabel;
    std::shared_ptr<platform::ui::ActivityIndicator> _loadingMark;
    std::shared_ptr<platform::ui::View> _loadingContainer;
    std::atomic<bool> _fadeStart{false};
    std::unique_ptr<AvatarView> _glView;
    int _mesh2dControl = 0;
    std::atomic<int> _dlState{0};
    std::atomic<bool> _dlWaitFlg{false};
    // What the download run wants the loading screen to show, applied on the
    // main thread to whichever screen exists (ControllerDownload.cpp).
    std::atomic<bool> _downloadPageWanted{false};
    std::atomic<int> _downloadGaugeTarget{0};
    std::atomic<bool> _downloadRunActive{false};  // set by the starter, cleared by the run itself
    std::atomic<int> _changeBGMVol{100};
    std::unique_ptr<AdConversionTracker> _advertiser;

private:
    void loadView();  // ControllerInterface.cpp
    void titleAfterVersionCheck();  // ControllerTitle.cpp
    void buildCheckingBox();
    void requestCheckingBox(bool wanted);  // any thread: records the wish, applies it on the main thread
    void applyCheckingBox();  // main thread: shows or hides the box as last asked
    void layoutGameScreen();
    void setFooterPicture(int button, int column);
    void footerTap(int number);
    void fade(const Query& q, double toAlpha, const char* script);
    bool dispatchBridge(const platform::UrlRequest& request, int kind);
    bool capturePayment(const platform::UrlRequest& request);
    bool ordinaryNavigation(const platform::UrlRequest& request);
    bool openBrowserMarker(const std::string& url);
    std::string encipheredField(const std::string& source) const;  // ControllerIdentity.cpp
    std::string installationIdentifier() const;

    AppConfig config_;
    Outlets outlets_;
    AvatarViewFactory avatarFactory_;
    std::shared_ptr<platform::ui::View> view_;
    Lifeline lifeline_;
    mutable std::mutex sharedMutex_;
    std::shared_ptr<CGView> viewDraw_;
    std::shared_ptr<DispatchSemaphore> semaphore_;
    std::atomic<bool> checkingWanted_{false};
    std::atomic<bool> checkingApplyPosted_{false};
    std::vector<std::shared_ptr<platform::ui::Alert>> alerts_;
    platform::AudioSessionDelegate audioSessionDelegate_;
    std::atomic<int> titleFlowStarts_{0};
    std::atomic<int> downloadDispatches_{0};
    BackgroundWork work_;
};

}  // namespace app
