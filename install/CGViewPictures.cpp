#include "install/CGViewPictures.h"

#include "audio/SearchPaths.h"
#include "foundation/Directories.h"
#include "install/DownloadRun.h"
#include "platform/Log.h"
#include "platform/ui/ImageCodec.h"

namespace install {

std::string downloadPicturePath() {
    const std::string temporary = RK::temporaryPath();
    if (temporary.empty()) return {};
    return temporary + "/" + kPictureFileName;
}

bool downloadPictureExists() {
    const std::string path = downloadPicturePath();
    return !path.empty() && RK::fileExists(path.c_str());
}

PictureSet firstInstallPictures() {
    PictureSet set;
    for (int i = 1; i <= 8; ++i) {
        set.names.push_back("install0" + std::to_string(i));
        set.types.push_back("jpg");
    }
    return set;
}

PictureSet updatePictures() {
    if (downloadPictureExists()) return {{downloadPicturePath()}, {""}};
    return {{"update00"}, {"png"}};
}

PictureSet choosePictures(bool firstInstall) { return firstInstall ? firstInstallPictures() : updatePictures(); }

platform::ui::ImagePtr bundlePicture(const std::string& name, const std::string& type) {
    const std::string bundle = RK::bundlePath();
    if (bundle.empty()) return nullptr;
    const std::string file = type.empty() ? name : name + "." + type;
    platform::ui::ImagePtr image = platform::ui::imageNamedIn({bundle}, file);
    if (!image) platform::log("CGView: no picture %s in the bundle", file.c_str());
    return image;
}

platform::ui::ImagePtr pictureAt(const PictureSet& set, std::size_t index) {
    if (index >= set.names.size() || index >= set.types.size()) return nullptr;
    const std::string& name = set.names[index];
    const std::string& type = set.types[index];
    if (!type.empty()) return bundlePicture(name, type);
    // An entry without a type is a full path (the fetched picture).
    platform::ui::ImagePtr image = platform::ui::decodeImageFile(name);
    if (!image) platform::log("CGView: cannot read the picture file %s", name.c_str());
    return image;
}

}  // namespace install
