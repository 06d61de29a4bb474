#pragma once
// The loading screen. This is its outline: the state the controller and the
// download run set and read; the drawing and the picture sets arrive with
// the installation flow. The setters may be called from the download thread,
// so every field they touch is atomic.
#include <atomic>
#include <mutex>

#include "platform/ui/View.h"

class CGView : public platform::ui::View {
public:
    // initWithFrame:
    explicit CGView(platform::ui::Rect frame);

    void setDrawState(int state) { drawState_.store(state); }
    int drawState() const { return drawState_.load(); }
    void setDownloadParNum(int value) { downloadParNum_.store(value); }
    int downloadParNum() const { return downloadParNum_.load(); }
    void setDownloadParNowNum(int value) { downloadParNowNum_.store(value); }
    int downloadParNowNum() const { return downloadParNowNum_.load(); }
    void setDownloadParMax(int value) { downloadParMax_.store(value); }
    int downloadParMax() const { return downloadParMax_.load(); }

    // One tick of the screen (main thread).
    void update();

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

private:
    std::atomic<int> drawState_{1};
    std::atomic<int> drawInitState_{1};
    std::atomic<int> downloadParNum_{0};
    std::atomic<int> downloadParNowNum_{0};
    std::atomic<int> downloadParMax_{100};
    std::atomic<int> moveFlg_{0};
    mutable std::mutex areaMutex_;
    platform::ui::Rect touchNextArea_{-1, -1, -1, -1};
};
