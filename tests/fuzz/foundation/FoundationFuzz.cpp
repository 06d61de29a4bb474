// Feeds arbitrary bytes to the foundation's text parsers: the string
// helpers that read server lists and records, the dirname helper, the
// "dd://" URL expansion and the HTTP header receiver. Beyond memory safety
// it checks the properties callers depend on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CurlTransfer.h"
#include "foundation/FileSystem.h"
#include "foundation/HttpRequest.h"
#include "foundation/Ref.h"
#include "foundation/Strings.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

std::string join(const std::vector<std::string>& pieces, char delimiter) {
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i) out += delimiter;
        out += pieces[i];
    }
    return out;
}

void fuzzStrings(const std::string& text) {
    // Splitting at one character and joining again gives the text back.
    for (const char* d : {",", "\n", "\t"}) check(join(RK::split(text, d), d[0]) == text);
    const auto any = RK::splitAny(text, "/\r");
    std::size_t total = any.size() - 1;
    for (const auto& p : any) total += p.size();
    check(total == text.size());

    std::string replaced = text;
    RK::replaceAll(replaced, "\r", "\n");
    check(replaced.size() == text.size() && replaced.find('\r') == std::string::npos);
    RK::replaceAll(replaced, "\n", "\r\n");  // growing replacement must still end

    // A prefix of the text (as C string, so up to a zero byte) always matches.
    const std::string affix = text.substr(0, text.size() % 7);
    if (RK::safeLength(affix.c_str()) > 0) check(RK::startsWith(text, affix.c_str(), 0));
    RK::endsWith(text, affix.c_str(), 1);
    check(RK::format("%s|%zu", text.c_str(), text.size()).size() >= 1);
    RK::directoryOf(text);
}

void fuzzUrl(const std::string& text) {
    auto request = RK::RefPtr<RK::HttpRequest>::adopt(new RK::HttpRequest);
    const std::string asGiven(text.c_str());  // setUrl takes a C string
    request->setUrl(asGiven.c_str());
    if (!RK::startsWith(asGiven, "dd://", 1)) check(request->url == asGiven);
}

// Every header line, whatever its ending, is stored as one line with one "\n".
void fuzzHeaders(const std::uint8_t* data, std::size_t size) {
    std::vector<char> text;
    std::size_t start = 0;
    while (start < size) {
        const std::uint8_t* nl = static_cast<const std::uint8_t*>(std::memchr(data + start, '\n', size - start));
        const std::size_t end = nl ? static_cast<std::size_t>(nl - data) + 1 : size;
        // An exact-size copy so the sanitizer sees any access past the line.
        std::unique_ptr<char[]> line(new char[end - start]);
        std::memcpy(line.get(), data + start, end - start);
        const std::size_t before = text.size();
        check(RK::CurlTransfer::receiveHeader(line.get(), 1, end - start, &text) == end - start);
        check(!text.empty() && text.back() == '\n');
        check(text.size() - before <= end - start + 1);
        start = end;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzzStrings(text);
    fuzzUrl(text);
    fuzzHeaders(data, size);
    return 0;
}
