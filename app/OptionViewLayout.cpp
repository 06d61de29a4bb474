#include "app/OptionViewLayout.h"

namespace app {

LayoutRect optionPanelFrame(double webViewWidth, double webViewHeight) {
    return {(webViewWidth - kOptionPanelWidth) / 2, (webViewHeight - kOptionPanelHeight) / 2, kOptionPanelWidth,
            kOptionPanelHeight};
}

LayoutRect optionCloseButtonFrame(double pictureWidth, double pictureHeight) {
    double x = static_cast<double>(static_cast<long>(109 - pictureWidth / 4));
    double y = static_cast<double>(static_cast<long>(kOptionPanelHeight - pictureHeight * 0.75));
    return {x, y, pictureWidth * 0.5, pictureHeight * 0.5};
}

}  // namespace app
