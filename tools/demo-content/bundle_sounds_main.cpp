// Writes the bundle's sounds into a directory: pelora_demo_bundle_sounds OUTDIR.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/demo-content/BundleSounds.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pelora_demo_bundle_sounds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    int serial = 4600;
    for (const democontent::BundleSound& sound : democontent::bundleSounds()) {
        const std::string ogg = democontent::encodeMonoOgg(sound.samples, democontent::kBundleSoundRate, ++serial);
        const std::filesystem::path path = dir / sound.name;
        FILE* file = ogg.empty() ? nullptr : std::fopen(path.c_str(), "wb");
        const bool ok = file && std::fwrite(ogg.data(), 1, ogg.size(), file) == ogg.size();
        if (file && std::fclose(file) != 0) return 1;
        if (!ok) {
            std::fprintf(stderr, "pelora_demo_bundle_sounds: could not write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
