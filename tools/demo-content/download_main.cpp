// Writes the demo download host's content: pelora_demo_download_content OUTDIR.
#include <cstdio>

#include "tools/demo-content/DownloadContent.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    if (!democontent::writeDownloadContent(argv[1])) {
        std::fprintf(stderr, "pelora_demo_download_content: writing %s failed\n", argv[1]);
        return 1;
    }
    return 0;
}
