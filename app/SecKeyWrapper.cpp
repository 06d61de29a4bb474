#include "app/SecKeyWrapper.h"

#include <openssl/evp.h>

#include <memory>

#include "platform/Log.h"

namespace app {
namespace {

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// Runs AES-128-ECB over whole blocks; false when OpenSSL fails.
bool runBlocks(const std::uint8_t* in, std::size_t length, const std::uint8_t* key, bool encipher,
               std::uint8_t* out) {
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx) return false;
    if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, key, nullptr, encipher ? 1 : 0) != 1) return false;
    if (EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1) return false;
    int moved = 0, tail = 0;
    if (EVP_CipherUpdate(ctx.get(), out, &moved, in, static_cast<int>(length)) != 1) return false;
    if (EVP_CipherFinal_ex(ctx.get(), out + moved, &tail) != 1) return false;
    return static_cast<std::size_t>(moved + tail) == length;
}

Bytes cipher(const std::uint8_t* data, std::size_t n, bool haveData, const std::uint8_t* key, std::size_t keyLength,
             bool haveKey, int operation) {
    if (!haveData) platform::log("PlainText object cannot be nil.");
    if (!haveKey) platform::log("Symmetric key object cannot be nil.");
    if (haveKey && keyLength != SecKeyWrapper::kKeySize) platform::log("Disjoint choices for key size.");
    if (n == 0) platform::log("Empty plaintext passed in.");
    // Without 16 key bytes the cipher would read past the key.
    if (!haveKey || keyLength < SecKeyWrapper::kKeySize) return {};
    if (operation != kCCEncrypt && operation != kCCDecrypt) {
        platform::log("Problem with encipherment ccStatus == %d", kCCParamError);
        return {};
    }

    if (operation == kCCEncrypt) {
        const std::size_t size = 16 * (n / 16 + 1);
        Bytes buffer(size, static_cast<std::uint8_t>(size - n));
        if (n > 0) std::copy(data, data + n, buffer.begin());
        Bytes out(size);
        if (!runBlocks(buffer.data(), size, key, true, out.data())) {
            platform::log("Problem with encipherment ccStatus == %d", kCCParamError);
            return {};
        }
        return out;
    }

    if (n == 0) return {};
    if (n % 16 != 0) {
        platform::log("Problem with encipherment ccStatus == %d", kCCAlignmentError);
        return {};
    }
    Bytes out(n);
    if (!runBlocks(data, n, key, false, out.data())) {
        platform::log("Problem with encipherment ccStatus == %d", kCCParamError);
        return {};
    }
    // The padding is not checked, but a length the padding cannot have (0 or
    // above one block) would cut real data: then nothing is stripped.
    const std::uint8_t pad = out.back();
    if (pad >= 1 && pad <= 16) out.resize(n - pad);
    return out;
}

}  // namespace

Bytes SecKeyWrapper::doCipher(const Bytes* data, const Bytes* key, int operation) {
    return cipher(data ? data->data() : nullptr, data ? data->size() : 0, data != nullptr,
                  key ? key->data() : nullptr, key ? key->size() : 0, key != nullptr, operation);
}

Bytes SecKeyWrapper::doCipher(std::string_view data, std::string_view key, int operation) {
    return cipher(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), true,
                  reinterpret_cast<const std::uint8_t*>(key.data()), key.size(), true, operation);
}

}  // namespace app
