#include "audio/OggDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/audio/support/TestClips.h"

namespace {

using audiotest::Clip;
using audiotest::ScopedDir;

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};
using Block = std::unique_ptr<char, FreeDeleter>;

std::vector<char> decodeAll(const std::string& path) {
    int size = 0;
    ALenum format = 0;
    int rate = 0;
    Block block(RK::decodeOggFile(path.c_str(), &size, &format, &rate));
    if (!block) return {};
    return std::vector<char>(block.get(), block.get() + size);
}

TEST(OggDecoderBufferBytes, QuarterSecondInWholeFrames) {
    struct Case {
        int channels, rate, expected;
    } cases[] = {
        {1, 22050, 11024},  // rate / 2 would be half a sample
        {1, 44100, 22050},
        {2, 44100, 44100},
        {2, 22050, 22048},  // 22 050 bytes is not a whole stereo frame either
        {6, 48000, 48000},
        {0, 44100, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RK::OggDecoder::bufferBytesFor(c.channels, c.rate), c.expected)
            << c.channels << " ch at " << c.rate;
    }
}

class OggDecoderTest : public ::testing::Test {
protected:
    std::string clip(const std::string& name, const Clip& clip) {
        const std::string path = dir_.file(name);
        EXPECT_TRUE(audiotest::writeOggClip(path, clip));
        return path;
    }
    ScopedDir dir_{"oggdec"};
};

TEST_F(OggDecoderTest, OpenReportsStreamShape) {
    struct Case {
        int channels, rate, bufferBytes;
    } cases[] = {{1, 22050, 11024}, {2, 44100, 44100}, {2, 22050, 22048}, {1, 44100, 22050}};
    for (const Case& c : cases) {
        const std::string path = clip("shape.ogg", {c.channels, c.rate, 4000});
        RK::OggFileDecoder decoder;
        ASSERT_EQ(decoder.open(path.c_str()), 0);
        EXPECT_TRUE(decoder.opened);
        EXPECT_EQ(decoder.channels, c.channels);
        EXPECT_EQ(decoder.rate, c.rate);
        EXPECT_EQ(decoder.bufferBytes, c.bufferBytes);
    }
}

TEST_F(OggDecoderTest, OpenFailsCleanlyOnMissingOrForeignFiles) {
    const std::string text = dir_.file("not-ogg.ogg");
    std::ofstream(text) << "this is not an Ogg stream at all, just some words";
    RK::OggFileDecoder missing;
    EXPECT_EQ(missing.open(dir_.file("absent.ogg").c_str()), -1);
    EXPECT_FALSE(missing.opened);
    RK::OggFileDecoder empty;
    EXPECT_EQ(empty.open(""), -1);
    RK::OggFileDecoder foreign;
    EXPECT_LT(foreign.open(text.c_str()), 0);
    EXPECT_FALSE(foreign.opened);
    // A closed decoder fills nothing and says the stream is over.
    std::vector<char> block(64, 'x');
    bool end = false;
    EXPECT_EQ(foreign.fillBuffer(block.data(), true, &end), 0);
    EXPECT_TRUE(end);
}

TEST_F(OggDecoderTest, LoopingShortClipRepeatsSeamlesslyInsideOneBuffer) {
    const std::string path = clip("short.ogg", {1, 44100, 1000});
    const std::vector<char> pass = decodeAll(path);
    ASSERT_EQ(pass.size(), 2000u);
    RK::OggFileDecoder decoder;
    ASSERT_EQ(decoder.open(path.c_str()), 0);
    std::vector<char> block(decoder.bufferBytes);
    bool end = true;
    ASSERT_EQ(decoder.fillBuffer(block.data(), true, &end), decoder.bufferBytes);
    EXPECT_FALSE(end);
    for (size_t i = 0; i < block.size(); ++i) {
        ASSERT_EQ(block[i], pass[i % pass.size()]) << "byte " << i;
    }
}

TEST_F(OggDecoderTest, NonLoopingShortClipEndsInFirstBuffer) {
    const std::string path = clip("short.ogg", {2, 22050, 700});
    RK::OggFileDecoder decoder;
    ASSERT_EQ(decoder.open(path.c_str()), 0);
    int bytes = -1;
    bool end = false;
    Block block(decoder.allocBuffer(&bytes, false, &end));
    ASSERT_TRUE(block);
    EXPECT_EQ(bytes, 700 * 4);
    EXPECT_TRUE(end);
    for (int i = bytes; i < decoder.bufferBytes; ++i) ASSERT_EQ(block.get()[i], 0) << i;
}

TEST_F(OggDecoderTest, ExactMultipleEndsOnTheFillAfterTheLastFullBuffer) {
    struct Case {
        int channels, rate;
    } cases[] = {{1, 22050}, {2, 44100}};
    for (const Case& c : cases) {
        const int bufferBytes = RK::OggDecoder::bufferBytesFor(c.channels, c.rate);
        const long frames = 2L * bufferBytes / (2 * c.channels);
        const std::string path = clip("exact.ogg", {c.channels, c.rate, frames});
        RK::OggFileDecoder decoder;
        ASSERT_EQ(decoder.open(path.c_str()), 0);
        std::vector<char> block(decoder.bufferBytes);
        for (int i = 0; i < 2; ++i) {
            bool end = true;
            EXPECT_EQ(decoder.fillBuffer(block.data(), false, &end), bufferBytes);
            EXPECT_FALSE(end) << "buffer " << i;
        }
        bool end = false;
        EXPECT_EQ(decoder.fillBuffer(block.data(), false, &end), 0);
        EXPECT_TRUE(end);
    }
}

