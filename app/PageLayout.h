#pragma once
// Where the game screen puts the page area and the footer for a screen size.
namespace app {

struct LayoutRect {
    double x = 0, y = 0, width = 0, height = 0;
};

struct PageLayout {
    LayoutRect page;          // the web view and the avatar view
    bool resizeFooter = false;  // tall phone screens: footer and buttons get fixed sizes
    double footerWidth = 320, footerHeight = 53;  // used when resizeFooter
    double buttonSize = 53;                      // used when resizeFooter
    double footerTop = 0;     // the footer sits directly below the page
};

// The layout for a main screen of W × H points.
PageLayout computePageLayout(double screenWidth, double screenHeight);

}  // namespace app
