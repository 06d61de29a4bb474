#include <gtest/gtest.h>

#include "app/SecKeyWrapper.h"
#include "platform/Log.h"

using namespace app;

namespace {

Bytes hex(const std::string& text) {
    Bytes out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) out.push_back(std::stoi(text.substr(i, 2), nullptr, 16));
    return out;
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// NIST SP 800-38A, F.1.1 / F.1.2 (ECB-AES128).
const Bytes kNistKey = hex("2b7e151628aed2a6abf7158809cf4f3c");
const struct {
    const char* plain;
    const char* cipher;
} kNistBlocks[] = {
    {"6bc1bee22e409f96e93d7e117393172a", "3ad77bb40d7a3660a89ecaf32466ef97"},
    {"ae2d8a571e03ac9c9eb76fac45af8e51", "f5d3d58503b9699de785895a96fdbaaf"},
    {"30c81c46a35ce411e5fbc1191a0a52ef", "43b1cd7f598ece23881b00e3ed030688"},
    {"f69f2445df4f9b17ad2b417be66c3710", "7b0c785e27e8ad3f8223207104725dd4"},
};

}  // namespace

TEST(SecKeyWrapper, EncipheringMatchesTheNistVectorsFollowedByAPaddingBlock) {
    Bytes plain, expected;
    for (const auto& block : kNistBlocks) {
        plain = concat(plain, hex(block.plain));
        expected = concat(expected, hex(block.cipher));
    }
    const Bytes out = SecKeyWrapper::doCipher(&plain, &kNistKey, kCCEncrypt);
    ASSERT_EQ(out.size(), 80u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 64), expected);
    // The last block is sixteen bytes of value 16, enciphered alone.
    const Bytes pad(16, 16);
    const Bytes padOnly = SecKeyWrapper::doCipher(&pad, &kNistKey, kCCEncrypt);
    EXPECT_EQ(Bytes(out.begin() + 64, out.end()), Bytes(padOnly.begin(), padOnly.begin() + 16));
}

// Deciphering each NIST block alone: the padding is read from the last byte;
// 0x2a, 0x51 and 0xef cannot be padding lengths and leave the block whole,
// 0x10 strips the whole block.
TEST(SecKeyWrapper, DecipheringTheNistBlocksStripsOnlyPlausiblePadding) {
    for (const auto& block : kNistBlocks) {
        const Bytes cipher = hex(block.cipher);
        const Bytes plain = hex(block.plain);
        const Bytes out = SecKeyWrapper::doCipher(&cipher, &kNistKey, kCCDecrypt);
        if (plain.back() == 0x10) {
            EXPECT_TRUE(out.empty());
        } else {
            EXPECT_EQ(out, plain) << block.cipher;
        }
    }
}

TEST(SecKeyWrapper, OutputLengthIsTheNextMultipleOfSixteenAndRoundTrips) {
    const std::string key = "0123456789012345";
    struct Case {
        std::size_t in, out;
    } cases[] = {{0, 16}, {1, 16}, {15, 16}, {16, 32}, {17, 32}, {31, 32}, {32, 48}, {100, 112}};
    for (const Case& c : cases) {
        std::string data;
        for (std::size_t i = 0; i < c.in; ++i) data += static_cast<char>(i * 7);
        platform::LogCapture log;
        const Bytes enciphered = SecKeyWrapper::doCipher(data, key, kCCEncrypt);
        EXPECT_EQ(enciphered.size(), c.out) << c.in;
        EXPECT_EQ(log.contains("Empty plaintext passed in."), c.in == 0);
        const Bytes back = SecKeyWrapper::doCipher(textOf(enciphered), key, kCCDecrypt);
        EXPECT_EQ(textOf(back), data) << c.in;
    }
}

TEST(SecKeyWrapper, BadKeysAndInputsLogAndGiveNothing) {
    const Bytes shortKey(15, 'k');  // on the heap: reading a 16th byte would trip ASan
    const Bytes data = bytesOf("identifier");
    const Bytes fifteen(15, 1), seventeen(17, 1), empty;
    struct Case {
        const char* name;
        const Bytes* data;
        const Bytes* key;
        int op;
        const char* logged;
    } cases[] = {
        {"null key", &data, nullptr, kCCEncrypt, "Symmetric key object cannot be nil."},
        {"short key", &data, &shortKey, kCCEncrypt, "Disjoint choices for key size."},
        {"short key decipher", &data, &shortKey, kCCDecrypt, "Disjoint choices for key size."},
        {"empty decipher", &empty, &kNistKey, kCCDecrypt, "Empty plaintext passed in."},
        {"null decipher", nullptr, &kNistKey, kCCDecrypt, "PlainText object cannot be nil."},
        {"15-byte decipher", &fifteen, &kNistKey, kCCDecrypt, "Problem with encipherment ccStatus == -4303"},
        {"17-byte decipher", &seventeen, &kNistKey, kCCDecrypt, "Problem with encipherment ccStatus == -4303"},
        {"unknown operation", &data, &kNistKey, 2, "Problem with encipherment ccStatus == -4300"},
    };
    for (const Case& c : cases) {
        platform::LogCapture log;
        EXPECT_TRUE(SecKeyWrapper::doCipher(c.data, c.key, c.op).empty()) << c.name;
        EXPECT_TRUE(log.contains(c.logged)) << c.name << ": " << log.text();
    }
}

TEST(SecKeyWrapper, NullDataEnciphersAsEmptyAndLongKeysUseTheirFirstSixteenBytes) {
    platform::LogCapture log;
    const Bytes fromNull = SecKeyWrapper::doCipher(nullptr, &kNistKey, kCCEncrypt);
    EXPECT_TRUE(log.contains("PlainText object cannot be nil."));
    EXPECT_TRUE(log.contains("Empty plaintext passed in."));
    const Bytes empty;
    EXPECT_EQ(fromNull, SecKeyWrapper::doCipher(&empty, &kNistKey, kCCEncrypt));
    EXPECT_EQ(fromNull.size(), 16u);

    Bytes longKey = kNistKey;
    longKey.push_back(0x99);
    log.clear();
    const Bytes data = bytesOf("abc");
    EXPECT_EQ(SecKeyWrapper::doCipher(&data, &longKey, kCCEncrypt), SecKeyWrapper::doCipher(&data, &kNistKey, kCCEncrypt));
    EXPECT_TRUE(log.contains("Disjoint choices for key size."));
}

TEST(SecKeyWrapper, AZeroOrOversizedPaddingByteLeavesTheOutputWhole) {
    for (std::uint8_t last : {0, 17, 255}) {
        Bytes block(16, 'p');
        block.back() = last;
        // Encipher without our padding by taking the first block of a padded run.
        const Bytes padded = SecKeyWrapper::doCipher(&block, &kNistKey, kCCEncrypt);
        const Bytes first(padded.begin(), padded.begin() + 16);
        EXPECT_EQ(SecKeyWrapper::doCipher(&first, &kNistKey, kCCDecrypt), block) << int(last);
    }
}
