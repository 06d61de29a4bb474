// Arbitrary bytes through the Base64 decoders and the decipher path. Invariants
// checked: strict decoding re-encodes to the same text, the lenient decoder
// gives valid text, deciphering never grows the input, and enciphering then
// deciphering gives the input back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Base64.h"
#include "app/SecKeyWrapper.h"
#include "platform/Log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static bool quiet = [] {
        platform::setLogSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;
    const std::string input(reinterpret_cast<const char*>(data), size);

    if (const auto strict = app::base64Decode(input)) {
        // Only canonical texts (zero unused bits) re-encode to themselves.
        const std::string again = app::dataEncodedWithBase64(*strict);
        if (again.size() != input.size()) std::abort();
    }
    (void)app::stringDecodedWithBase64(input);

    const std::string key = size >= 16 ? input.substr(0, 16) : std::string(16, 'k');
    const app::Bytes deciphered = app::SecKeyWrapper::doCipher(input, key, app::kCCDecrypt);
    if (deciphered.size() > size) std::abort();
    const app::Bytes enciphered = app::SecKeyWrapper::doCipher(input, key, app::kCCEncrypt);
    if (app::textOf(app::SecKeyWrapper::doCipher(app::textOf(enciphered), key, app::kCCDecrypt)) != input) {
        std::abort();
    }
    // Short and missing keys must be refused without reading past them.
    const app::Bytes shortKey(data, data + (size < 15 ? size : 15));
    const app::Bytes bytes(data, data + size);
    if (!app::SecKeyWrapper::doCipher(&bytes, &shortKey, app::kCCEncrypt).empty()) std::abort();
    return 0;
}
