// render-model: one frame of a model file as a PNG.
//
//   render-model MODEL.moc OUT.png [--size WxH] [--background RRGGBB]
//                [--texture SLOT=FILE.png]... [--part NAME=OPACITY]... [NAME=VALUE]...
//                [--motion FILE.mtn [--at MS]]
//
// NAME=VALUE arguments set parameters (in order) before the update. A motion
// is applied after them as it stands MS milliseconds after its start (0 by
// default), on a set clock.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/render-model/ModelRenderer.h"

namespace {

bool splitPair(const char* arg, std::string& name, std::string& value) {
    const char* eq = std::strchr(arg, '=');
    if (eq == nullptr || eq == arg) return false;
    name.assign(arg, eq);
    value.assign(eq + 1);
    return !value.empty();
}

bool parseFloat(const std::string& text, float& out) {
    char* end = nullptr;
    out = std::strtof(text.c_str(), &end);
    return end != text.c_str() && *end == '\0';
}

int usage() {
    std::fprintf(stderr,
                 "usage: render-model MODEL OUT.png [--size WxH] [--background RRGGBB]\n"
                 "                    [--texture SLOT=FILE.png]... [--part NAME=OPACITY]... [NAME=VALUE]...\n"
                 "                    [--motion FILE.mtn [--at MS]]\n");
    return 2;
}

bool parseOption(const std::string& opt, const char* arg, rendermodel::RenderJob& job) {
    std::string name, value;
    if (opt == "--size") return std::sscanf(arg, "%dx%d", &job.width, &job.height) == 2 && job.width > 0 && job.height > 0;
    if (opt == "--background") {
        char* end = nullptr;
        job.background = static_cast<unsigned>(std::strtoul(arg, &end, 16));
        return *end == '\0';
    }
    if (opt == "--motion") {
        std::ifstream in(arg, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "render-model: cannot read %s\n", arg);
            return false;
        }
        job.motionBytes.assign(std::istreambuf_iterator<char>(in), {});
        job.hasMotion = true;
        return true;
    }
    if (opt == "--at") {
        char* end = nullptr;
        job.motionAtMSec = std::strtoll(arg, &end, 10);
        return end != arg && *end == '\0';
    }
    if (!splitPair(arg, name, value)) return false;
    if (opt == "--texture") {
        rendermodel::Image image;
        std::string error;
        if (!rendermodel::readPng(value, image, error)) {
            std::fprintf(stderr, "render-model: %s\n", error.c_str());
            return false;
        }
        job.textures.emplace_back(std::atoi(name.c_str()), std::move(image));
        return true;
    }
    float v = 0;
    if (opt == "--part" && parseFloat(value, v)) {
        job.partOpacities.emplace_back(name, v);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    rendermodel::RenderJob job;
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "render-model: cannot read %s\n", argv[1]);
        return 1;
    }
    job.modelBytes.assign(std::istreambuf_iterator<char>(in), {});
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) == 0) {
            if (i + 1 >= argc || !parseOption(arg, argv[i + 1], job)) return usage();
            ++i;
            continue;
        }
        std::string name, value;
        float v = 0;
        if (!splitPair(argv[i], name, value) || !parseFloat(value, v)) return usage();
        job.params.emplace_back(name, v);
    }
    if (job.motionAtMSec != 0 && !job.hasMotion) return usage();
    rendermodel::Image image;
    std::string error;
    if (!rendermodel::renderModel(job, image, error) || !rendermodel::writePng(argv[2], image, error)) {
        std::fprintf(stderr, "render-model: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
