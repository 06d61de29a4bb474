#pragma once
// The download host's content of the demo game: the version answer, one
// download list per voice-pack bit set, the loading-screen picture, the
// resource archives and the first home page. Layout below the output
// directory:
//   version.txt              answer of /app_version.php
//   lists/list_<k>.txt       answer of /app_dl_list.php?id=<k>, k = 0 ... 7
//   img/app_dl_img_all.jpg   answer of /img/php/app_dl_img_all.php
//   zip/<name>.zip           answer of /resource/download/zip/<name>.zip
//   app/index.html           the application host's "/"
#include <string>
#include <vector>

namespace democontent {

inline constexpr const char* kDemoVersionAnswer = "1,PELORA_ver01";

// The archives every list names (three groups: a first run shows the gauge
// at 33, 66 and 100) and the voice packs behind bits 1, 2 and 4.
std::vector<std::string> baseArchiveNames();
std::string voicePackName(int bit);

// The list for a voice key (only its low three bits count).
std::string downloadListFor(int voiceKey);

// Writes everything below outDir; false on any failure.
bool writeDownloadContent(const std::string& outDir);

}  // namespace democontent
