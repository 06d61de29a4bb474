// The loading screen's state: construction, the tick, loading and releasing
// the images of each state, and touches. Drawing is in CGViewDrawing.cpp.
#include "install/CGView.h"

#include "install/DownloadRun.h"
#include "platform/Backend.h"
#include "platform/Preferences.h"
#include "platform/ui/ImageCodec.h"

namespace {

constexpr int kFrameCntWrap = 23;  // _frameCnt counts 0 … 23: one second of ticks
constexpr int kSlideSteps = 5;     // a slide moves a fifth of the picture a tick

bool firstInstallation() {
    platform::Backend* backend = platform::backend();
    return backend && backend->preferences().boolForKey(install::kKeyDownloadFirst);
}

}  // namespace

CGView::CGView(platform::ui::Rect frame) : View(frame) {
    pictures_ = install::choosePictures(firstInstallation());
}

platform::ui::ImagePtr CGView::imageLoading(int index) const {
    if (index < 0 || index >= int(imageLoadings_.size())) return nullptr;
    return imageLoadings_[std::size_t(index)];
}

void CGView::update() {
    const bool switching = drawInitState_.load() != drawState_.load();
    if (switching) {
        drawRelease();
        drawInit();
    }
    frameCnt_ = frameCnt_ >= kFrameCntWrap ? 0 : frameCnt_ + 1;

    const int loaded = drawInitState_.load();
    if (loaded == 4) {
        creepPercentage();
        if (pictures_.names.size() >= 2) advanceSlideShow();
    }
    // The hold counter runs while the mark is on screen; the drawing steps
    // the mark's frame once the counter reaches the frame's hold count. The
    // tick that loads the mark does not count, so the first frame is held
    // as long as on every later pass.
    const bool markShown = loaded == 3 || (loaded == 4 && downloadParNowNum_.load() < downloadParMax_.load());
    if (markShown && !switching) ++loadingCnt_;
    setNeedsDisplay();
}

void CGView::creepPercentage() {
    int now = downloadParNowNum_.load();
    if (now < downloadParNum_.load() && now < downloadParMax_.load()) {
        // A value another thread stored meanwhile wins over this step.
        downloadParNowNum_.compare_exchange_strong(now, now + 1);
    }
}

void CGView::advanceSlideShow() {
    const int flg = moveFlg_.load();
    if (flg == 1 || flg == -1) startSlide();
    moveSlide();
}

void CGView::startSlide() {
    const int count = int(pictures_.names.size());
    if (moveFlg_.load() == -1) {
        // The previous picture comes in from the left over the shown one.
        loadImageIndex_ = loadImageIndex_ == 0 ? count - 1 : loadImageIndex_ - 1;
        imageFront_ = install::pictureAt(pictures_, std::size_t(loadImageIndex_));
        imageLeft_ = imageFront_ ? imageFront_->width() : 0;
        moveFlg_.store(-2);
    } else if (moveFlg_.load() == 1) {
        // The shown picture slides out to the left over the next one.
        imageLeft_ = 0;
        moveFlg_.store(2);
        imageFront_ = std::move(imageBack_);
        loadImageIndex_ = loadImageIndex_ >= count - 1 ? 0 : loadImageIndex_ + 1;
        imageBack_ = install::pictureAt(pictures_, std::size_t(loadImageIndex_));
    }
}

void CGView::moveSlide() {
    const int flg = moveFlg_.load();
    if (flg != 2 && flg != -2) return;
    bool ended = false;
    if (!imageFront_) {
        // Nothing to slide (a picture is missing): the slide is over, or
        // the show would stay stuck and ignore every later touch.
        ended = true;
    } else {
        const double w = imageFront_->width();
        if (flg == 2) {
            imageLeft_ += w / kSlideSteps;
            if (imageLeft_ > w) {
                imageFront_.reset();
                ended = true;
            }
        } else {
            imageLeft_ -= w / kSlideSteps;
            if (imageLeft_ < 0) {
                imageBack_ = std::move(imageFront_);
                imageFront_.reset();
                ended = true;
            }
        }
    }
    if (ended) {
        imageLeft_ = 0;
        moveFlg_.store(0);
    }
}

void CGView::drawInit() {
    const int state = drawState_.load();
    if (state == drawInitState_.load()) return;
    loadingIndex_ = 0;
    loadingCnt_ = 0;
    drawInitState_.store(state);
    if (state == 4) {
        setBackgroundColor(platform::ui::Color::black());
        loadDownloadPage();
        loadMarkFrames("app_download");
        imageButton_ = platform::ui::imageNamed("game_start_button.png");
    } else if (state == 3) {
        setBackgroundColor(platform::ui::Color::black());
        loadMarkFrames("now_loading");
    } else {
        setBackgroundColor(state == 2 ? platform::ui::Color{0, 0, 0, 0} : platform::ui::Color::black());
    }
}

void CGView::loadDownloadPage() {
    imageFront_.reset();
    loadImageIndex_ = 0;
    // A slide asked for before the page was on screen (the tap on the title
    // also reaches this view) must not skip the first picture.
    imageLeft_ = 0;
    moveFlg_.store(0);
    // Choosing again picks up the picture the download run fetched just
    // before it switched to this page.
    if (pictures_.names.size() < 2) pictures_ = install::updatePictures();
    imageBack_ = install::pictureAt(pictures_, 0);
}

void CGView::loadMarkFrames(const char* stem) {
    for (std::size_t i = 0; i < imageLoadings_.size(); ++i) {
        imageLoadings_[i] = platform::ui::imageNamed(std::string(stem) + std::to_string(i + 1) + ".png");
    }
}

void CGView::releaseMarkFrames() {
    for (auto& frame : imageLoadings_) frame.reset();
}

void CGView::drawRelease() {
    // What was loaded decides what goes, not what is requested next.
    const int loaded = drawInitState_.load();
    if (loaded == 1) return;
    if (loaded == 4) {
        releaseMarkFrames();
        imageButton_.reset();
        imageBack_.reset();
        imageFront_.reset();
    } else if (loaded == 3) {
        releaseMarkFrames();
    }
    drawInitState_.store(1);
}

void CGView::resume() {
    drawRelease();
    drawInit();
}

platform::ui::Rect CGView::getTouchNextArea() const {
    std::lock_guard<std::mutex> lock(areaMutex_);
    return touchNextArea_;
}

void CGView::setTouchNextArea(platform::ui::Rect area) {
    std::lock_guard<std::mutex> lock(areaMutex_);
    touchNextArea_ = area;
}

void CGView::touchesBegan(const platform::ui::Touches&) { animeNext(); }
void CGView::touchesMoved(const platform::ui::Touches&) {}
void CGView::touchesEnded(const platform::ui::Touches&) {}

void CGView::animeNext() {
    int still = 0;
    moveFlg_.compare_exchange_strong(still, 1);
}

void CGView::animePrev() {
    int still = 0;
    moveFlg_.compare_exchange_strong(still, -1);
}
