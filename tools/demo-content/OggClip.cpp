#include "tools/demo-content/OggClip.h"

#include <vorbis/vorbisenc.h>

#include <cmath>

namespace democontent {
namespace {

void appendPages(ogg_stream_state* stream, std::string& out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(stream, &page) : ogg_stream_pageout(stream, &page)) {
        out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
    }
}

}  // namespace

std::string oggTone(double seconds, double frequency, int serial) {
    constexpr int kRate = 22050;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, kRate, 0.3f) != 0) {
        vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    ogg_packet header, commentPacket, codebook;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebook);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebook);
    std::string out;
    appendPages(&stream, out, true);

    const long frames = static_cast<long>(seconds * kRate);
    long written = 0;
    bool ended = false;
    while (!ended) {
        const long n = std::min(1024L, frames - written);
        if (n > 0) {
            float** buffers = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (long f = 0; f < n; ++f) {
                const double t = static_cast<double>(written + f) / kRate;
                const double fade = std::min(1.0, std::min(t, seconds - t) * 20.0);  // no clicks
                buffers[0][f] = static_cast<float>(0.4 * fade * std::sin(2 * M_PI * frequency * t));
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            written += n;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
            ended = true;
        }
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
    appendPages(&stream, out, true);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace democontent
