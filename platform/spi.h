#pragma once
// SystemParametersInfoA: the actions the program uses and the records some of
// them read or write. A record crosses the platform boundary as its exact
// Windows byte image (little-endian, no padding), so that both sides agree on
// every offset whatever the compiler does with a struct.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace si32 {

enum : uint32_t {
    SPI_GETBORDER = 0x05,
    SPI_SETBORDER = 0x06,
    SPI_ICONHORIZONTALSPACING = 0x0D,
    SPI_GETGRIDGRANULARITY = 0x12,
    SPI_SETGRIDGRANULARITY = 0x13,
    SPI_SETDESKWALLPAPER = 0x14,
    SPI_SETDESKPATTERN = 0x15,
    SPI_ICONVERTICALSPACING = 0x18,
    SPI_GETICONTITLEWRAP = 0x19,
    SPI_SETICONTITLEWRAP = 0x1A,
    SPI_GETMENUDROPALIGNMENT = 0x1B,
    SPI_SETMENUDROPALIGNMENT = 0x1C,
    SPI_GETICONTITLELOGFONT = 0x1F,
    SPI_SETICONTITLELOGFONT = 0x22,
    SPI_SETDRAGFULLWINDOWS = 0x25,
    SPI_GETDRAGFULLWINDOWS = 0x26,
    SPI_GETICONMETRICS = 0x2D,
    SPI_SETICONMETRICS = 0x2E,
    SPI_SETWORKAREA = 0x2F,
    SPI_GETWORKAREA = 0x30,
    SPI_GETANIMATION = 0x48,
    SPI_SETANIMATION = 0x49,
    SPI_GETDESKWALLPAPER = 0x73,
    SPI_GETMENUANIMATION = 0x1002,
    SPI_SETMENUANIMATION = 0x1003,
    SPI_GETCOMBOBOXANIMATION = 0x1004,
    SPI_SETCOMBOBOXANIMATION = 0x1005,
    SPI_GETLISTBOXSMOOTHSCROLLING = 0x1006,
    SPI_SETLISTBOXSMOOTHSCROLLING = 0x1007,
    SPI_GETGRADIENTCAPTIONS = 0x1008,
    SPI_SETGRADIENTCAPTIONS = 0x1009,
    SPI_GETKEYBOARDCUES = 0x100A,
    SPI_SETKEYBOARDCUES = 0x100B,
    SPI_GETHOTTRACKING = 0x100E,
    SPI_SETHOTTRACKING = 0x100F,
    SPI_GETMENUFADE = 0x1012,
    SPI_SETMENUFADE = 0x1013,
    SPI_GETSELECTIONFADE = 0x1014,
    SPI_SETSELECTIONFADE = 0x1015,
    SPI_GETTOOLTIPANIMATION = 0x1016,
    SPI_SETTOOLTIPANIMATION = 0x1017,
    SPI_GETTOOLTIPFADE = 0x1018,
    SPI_SETTOOLTIPFADE = 0x1019,
    SPI_GETUIEFFECTS = 0x103E,
    SPI_SETUIEFFECTS = 0x103F,
    SPI_GETFOREGROUNDLOCKTIMEOUT = 0x2000,
    SPI_SETFOREGROUNDLOCKTIMEOUT = 0x2001,
    SPI_GETFOREGROUNDFLASHCOUNT = 0x2004,
    SPI_SETFOREGROUNDFLASHCOUNT = 0x2005,
};

// The wallpaper path buffer the get action fills (MAX_PATH).
inline constexpr uint32_t kWallpaperBufferSize = 260;

namespace spi_bytes {

inline int32_t get32(std::span<const std::byte> bytes, std::size_t offset) {
    uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return static_cast<int32_t>(v);
}

inline void put32(std::span<std::byte> bytes, std::size_t offset, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
}

}  // namespace spi_bytes

// RECT: left, top, right, bottom.
struct SpiRect {
    static constexpr std::size_t kSize = 16;
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    std::array<std::byte, kSize> bytes() const {
        std::array<std::byte, kSize> b{};
        spi_bytes::put32(b, 0, left);
        spi_bytes::put32(b, 4, top);
        spi_bytes::put32(b, 8, right);
        spi_bytes::put32(b, 12, bottom);
        return b;
    }
    static SpiRect from(std::span<const std::byte, kSize> b) {
        return {spi_bytes::get32(b, 0), spi_bytes::get32(b, 4), spi_bytes::get32(b, 8), spi_bytes::get32(b, 12)};
    }
};

