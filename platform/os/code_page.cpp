#include "platform/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "platform/text_helpers.h"

namespace si32 {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

std::string iconvName(uint32_t codePage) {
    if (codePage == CP_UTF8) return "UTF-8";
    return "CP" + std::to_string(codePage);
}

// One iconv conversion descriptor, closed however the conversion ends.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much of in as fits in out; both advance. errno tells why
    // it stopped when the result is false.
    bool step(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        // iconv's input is char** for historic reasons; it never writes there.
        char* input = const_cast<char*>(in);
        const size_t result = iconv(cd_, &input, &inLeft, &out, &outLeft);
        in = input;
        return result != static_cast<size_t>(-1);
    }

private:
    iconv_t cd_;
};

size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Converts the whole text; whatever the source cannot convert at a position
// becomes replacement, and skip says how many input bytes that position
// takes.
template <class Skip>
std::string convert(Converter& converter, std::string_view text, std::string_view replacement, Skip skip) {
    std::string result;
    std::string chunk(4096, '\0');
    const char* in = text.data();
    size_t inLeft = text.size();
    while (inLeft > 0) {
        char* out = chunk.data();
        size_t outLeft = chunk.size();
        const bool done = converter.step(in, inLeft, out, outLeft);
        const int error = errno;
        result.append(chunk.data(), chunk.size() - outLeft);
        if (done || error == E2BIG) continue;
        // EILSEQ or EINVAL: a sequence the source does not hold, or one cut
        // off by the end of the text.
        result += replacement;
        const size_t n = std::min(inLeft, skip(static_cast<unsigned char>(*in)));
        in += n;
        inLeft -= n;
        converter.reset();
    }
    return result;
}

}  // namespace

bool IsKnownCodePage(uint32_t codePage) {
    return Converter("UTF-8", iconvName(codePage)).valid() && Converter(iconvName(codePage), "UTF-8").valid();
}

namespace {

// The Windows ANSI code pages and UTF-8 all keep the first 128 bytes as
// ASCII; EBCDIC pages do not, so only these may skip the converter, whose
// opening costs more than the short captions it is mostly given.
bool keepsAscii(uint32_t codePage) { return codePage == CP_UTF8 || (codePage >= 1250 && codePage <= 1258); }

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string DecodeAnsi(std::string_view bytes, uint32_t codePage) {
    if (keepsAscii(codePage) && isAscii(bytes)) return std::string(bytes);
    Converter converter("UTF-8", iconvName(codePage));
    if (!converter.valid()) throw std::invalid_argument("unknown code page " + std::to_string(codePage));
    return convert(converter, bytes, kReplacement, [](unsigned char) { return size_t{1}; });
}

std::string EncodeAnsi(std::string_view utf8, uint32_t codePage) {
    Converter converter(iconvName(codePage), "UTF-8");
    if (!converter.valid()) throw std::invalid_argument("unknown code page " + std::to_string(codePage));
    return convert(converter, utf8, "?", utf8SequenceLength);
}

std::string DecodeUtf16Le(std::string_view bytes) {
    Converter converter("UTF-8", "UTF-16LE");
    return convert(converter, bytes, kReplacement, [](unsigned char) { return size_t{2}; });
}

bool DecodesExactly(std::string_view bytes, uint32_t codePage) {
    const std::string decoded = DecodeAnsi(bytes, codePage);
    // Most texts are ASCII, which every code page here holds as it is.
    if (decoded.size() == bytes.size() && decoded == bytes) return true;
    return codePage == CP_UTF8 ? false : EncodeAnsi(decoded, codePage) == bytes;
}

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendEscaped(std::string& out, std::string_view utf8) {
    for (char c : utf8) {
        if (c == '%') out += "%25";
        else out += c;
    }
}

// The number of bytes at the start of bytes that form one character which
// decodes and encodes back into the same bytes (its UTF-8 in utf8); 0 when
// no such character starts there.
size_t exactCharacter(Converter& decode, Converter& encode, std::string_view bytes, std::string& utf8) {
    for (size_t length = 1; length <= std::min<size_t>(4, bytes.size()); ++length) {
        char decoded[16];
        decode.reset();
        const char* in = bytes.data();
        size_t inLeft = length;
        char* out = decoded;
        size_t outLeft = sizeof decoded;
        if (!decode.step(in, inLeft, out, outLeft) || inLeft != 0 || out == decoded) continue;
        char encoded[16];
        encode.reset();
        const char* back = decoded;
        size_t backLeft = static_cast<size_t>(out - decoded);
        char* again = encoded;
        size_t againLeft = sizeof encoded;
        if (!encode.step(back, backLeft, again, againLeft) || backLeft != 0) continue;
        if (std::string_view(encoded, static_cast<size_t>(again - encoded)) != bytes.substr(0, length)) continue;
        utf8.assign(decoded, static_cast<size_t>(out - decoded));
        return length;
    }
    return 0;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string EscapeAnsi(std::string_view bytes, uint32_t codePage) {
    std::string out;
    if (DecodesExactly(bytes, codePage)) {
        appendEscaped(out, DecodeAnsi(bytes, codePage));
        return out;
    }
    Converter decode("UTF-8", iconvName(codePage));
    Converter encode(iconvName(codePage), "UTF-8");
    if (!decode.valid() || !encode.valid())
        throw std::invalid_argument("unknown code page " + std::to_string(codePage));
    std::string character;
    while (!bytes.empty()) {
        if (const size_t length = exactCharacter(decode, encode, bytes, character); length > 0) {
            appendEscaped(out, character);
            bytes.remove_prefix(length);
            continue;
        }
        const auto b = static_cast<unsigned char>(bytes.front());
        out += '%';
        out += kHexDigits[b >> 4];
        out += kHexDigits[b & 0x0F];
        bytes.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> UnescapeAnsi(std::string_view escaped, uint32_t codePage) {
    std::string out;
    while (!escaped.empty()) {
        const size_t percent = escaped.find('%');
        const std::string_view plain = escaped.substr(0, percent);
        out += codePage == CP_UTF8 ? std::string(plain) : EncodeAnsi(plain, codePage);
        if (percent == std::string_view::npos) break;
        if (escaped.size() < percent + 3) return std::nullopt;
        const int high = hexValue(escaped[percent + 1]), low = hexValue(escaped[percent + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        escaped.remove_prefix(percent + 3);
    }
    return out;
}

std::string_view AnsiPrefix(std::string_view text, std::size_t maxBytes, uint32_t codePage) {
    if (text.size() <= maxBytes) return text;
    if (codePage == CP_UTF8) return utf8Prefix(text, maxBytes);
    Converter converter("UTF-32LE", iconvName(codePage));
    if (!converter.valid()) throw std::invalid_argument("unknown code page " + std::to_string(codePage));
    // Room for one character at a time: each step consumes exactly the
    // bytes of one character, which is where the boundaries lie.
    const char* in = text.data();
    size_t inLeft = text.size();
    size_t boundary = 0;
    while (true) {
        char unit[4];
        char* out = unit;
        size_t outLeft = sizeof unit;
        const char* before = in;
        const bool done = converter.step(in, inLeft, out, outLeft);
        if (in == before) {
            // A byte that starts no character of the code page stands alone.
            if (done || inLeft == 0) break;
            ++in;
            --inLeft;
            converter.reset();
        }
        const auto position = static_cast<size_t>(in - text.data());
        if (position > maxBytes) break;
        boundary = position;
        if (inLeft == 0) break;
    }
    return text.substr(0, boundary);
}

}  // namespace si32
