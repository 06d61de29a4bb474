#include "tools/demo-content/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace democontent {
namespace {

void appendPages(ogg_stream_state* stream, std::string& out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(stream, &page) : ogg_stream_pageout(stream, &page)) {
        out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
    }
}

// Everything libvorbis needs for one stream, released in reverse order.
struct Encoder {
    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    bool ready = false;

    Encoder(int channels, int rate, float quality, int serial) {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) return;
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, serial);
        ready = true;
    }
    ~Encoder() {
        if (ready) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
            vorbis_comment_clear(&comment);
        }
        vorbis_info_clear(&info);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    void drainBlocks(std::string& out) {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                appendPages(&stream, out, false);
            }
        }
    }
};

}  // namespace

std::string encodeOgg(const std::vector<float>& interleaved, int channels, int rate, float quality, int serial) {
    if (channels < 1) return {};
    Encoder enc(channels, rate, quality, serial);
    if (!enc.ready) return {};

    ogg_packet header, commentPacket, codebook;
    vorbis_analysis_headerout(&enc.dsp, &enc.comment, &header, &commentPacket, &codebook);
    ogg_stream_packetin(&enc.stream, &header);
    ogg_stream_packetin(&enc.stream, &commentPacket);
    ogg_stream_packetin(&enc.stream, &codebook);
    std::string out;
    appendPages(&enc.stream, out, true);

    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    for (size_t written = 0; written < frames;) {
        const size_t n = std::min<size_t>(1024, frames - written);
        float** buffers = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(n));
        for (size_t f = 0; f < n; ++f)
            for (int c = 0; c < channels; ++c)
                buffers[c][f] = interleaved[(written + f) * static_cast<size_t>(channels) + static_cast<size_t>(c)];
        vorbis_analysis_wrote(&enc.dsp, static_cast<int>(n));
        written += n;
        enc.drainBlocks(out);
    }
    vorbis_analysis_wrote(&enc.dsp, 0);
    enc.drainBlocks(out);
    appendPages(&enc.stream, out, true);
    return out;
}

}  // namespace democontent
