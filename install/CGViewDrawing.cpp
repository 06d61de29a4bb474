// The loading screen's drawing: the centred mark of state 3 and the
// download page of state 4 (picture, mark with percentage, start button).
#include <cstdio>

#include "install/CGView.h"
#include "install/CGViewLayout.h"
#include "platform/ui/Canvas.h"

namespace {

using platform::ui::Canvas;
using platform::ui::Color;
using platform::ui::Font;
using platform::ui::Rect;
using platform::ui::Size;

constexpr Color kPercentageColor{0, 0.85, 1.0, 1.0};
constexpr double kPercentageFontSize = 20;
const char* const kPercentageFont = "Arial Bold";

Size halfSize(const platform::ui::ImagePtr& image) {
    if (!image) return {};
    return {image->width() * install::kMarkImageScale, image->height() * install::kMarkImageScale};
}

void drawIfAny(Canvas& canvas, const platform::ui::ImagePtr& image, const Rect& dest) {
    if (image) canvas.drawImage(*image, dest);
}

std::string percentageText(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", value);
    return text;
}

}  // namespace

Size CGView::markFrameSize(int index) const { return halfSize(imageLoading(index)); }

void CGView::stepLoadingMark() {
    if (loadingCnt_ >= imageLoadingNextCnt_[std::size_t(loadingIndex_)]) {
        loadingCnt_ = 0;
        loadingIndex_ = loadingIndex_ >= 3 ? 0 : loadingIndex_ + 1;
    }
}

void CGView::drawRect(Canvas& canvas) {
    const int state = drawState_.load();
    // Until the next tick has loaded the requested state's images there is
    // nothing consistent to draw.
    if (state != drawInitState_.load()) return;
    canvas.setFillColor(Color::black());
    const Size view = frame().size;
    if (state == 3) drawLoadingScreen(canvas, view);
    if (state == 4) drawDownloadPage(canvas, view);
}

void CGView::drawLoadingScreen(Canvas& canvas, Size view) {
    stepLoadingMark();
    drawIfAny(canvas, imageLoading(loadingIndex_), install::centred(view, markFrameSize(loadingIndex_)));
}

void CGView::drawDownloadPage(Canvas& canvas, Size view) {
    if (!imageBack_) return;
    const Rect picture = install::pictureRect(view, imageBack_->size(), markFrameSize(0).height);
    canvas.drawImage(*imageBack_, picture);
    if (imageFront_) {
        canvas.drawImage(*imageFront_, {picture.x() - imageLeft_, picture.y(), picture.width(), picture.height()});
    }
    const double top = picture.maxY();

    const int shown = downloadParNowNum_.load();
    if (shown < downloadParMax_.load()) {
        stepLoadingMark();
        const Rect mark = install::belowPicture(view, top, markFrameSize(loadingIndex_));
        drawIfAny(canvas, imageLoading(loadingIndex_), mark);
        canvas.setFillColor(kPercentageColor);
        canvas.drawText(percentageText(shown), Font::named(kPercentageFont, kPercentageFontSize),
                        install::percentageBaseline(mark));
        return;
    }
    const Rect button = install::belowPicture(view, top, halfSize(imageButton_));
    setTouchNextArea(button);
    drawIfAny(canvas, imageButton_, button);
}
