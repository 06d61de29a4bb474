#include "app/Base64.h"

#include <array>

namespace app {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Position of each byte in the alphabet, -1 for bytes outside it.
constexpr std::array<int, 256> kPositions = [] {
    std::array<int, 256> table{};
    for (int& p : table) p = -1;
    for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}();

int position(char c) { return kPositions[static_cast<unsigned char>(c)]; }

}  // namespace

std::string base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
        if (left > 1) group |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
        if (left > 2) group |= static_cast<std::uint8_t>(bytes[i + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        out += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return out;
}

std::string dataEncodedWithBase64(const Bytes& bytes) {
    return base64Encode(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string stringEncodedWithBase64(std::string_view text) { return base64Encode(text); }

std::optional<Bytes> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=') padding = text.size() >= 2 && text[text.size() - 2] == '=' ? 2 : 1;
    Bytes out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const std::size_t pads = last ? padding : 0;
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const int p = j < 4 - pads ? position(text[i + j]) : 0;
            if (p < 0) return std::nullopt;  // "=" inside the text lands here too
            group = group << 6 | static_cast<std::uint32_t>(p);
        }
        out.push_back(static_cast<std::uint8_t>(group >> 16));
        if (pads < 2) out.push_back(static_cast<std::uint8_t>(group >> 8));
        if (pads < 1) out.push_back(static_cast<std::uint8_t>(group));
    }
    return out;
}

std::string stringDecodedWithBase64(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const int p = i + j < text.size() ? position(text[i + j]) : 0;
            group = group << 6 | static_cast<std::uint32_t>(p < 0 ? 0 : p);
        }
        for (int shift : {16, 8, 0}) {
            const auto byte = static_cast<std::uint8_t>(group >> shift);
            if (byte == 0) return out;
            if (byte < 0x80) {
                out += static_cast<char>(byte);
            } else {
                out += static_cast<char>(0xC0 | (byte >> 6));
                out += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
    }
    return out;
}

}  // namespace app
