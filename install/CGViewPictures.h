#pragma once
// The pictures of the loading screen's download page: which set is shown
// (a slide show on a first installation, the downloaded picture or the
// bundled update picture otherwise) and how each one is read.
// Names kept from the phone client: see docs/GLOSSARY.md.
#include <string>
#include <vector>

#include "platform/ui/Image.h"

namespace install {

// Parallel lists: a bundle resource name and its type (extension), or one
// full file path with an empty type.
struct PictureSet {
    std::vector<std::string> names;
    std::vector<std::string> types;
};

// Full path of the picture the download run fetches for the download page;
// empty when there is no temporary directory to hold it.
std::string downloadPicturePath();

// Whether the fetched picture is on disk.
bool downloadPictureExists();

// The set shown on a first installation: "install01" ... "install08".
PictureSet firstInstallPictures();

// The one picture of any later run: the fetched file when it exists, else
// the bundled "update00".
PictureSet updatePictures();

// firstInstallPictures() when `firstInstall`, else updatePictures().
PictureSet choosePictures(bool firstInstall);

// A picture of the bundle by name and type; null (one log line) when the
// bundle has none by that name or it is not a picture.
platform::ui::ImagePtr bundlePicture(const std::string& name, const std::string& type);

// Entry `index` of the set: a bundle resource, or the file itself when the
// entry has no type. Null when the index is out of range or nothing can
// be read.
platform::ui::ImagePtr pictureAt(const PictureSet& set, std::size_t index);

}  // namespace install
