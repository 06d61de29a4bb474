#pragma once
// The views of the main interface description, as the layout gives them to
// the controller before viewDidLoad (ControllerInterface.cpp builds them).
// The controller owns this set; its parts hold a const reference to it and
// reach the views through it. The pointers are set once, by loadView, and
// never reseated afterwards: a part may keep the reference for its lifetime.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <array>
#include <memory>

#include "platform/WebView.h"
#include "platform/ui/ActivityIndicator.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/View.h"

namespace app {

struct Outlets {
    std::shared_ptr<platform::WebView> _webView;
    std::shared_ptr<platform::ui::ActivityIndicator> _activityIndicator;
    std::shared_ptr<platform::ui::Button> _btnFooterReturn, _btnFooterGacha, _btnFooterShop, _btnFooterEvent,
        _btnFooterPelora, _btnFooterMenu;
    std::shared_ptr<platform::ui::Button> _btnTitleHikitsugi;
    std::shared_ptr<platform::ui::ImageView> _imageFooter;
    std::shared_ptr<platform::ui::ImageView> _imageTitle;
    std::shared_ptr<platform::ui::ImageView> _imageWebviewBack;
    std::shared_ptr<platform::ui::View> _viewFade;
    std::shared_ptr<platform::ui::View> _viewContents;

    // The six footer buttons in footer order (return, gacha, event, pelora,
    // shop, menu); null entries before loadView.
    std::array<platform::ui::Button*, 6> footerButtons() const {
        return {_btnFooterReturn.get(), _btnFooterGacha.get(), _btnFooterEvent.get(),
                _btnFooterPelora.get(), _btnFooterShop.get(),  _btnFooterMenu.get()};
    }
};

}  // namespace app
