#pragma once
// The symmetric cipher that protects the identifiers sent to the game server:
// AES-128 in ECB mode. The operation adds and strips PKCS#7 padding itself;
// the block cipher runs without padding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/Bytes.h"

namespace app {

enum CCOperation : int { kCCEncrypt = 0, kCCDecrypt = 1 };

// The block cipher's failure statuses, numbered as the phone's.
inline constexpr int kCCParamError = -4300;
inline constexpr int kCCAlignmentError = -4303;

class SecKeyWrapper {
public:
    static constexpr std::size_t kKeySize = 16;

    // data or key may be null (the phone's nil). Enciphering pads to the next
    // multiple of 16 above the length (so 16 bytes give 32). Deciphering strips
    // as many bytes as the last byte says when that is 1..16; any other last
    // byte leaves the output whole. Keys longer than 16 bytes use their first
    // 16. Refused inputs give an empty result and a log line: a null or short
    // key, deciphering empty input or input that is not whole blocks, an
    // operation other than 0 or 1.
    static Bytes doCipher(const Bytes* data, const Bytes* key, int operation);

    // Convenience over byte strings (a key given as text, such as the
    // deployment's 16-character key).
    static Bytes doCipher(std::string_view data, std::string_view key, int operation);
};

}  // namespace app
