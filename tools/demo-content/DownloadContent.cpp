#include "tools/demo-content/DownloadContent.h"

#include <stb_image_write.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "tools/demo-content/OggClip.h"
#include "tools/demo-content/ZipWriter.h"

namespace democontent {
namespace {

namespace fs = std::filesystem;

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// What the archiving system of a desktop adds beside the real files.
void addJunk(std::vector<ZipItem>& items, const std::string& shadowOf) {
    items.push_back({ZipItem::Directory, "__MACOSX", ""});
    items.push_back({ZipItem::File, "__MACOSX/._" + shadowOf, "\x00\x05\x16\x07 resource fork"});
    items.push_back({ZipItem::File, ".DS_Store", "Bud1 desktop metadata"});
}

std::vector<ZipItem> baseArchive(int n) {
    std::vector<ZipItem> items;
    switch (n) {
        case 1:
            items = {{ZipItem::Directory, "chara", ""},
                     {ZipItem::File, "chara/b01.json", "{\"name\":\"Pelora\",\"mood\":\"cheerful\"}\n"},
                     {ZipItem::File, "voice_b01.ogg", oggTone(0.6, 523.25, 101)}};
            addJunk(items, "voice_b01.ogg");
            break;
        case 2:
            items = {{ZipItem::Directory, "bgm", ""},
                     {ZipItem::File, "bgm/home_bgm.ogg", oggTone(2.0, 261.63, 102)},
                     {ZipItem::File, "voice_b02.ogg", oggTone(0.6, 587.33, 103)}};
            break;
        default:
            items = {{ZipItem::File, "voice_b03a.ogg", oggTone(0.5, 659.25, 104)},
                     {ZipItem::File, "voice_b03b.ogg", oggTone(0.5, 698.46, 105)}};
            addJunk(items, "voice_b03a.ogg");
            break;
    }
    return items;
}

std::vector<ZipItem> voicePack(int bit) {
    const std::string p = "p" + std::to_string(bit);
    return {{ZipItem::File, "voice_" + p + "_01.ogg", oggTone(0.5, 392.0 * bit, 200 + bit)},
            {ZipItem::File, "voice_" + p + "_02.ogg", oggTone(0.5, 440.0 * bit, 210 + bit)}};
}

// A calm gradient with a few bands: original artwork, not a photograph.
bool writePicture(const std::string& path) {
    constexpr int w = 480, h = 320;
    std::vector<unsigned char> pixels(w * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &pixels[(y * w + x) * 3];
            const double band = 0.5 + 0.5 * std::sin((x + y) / 24.0);
            p[0] = static_cast<unsigned char>(40 + 120 * y / h);
            p[1] = static_cast<unsigned char>(90 + 60 * band);
            p[2] = static_cast<unsigned char>(160 + 90 * x / w);
        }
    }
    return stbi_write_jpg(path.c_str(), w, h, 3, pixels.data(), 90) != 0;
}

const char* kHomePage = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Pelora demo home</title></head>
<body style="background:#224;color:#fff;font-family:sans-serif">
<h1>Pelora</h1>
<p id="home">Welcome home. Your partner is waiting.</p>
</body></html>
)";

}  // namespace

std::vector<std::string> baseArchiveNames() { return {"pelora_base_01", "pelora_base_02", "pelora_base_03"}; }

std::string voicePackName(int bit) { return "pelora_voice_" + std::to_string(bit); }

std::string downloadListFor(int voiceKey) {
    std::string list =
        "b01\tpelora_base_01\t0\n"
        "b02\tpelora_base_02\t0\n"
        "b03a\tpelora_base_03\t0\n"
        "b03b\tpelora_base_03\t0\n"
        "old01\t-\t0\n";
    for (int bit : {1, 2, 4}) {
        if ((voiceKey & bit) == 0) continue;
        const std::string p = "p" + std::to_string(bit);
        list += p + "_01\t" + voicePackName(bit) + "\t1\n";
        list += p + "_02\t" + voicePackName(bit) + "\t1\n";
    }
    return list;
}

bool writeDownloadContent(const std::string& outDir) {
    std::error_code ec;
    for (const char* sub : {"lists", "img", "zip", "app"}) fs::create_directories(outDir + "/" + sub, ec);
    bool ok = writeText(outDir + "/version.txt", kDemoVersionAnswer);
    for (int k = 0; k < 8; ++k) ok = ok && writeText(outDir + "/lists/list_" + std::to_string(k) + ".txt", downloadListFor(k));
    const std::vector<std::string> bases = baseArchiveNames();
    for (size_t i = 0; i < bases.size(); ++i)
        ok = ok && writeZip(outDir + "/zip/" + bases[i] + ".zip", baseArchive(static_cast<int>(i) + 1));
    for (int bit : {1, 2, 4}) ok = ok && writeZip(outDir + "/zip/" + voicePackName(bit) + ".zip", voicePack(bit));
    ok = ok && writePicture(outDir + "/img/app_dl_img_all.jpg");
    ok = ok && writeText(outDir + "/app/index.html", kHomePage);
    return ok;
}

}  // namespace democontent
