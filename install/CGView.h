#pragma once
// The loading screen: a view that draws itself in one of four states.
//   1  nothing, over the background its creator gave it
//   2  nothing, over transparent black
//   3  the "now loading" mark, centred, over opaque black
//   4  the download page: a picture (a slide show on a first installation),
//      under it the "download" mark with the shown percentage, or, once the
//      percentage is full, the start button
// The screen changes only when it is ticked (update, 24 times a second by
// the controller's waiting loop) and drawn. The percentage shown creeps one
// point a tick toward the target, so it may lag behind the run.
//
// Threads: the four setters only store an int and may be called from any
// thread; everything else (ticking, drawing, image loading, touches) runs
// on the main thread. getTouchNextArea is safe from any thread.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <array>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "install/CGViewPictures.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

class CGView : public platform::ui::View {
public:
    // initWithFrame: — starts in state 1 with nothing loaded and chooses the
    // picture set from "DOWNLOAD_FIRST" and the fetched picture file.
    explicit CGView(platform::ui::Rect frame);

    // Takes effect at the next update.
    void setDrawState(int state) { drawState_.store(state); }
    int drawState() const { return drawState_.load(); }
    void setDownloadParNum(int value) { downloadParNum_.store(value); }
    int downloadParNum() const { return downloadParNum_.load(); }
    void setDownloadParNowNum(int value) { downloadParNowNum_.store(value); }
    int downloadParNowNum() const { return downloadParNowNum_.load(); }
    void setDownloadParMax(int value) { downloadParMax_.store(value); }
    int downloadParMax() const { return downloadParMax_.load(); }

    // One tick (main thread): loads the images of a newly requested state,
    // moves the percentage, the loading mark's hold counter and the slide
    // show on, and marks the view for redrawing.
    void update();

    // Loads the images of the requested state (nothing when they are loaded).
    void drawInit();
    // Releases the images of the loaded state.
    void drawRelease();
    // Reloads the images of the current state.
    void resume();

    void drawRect(platform::ui::Canvas& canvas) override;

    // Where the start button was last drawn; (−1, −1, −1, −1) until then.
    platform::ui::Rect getTouchNextArea() const;
    void setTouchNextArea(platform::ui::Rect area);

    // Touch-began asks the picture slide show for its next picture.
    void touchesBegan(const platform::ui::Touches& touches) override;
    void touchesMoved(const platform::ui::Touches& touches) override;
    void touchesEnded(const platform::ui::Touches& touches) override;
    void animeNext();
    void animePrev();
    int moveFlg() const { return moveFlg_.load(); }

    // What the screen holds now (main thread), for the controller's tests
    // and the screenshot tools.
    int drawInitState() const { return drawInitState_.load(); }
    int frameCnt() const { return frameCnt_; }
    int loadingIndex() const { return loadingIndex_; }
    int loadingCnt() const { return loadingCnt_; }
    int loadImageIndex() const { return loadImageIndex_; }
    double imageLeft() const { return imageLeft_; }
    const std::vector<std::string>& loadImages() const { return pictures_.names; }
    const std::vector<std::string>& loadImagesType() const { return pictures_.types; }
    platform::ui::ImagePtr imageBack() const { return imageBack_; }
    platform::ui::ImagePtr imageFront() const { return imageFront_; }
    platform::ui::ImagePtr imageButton() const { return imageButton_; }
    platform::ui::ImagePtr imageLoading(int index) const;

private:
    void loadDownloadPage();
    void loadMarkFrames(const char* stem);
    void releaseMarkFrames();
    void creepPercentage();
    void advanceSlideShow();
    void startSlide();
    void moveSlide();
    void stepLoadingMark();
    platform::ui::Size markFrameSize(int index) const;
    void drawLoadingScreen(platform::ui::Canvas& canvas, platform::ui::Size view);
    void drawDownloadPage(platform::ui::Canvas& canvas, platform::ui::Size view);

    std::atomic<int> drawState_{1};
    std::atomic<int> drawInitState_{1};
    std::atomic<int> downloadParNum_{0};
    std::atomic<int> downloadParNowNum_{0};
    std::atomic<int> downloadParMax_{100};
    std::atomic<int> moveFlg_{0};

    // Main thread only from here on.
    int frameCnt_ = 0;
    std::array<platform::ui::ImagePtr, 4> imageLoadings_;
    int loadingIndex_ = 0;
    int loadingCnt_ = 0;
    std::array<int, 4> imageLoadingNextCnt_{3, 1, 2, 1};
    install::PictureSet pictures_;
    int loadImageIndex_ = 0;
    platform::ui::ImagePtr imageBack_;
    platform::ui::ImagePtr imageFront_;
    double imageLeft_ = 0;
    platform::ui::ImagePtr imageButton_;

    mutable std::mutex areaMutex_;
    platform::ui::Rect touchNextArea_{-1, -1, -1, -1};
};
