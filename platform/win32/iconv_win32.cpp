#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include <iconv.h>

namespace {

// Every text passes through one code point at a time: the Windows calls
// convert whole strings and cannot say where in a string a byte failed,
// which the callers need.
enum class Form { Utf8, Utf16Le, Utf32Le, CodePage };

struct Side {
    Form form = Form::CodePage;
    UINT codePage = 0;
};

struct Descriptor {
    Side to, from;
};

bool parseName(const char* name, Side& side) {
    const std::string text(name);
    if (text == "UTF-8") side = {Form::Utf8, CP_UTF8};
    else if (text == "UTF-16LE") side = {Form::Utf16Le, 0};
    else if (text == "UTF-32LE") side = {Form::Utf32Le, 0};
    else if (text.size() > 2 && text.compare(0, 2, "CP") == 0) {
        const unsigned long page = std::strtoul(text.c_str() + 2, nullptr, 10);
        if (page == 0 || page > 0xFFFF || !IsValidCodePage(static_cast<UINT>(page))) return false;
        side = {page == CP_UTF8 ? Form::Utf8 : Form::CodePage, static_cast<UINT>(page)};
    } else {
        return false;
    }
    return true;
}

// Decoding: how many bytes the next character takes, and its code point;
// 0 with error EILSEQ or EINVAL when none can be read.
std::size_t decodeUtf8(const unsigned char* p, std::size_t n, char32_t& c, int& error) {
    const unsigned char lead = p[0];
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0) return error = EILSEQ, 0;
    if (n < length) {
        for (std::size_t i = 1; i < n; ++i)
            if ((p[i] & 0xC0) != 0x80) return error = EILSEQ, 0;
        return error = EINVAL, 0;
    }
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return error = EILSEQ, 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return error = EILSEQ, 0;
    return length;
}

std::size_t decodeUtf16(const unsigned char* p, std::size_t n, char32_t& c, int& error) {
    if (n < 2) return error = EINVAL, 0;
    const char32_t first = p[0] | (p[1] << 8);
    if (first < 0xD800 || first > 0xDFFF) return c = first, 2;
    if (first >= 0xDC00) return error = EILSEQ, 0;
    if (n < 4) return error = EINVAL, 0;
    const char32_t second = p[2] | (p[3] << 8);
    if (second < 0xDC00 || second > 0xDFFF) return error = EILSEQ, 0;
    c = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    return 4;
}

std::size_t decodeCodePage(UINT page, const unsigned char* p, std::size_t n, char32_t& c, int& error) {
    const std::size_t length = IsDBCSLeadByteEx(page, p[0]) ? 2 : 1;
    if (n < length) return error = EINVAL, 0;
    wchar_t wide[2];
    const int got = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(p),
                                        static_cast<int>(length), wide, 2);
    if (got != 1) return error = EILSEQ, 0;
    // A byte without a character of its own decodes to the page's default
    // character; the C library calls that an invalid sequence.
    char back[2];
    BOOL usedDefault = FALSE;
    const int again = WideCharToMultiByte(page, 0, wide, 1, back, sizeof back, nullptr, &usedDefault);
    if (usedDefault || again != static_cast<int>(length) || std::memcmp(back, p, length) != 0) return error = EILSEQ, 0;
    c = wide[0];
    return length;
}

// Encoding: the bytes of c, or false when the target cannot hold it.
bool encode(const Side& side, char32_t c, std::string& bytes) {
    bytes.clear();
    switch (side.form) {
        case Form::Utf8:
            if (c < 0x80) {
                bytes += static_cast<char>(c);
            } else if (c < 0x800) {
                bytes += static_cast<char>(0xC0 | (c >> 6));
                bytes += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                bytes += static_cast<char>(0xE0 | (c >> 12));
                bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                bytes += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                bytes += static_cast<char>(0xF0 | (c >> 18));
                bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                bytes += static_cast<char>(0x80 | (c & 0x3F));
            }
            return true;
        case Form::Utf16Le: {
            auto unit = [&](char32_t u) {
                bytes += static_cast<char>(u & 0xFF);
                bytes += static_cast<char>(u >> 8);
            };
            if (c < 0x10000) {
                unit(c);
            } else {
                unit(0xD800 + ((c - 0x10000) >> 10));
                unit(0xDC00 + ((c - 0x10000) & 0x3FF));
            }
            return true;
        }
        case Form::Utf32Le:
            for (int i = 0; i < 4; ++i) bytes += static_cast<char>((c >> (8 * i)) & 0xFF);
            return true;
        case Form::CodePage: {
            if (c >= 0x10000) return false;
            const wchar_t wide = static_cast<wchar_t>(c);
            char out[4];
            BOOL usedDefault = FALSE;
            const int got = WideCharToMultiByte(side.codePage, 0, &wide, 1, out, sizeof out, nullptr, &usedDefault);
            if (got <= 0 || usedDefault) return false;
            bytes.assign(out, static_cast<std::size_t>(got));
            return true;
        }
    }
    return false;
}

}  // namespace

iconv_t iconv_open(const char* to, const char* from) {
    Descriptor descriptor;
    if (!parseName(to, descriptor.to) || !parseName(from, descriptor.from)) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    return new Descriptor(descriptor);
}

int iconv_close(iconv_t cd) {
    delete static_cast<Descriptor*>(cd);
    return 0;
}

std::size_t iconv(iconv_t cd, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
    // No conversion here keeps a state between characters.
    if (in == nullptr || *in == nullptr) return 0;
    const Descriptor& d = *static_cast<const Descriptor*>(cd);
    std::string bytes;
    while (*inLeft > 0) {
        const auto* p = reinterpret_cast<const unsigned char*>(*in);
        char32_t c = 0;
        int error = 0;
        std::size_t used = 0;
        switch (d.from.form) {
            case Form::Utf8: used = decodeUtf8(p, *inLeft, c, error); break;
            case Form::Utf16Le: used = decodeUtf16(p, *inLeft, c, error); break;
            case Form::Utf32Le:
                if (*inLeft < 4) error = EINVAL;
                else c = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<char32_t>(p[3]) << 24), used = 4;
                break;
            case Form::CodePage: used = decodeCodePage(d.from.codePage, p, *inLeft, c, error); break;
        }
        if (used == 0) {
            errno = error;
            return static_cast<std::size_t>(-1);
        }
        if (!encode(d.to, c, bytes)) {
            errno = EILSEQ;
            return static_cast<std::size_t>(-1);
        }
        if (bytes.size() > *outLeft) {
            errno = E2BIG;
            return static_cast<std::size_t>(-1);
        }
        std::memcpy(*out, bytes.data(), bytes.size());
        *out += bytes.size();
        *outLeft -= bytes.size();
        *in += used;
        *inLeft -= used;
    }
    return 0;
}
