#include "tests/audio/support/TestClips.h"

#include <sndfile.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace audiotest {
namespace {

float sampleAt(const Clip& clip, long frame, int channel) {
    const double phase = 2.0 * M_PI * clip.frequency * static_cast<double>(frame) / clip.rate;
    // The second channel is a quarter period ahead so the two are told apart.
    return clip.amplitude * static_cast<float>(std::sin(phase + channel * M_PI / 2));
}

bool writePages(ogg_stream_state* stream, FILE* out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(stream, &page) : ogg_stream_pageout(stream, &page)) {
        if (std::fwrite(page.header, 1, page.header_len, out) != static_cast<size_t>(page.header_len)) return false;
        if (std::fwrite(page.body, 1, page.body_len, out) != static_cast<size_t>(page.body_len)) return false;
    }
    return true;
}

}  // namespace

bool writeOggClip(const std::string& path, const Clip& clip) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, clip.channels, clip.rate, 0.5f) != 0) {
        vorbis_info_clear(&info);
        std::fclose(out);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    ogg_packet header, commentPacket, codebook;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebook);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebook);
    bool ok = writePages(&stream, out, true);

    const long chunk = 1024;
    long written = 0;
    bool submittedEnd = false;
    while (ok && !submittedEnd) {
        const long n = std::min(chunk, clip.frames - written);
        if (n > 0) {
            float** buffers = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (long f = 0; f < n; ++f)
                for (int c = 0; c < clip.channels; ++c) buffers[c][f] = sampleAt(clip, written + f, c);
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            written += n;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
            submittedEnd = true;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                ok = ok && writePages(&stream, out, false);
            }
        }
    }
    ok = ok && writePages(&stream, out, true);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(out) == 0 && ok;
}

bool writeWavClip(const std::string& path, const Clip& clip) {
    SF_INFO info{};
    info.samplerate = clip.rate;
    info.channels = clip.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<short> samples(static_cast<size_t>(clip.frames) * clip.channels);
    for (long f = 0; f < clip.frames; ++f)
        for (int c = 0; c < clip.channels; ++c)
            samples[static_cast<size_t>(f) * clip.channels + c] =
                static_cast<short>(std::lround(sampleAt(clip, f, c) * 32767.0f));
    const sf_count_t done = sf_writef_short(file, samples.data(), clip.frames);
    return sf_close(file) == 0 && done == clip.frames;
}

std::string makeTempDir(const std::string& tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("pelora-" + tag + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

void removeTree(const std::string& path) {
    if (path.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

}  // namespace audiotest