TEST_F(OggDecoderTest, SeekToStartReplaysTheSameSamples) {
    const std::string path = clip("seek.ogg", {2, 44100, 30000});
    RK::OggFileDecoder decoder;
    ASSERT_EQ(decoder.open(path.c_str()), 0);
    std::vector<char> first(decoder.bufferBytes), again(decoder.bufferBytes);
    decoder.fillBuffer(first.data(), false);
    decoder.fillBuffer(again.data(), false);
    EXPECT_NE(first, again);
    EXPECT_EQ(decoder.seekTime(0.0), 0);
    decoder.fillBuffer(again.data(), false);
    EXPECT_EQ(first, again);
}

TEST_F(OggDecoderTest, WholeFileDecode) {
    struct Case {
        int channels, rate;
        long frames;
    } cases[] = {{1, 22050, 12345}, {2, 44100, 44100}, {2, 22050, 1}};
    for (const Case& c : cases) {
        const std::string path = clip("whole.ogg", {c.channels, c.rate, c.frames});
        int size = -1, rate = -1;
        ALenum format = 0;
        Block block(RK::decodeOggFile(path.c_str(), &size, &format, &rate));
        ASSERT_TRUE(block);
        EXPECT_EQ(size, c.frames * 2 * c.channels);
        EXPECT_EQ(format, c.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16);
        EXPECT_EQ(rate, c.rate);
    }
}

TEST_F(OggDecoderTest, WholeFileDecodeOfEmptyOrMissingStream) {
    const std::string path = clip("empty.ogg", {1, 44100, 0});
    int size = -1, rate = -1;
    ALenum format = 0;
    EXPECT_EQ(RK::decodeOggFile(path.c_str(), &size, &format, &rate), nullptr);
    EXPECT_EQ(size, 0);
    size = 77;
    EXPECT_EQ(RK::decodeOggFile(dir_.file("absent.ogg").c_str(), &size, &format, &rate), nullptr);
    EXPECT_EQ(size, 77);  // untouched
    // Looping an empty stream must not spin on the wrap.
    RK::OggFileDecoder decoder;
    ASSERT_EQ(decoder.open(path.c_str()), 0);
    std::vector<char> block(decoder.bufferBytes);
    bool end = false;
    EXPECT_EQ(decoder.fillBuffer(block.data(), true, &end), 0);
    EXPECT_TRUE(end);
}

// Damaged data (holes from lost pages, truncation) must never move the fill
// position backwards, overrun the block, or hang a looping fill.
TEST_F(OggDecoderTest, DamagedStreamsDecodeWithinBounds) {
    const std::string good = clip("good.ogg", {2, 44100, 60000});
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t full = decodeAll(good).size();
    struct Case {
        const char* name;
        size_t cutAt;   // truncate here (0: keep)
        size_t holeAt;  // overwrite 600 bytes here (0: none)
    } cases[] = {{"truncated", bytes.size() * 2 / 3, 0}, {"hole", 0, bytes.size() / 2}, {"late hole", 0, bytes.size() * 4 / 5},
                 {"both", bytes.size() * 3 / 4, bytes.size() / 3}};
    int opened = 0;
    for (const Case& c : cases) {
        std::string damaged = bytes;
        if (c.holeAt) std::memset(damaged.data() + c.holeAt, 0x5a, 600);
        if (c.cutAt) damaged.resize(c.cutAt);
        const std::string path = dir_.file(std::string(c.name) + ".ogg");
        std::ofstream(path, std::ios::binary) << damaged;

        int size = 0;
        ALenum format = 0;
        int rate = 0;
        Block block(RK::decodeOggFile(path.c_str(), &size, &format, &rate));
        EXPECT_GE(size, 0) << c.name;
        EXPECT_LT(static_cast<size_t>(size), full) << c.name;

        // Opening scans the pages; refusing a damaged file is fine too.
        RK::OggFileDecoder decoder;
        if (decoder.open(path.c_str()) != 0) {
            EXPECT_FALSE(decoder.opened);
            continue;
        }
        ++opened;
        std::vector<char> buffer(decoder.bufferBytes + 16, 0x11);
        for (int i = 0; i < 12; ++i) {
            bool end = false;
            const int n = decoder.fillBuffer(buffer.data(), true, &end);
            ASSERT_GE(n, 0);
            ASSERT_LE(n, decoder.bufferBytes);
            for (int k = 0; k < 16; ++k) ASSERT_EQ(buffer[decoder.bufferBytes + k], 0x11) << "overrun";
        }
    }
    EXPECT_GE(opened, 1);
}

}  // namespace