// ANIMATIONINFO: size (8), minimise-animation flag.
struct SpiAnimationInfo {
    static constexpr std::size_t kSize = 8;
    int32_t cbSize = kSize;
    int32_t minAnimate = 0;

    std::array<std::byte, kSize> bytes() const {
        std::array<std::byte, kSize> b{};
        spi_bytes::put32(b, 0, cbSize);
        spi_bytes::put32(b, 4, minAnimate);
        return b;
    }
    static SpiAnimationInfo from(std::span<const std::byte, kSize> b) {
        return {spi_bytes::get32(b, 0), spi_bytes::get32(b, 4)};
    }
};

// LOGFONTA: five 32-bit fields, eight single bytes, a 32-byte face name.
struct SpiLogFont {
    static constexpr std::size_t kSize = 60;
    static constexpr std::size_t kFaceNameOffset = 28;
    static constexpr std::size_t kFaceNameSize = 32;
    int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::array<char, kFaceNameSize> faceName{};

    void write(std::span<std::byte, kSize> b) const {
        spi_bytes::put32(b, 0, height);
        spi_bytes::put32(b, 4, width);
        spi_bytes::put32(b, 8, escapement);
        spi_bytes::put32(b, 12, orientation);
        spi_bytes::put32(b, 16, weight);
        const uint8_t singles[8] = {italic,       underline,     strikeOut, charSet,
                                    outPrecision, clipPrecision, quality,   pitchAndFamily};
        for (std::size_t i = 0; i < 8; ++i) b[20 + i] = static_cast<std::byte>(singles[i]);
        for (std::size_t i = 0; i < kFaceNameSize; ++i)
            b[kFaceNameOffset + i] = static_cast<std::byte>(static_cast<unsigned char>(faceName[i]));
    }
    std::array<std::byte, kSize> bytes() const {
        std::array<std::byte, kSize> b{};
        write(b);
        return b;
    }
    static SpiLogFont from(std::span<const std::byte, kSize> b) {
        SpiLogFont f;
        f.height = spi_bytes::get32(b, 0);
        f.width = spi_bytes::get32(b, 4);
        f.escapement = spi_bytes::get32(b, 8);
        f.orientation = spi_bytes::get32(b, 12);
        f.weight = spi_bytes::get32(b, 16);
        uint8_t* singles[8] = {&f.italic,       &f.underline,     &f.strikeOut, &f.charSet,
                               &f.outPrecision, &f.clipPrecision, &f.quality,   &f.pitchAndFamily};
        for (std::size_t i = 0; i < 8; ++i) *singles[i] = static_cast<uint8_t>(b[20 + i]);
        for (std::size_t i = 0; i < kFaceNameSize; ++i)
            f.faceName[i] = static_cast<char>(static_cast<unsigned char>(b[kFaceNameOffset + i]));
        return f;
    }
};

// ICONMETRICSA: size (76), horizontal and vertical spacing, title wrap, then
// the icon-title LOGFONTA.
struct SpiIconMetrics {
    static constexpr std::size_t kSize = 76;
    static constexpr std::size_t kFontOffset = 16;
    int32_t cbSize = kSize;
    int32_t horzSpacing = 0, vertSpacing = 0, titleWrap = 0;
    SpiLogFont font;

    std::array<std::byte, kSize> bytes() const {
        std::array<std::byte, kSize> b{};
        spi_bytes::put32(b, 0, cbSize);
        spi_bytes::put32(b, 4, horzSpacing);
        spi_bytes::put32(b, 8, vertSpacing);
        spi_bytes::put32(b, 12, titleWrap);
        font.write(std::span<std::byte, kSize>(b).subspan<kFontOffset, SpiLogFont::kSize>());
        return b;
    }
    static SpiIconMetrics from(std::span<const std::byte, kSize> b) {
        SpiIconMetrics m;
        m.cbSize = spi_bytes::get32(b, 0);
        m.horzSpacing = spi_bytes::get32(b, 4);
        m.vertSpacing = spi_bytes::get32(b, 8);
        m.titleWrap = spi_bytes::get32(b, 12);
        m.font = SpiLogFont::from(b.subspan<kFontOffset, SpiLogFont::kSize>());
        return m;
    }
};

}  // namespace si32
