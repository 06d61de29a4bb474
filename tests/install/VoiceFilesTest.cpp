// The voice-file index answers exactly as a stat of each path would, before
// and after it switches to reading the directory.
#include "install/VoiceFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/SearchPaths.h"
#include "install/DownloadList.h"
#include "tests/support/TempDir.h"

namespace {

TEST(VoiceFiles, AgreeWithAStatOfEveryPath) {
    testsupport::TempDir dir;
    const std::string caches = dir.path();
    for (int i = 0; i < 100; i += 3) std::ofstream(caches + "/voice_" + std::to_string(i) + ".ogg") << "x";
    std::filesystem::create_directory(caches + "/voice_dir.ogg");
    ASSERT_EQ(::symlink((caches + "/voice_0.ogg").c_str(), (caches + "/voice_link.ogg").c_str()), 0);
    ASSERT_EQ(::symlink((caches + "/absent").c_str(), (caches + "/voice_dangling.ogg").c_str()), 0);
    std::ofstream(caches + "/voice_x.ogg.part") << "x";

    std::vector<std::string> ids;
    for (int i = 0; i < 100; ++i) ids.push_back(std::to_string(i));
    for (const char* id : {"dir", "link", "dangling", "x", "x.ogg", "", "3 "}) ids.push_back(id);

    install::VoiceFiles voices(caches);  // the first 32 questions stat, the rest use the listing
    for (const std::string& id : ids)
        EXPECT_EQ(voices.exists(id), RK::fileExists(install::voiceFilePath(caches, id).c_str())) << id;
}

TEST(VoiceFiles, MissingDirectoryMeansNoVoices) {
    install::VoiceFiles voices("/nonexistent-pelora-caches");
    for (int i = 0; i < 40; ++i) EXPECT_FALSE(voices.exists(std::to_string(i)));
}

}  // namespace
