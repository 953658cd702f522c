#include "screeninfo/screen_info.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "platform/checked.h"
#include "platform/guarded.h"
#include "platform/spi.h"
#include "platform/text_helpers.h"

namespace si32 {

using screen_info::entryOf;
using screen_info::Guard;
using screen_info::Member;

namespace {

// Store in the user profile and tell every window.
constexpr uint32_t kStoreAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;
constexpr std::size_t kFaceNameMaxBytes = SpiLogFont::kFaceNameSize - 1;

}  // namespace

ScreenInfo::ScreenInfo(Kernel& kernel, Ui& ui) : ui_(ui) {
    versionInfo_.dwOSVersionInfoSize = kOsVersionInfoASize;
    bool known = false;
    guarded([&] { known = kernel.GetVersionExA(versionInfo_) != 0; });
    if (!known) return;

    const uint32_t id = versionInfo_.dwPlatformId;
    const uint32_t major = versionInfo_.dwMajorVersion;
    const uint32_t minor = versionInfo_.dwMinorVersion;
    isNT5_ = major == 5 && id == VER_PLATFORM_WIN32_NT;
    // Systems newer than NT 5 stay at level 0: the class predates them and
    // refuses every guarded member there.
    if ((id == VER_PLATFORM_WIN32_WINDOWS && minor == 0) || (id == VER_PLATFORM_WIN32_NT && major <= 4)) osLevel_ = 4;
    else if ((id == VER_PLATFORM_WIN32_WINDOWS && major == 4 && minor > 0) ||
             (id == VER_PLATFORM_WIN32_NT && major == 5))
        osLevel_ = 5;
}

bool ScreenInfo::passes(Guard guard, Member member) {
    const bool ok = guard == Guard::None || (guard == Guard::A && osLevel_ >= 5) || (guard == Guard::B && isNT5_);
    if (!ok && RaiseErrors) throw ScreenInfoError(entryOf(member).name);
    return ok;
}

int32_t ScreenInfo::metricCall(int32_t index) {
    int32_t answer = 0;
    guarded([&] { answer = ui_.GetSystemMetrics(index); });
    return answer;
}

bool ScreenInfo::spiCall(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) {
    int32_t ok = 0;
    guarded([&] { ok = ui_.SystemParametersInfoA(action, param, pointer, winIni); });
    return ok != 0;
}

int32_t ScreenInfo::displayDpiY() {
    HDC dc = 0;
    guarded([&] { dc = ui_.CreateICA("DISPLAY", "", ""); });
    if (dc == 0) return 0;
    int32_t dpi = 0;
    guarded([&] { dpi = ui_.GetDeviceCaps(dc, LOGPIXELSY); });
    guarded([&] { ui_.DeleteDC(dc); });
    return dpi;
}

int32_t ScreenInfo::metric(Member m) {
    if (!mayRead(m)) return 0;
    return metricCall(entryOf(m).metric);
}

int32_t ScreenInfo::value(Member m) {
    if (!mayRead(m)) return 0;
    std::array<std::byte, 4> v{};
    spiCall(entryOf(m).getAction, 0, std::span(v), 0);
    return spi_bytes::get32(v, 0);
}

void ScreenInfo::setViaPointer(Member m, int32_t v) {
    if (!mayWrite(m)) return;
    spiCall(entryOf(m).setAction, 0, v, kStoreAndBroadcast);
}

void ScreenInfo::setViaCount(Member m, int32_t v) {
    if (!mayWrite(m)) return;
    std::array<std::byte, 4> zero{};
    spiCall(entryOf(m).setAction, static_cast<uint32_t>(v), std::span(zero), kStoreAndBroadcast);
}

void ScreenInfo::setSpacing(Member m, int32_t v) {
    if (!mayWrite(m)) return;
    spiCall(entryOf(m).setAction, static_cast<uint32_t>(v), std::monostate{}, kStoreAndBroadcast);
}

std::string ScreenInfo::DesktopWallpaper() {
    if (!mayRead(Member::DesktopWallpaper)) return {};
    std::array<std::byte, kWallpaperBufferSize> buffer{};
    spiCall(SPI_GETDESKWALLPAPER, kWallpaperBufferSize, std::span(buffer), 0);
    return std::string(upToNul(buffer));
}

void ScreenInfo::SetDesktopWallpaper(std::string_view BitmapFileName) {
    if (!mayWrite(Member::DesktopWallpaper)) return;
    // The platform reads a NUL-terminated ANSI name.
    std::vector<std::byte> name(BitmapFileName.size() + 1);
    for (std::size_t i = 0; i < BitmapFileName.size(); ++i) name[i] = static_cast<std::byte>(BitmapFileName[i]);
    spiCall(SPI_SETDESKWALLPAPER, 0, std::span(name), kStoreAndBroadcast);
}

void ScreenInfo::SetBorderMultiplier(int32_t Value) {
    if (!mayWrite(Member::BorderMultiplier)) return;
    spiCall(SPI_SETBORDER, static_cast<uint32_t>(Value), std::monostate{}, kStoreAndBroadcast);
}

bool ScreenInfo::MinAnimation() {
    if (!mayRead(Member::MinAnimation)) return false;
    auto bytes = SpiAnimationInfo{}.bytes();
    spiCall(SPI_GETANIMATION, SpiAnimationInfo::kSize, std::span(bytes), 0);
    return SpiAnimationInfo::from(bytes).minAnimate != 0;
}

void ScreenInfo::SetMinAnimation(bool Animate) {
    if (!mayWrite(Member::MinAnimation)) return;
    auto bytes = SpiAnimationInfo{SpiAnimationInfo::kSize, Animate ? -1 : 0}.bytes();
    spiCall(SPI_SETANIMATION, SpiAnimationInfo::kSize, std::span(bytes), kStoreAndBroadcast);
}

void ScreenInfo::SetDeskPattern() {
    if (!mayWrite(Member::SetDeskPattern)) return;
    std::array<std::byte, 4> zero{};
    spiCall(SPI_SETDESKPATTERN, 0, std::span(zero), 0);
}

int16_t ScreenInfo::DragFullWindows() {
    return static_cast<int16_t>(static_cast<uint16_t>(value(Member::DragFullWindows) & 0xFFFF));
}

int32_t ScreenInfo::GridGranularity() {
    return static_cast<int16_t>(static_cast<uint16_t>(value(Member::GridGranularity) & 0xFFFF));
}

std::string ScreenInfo::IconFontName() {
    if (!mayRead(Member::IconFontName)) return {};
    auto bytes = SpiLogFont{}.bytes();
    spiCall(SPI_GETICONTITLELOGFONT, 0, std::span(bytes), 0);
    const auto& face = SpiLogFont::from(bytes).faceName;
    return std::string(upToNul(std::string_view(face.data(), face.size())));
}

void ScreenInfo::SetIconFontName(std::string_view Value) {
    if (!mayWrite(Member::IconFontName)) return;
    auto metricsBytes = SpiIconMetrics{}.bytes();
    // Storing a font built on a failed read would reset the font's size and
    // style to zeros, so nothing is stored then.
    if (!spiCall(SPI_GETICONMETRICS, SpiIconMetrics::kSize, std::span(metricsBytes), 0)) return;
    SpiLogFont font = SpiIconMetrics::from(metricsBytes).font;

    const std::string_view name = utf8Prefix(Value, kFaceNameMaxBytes);
    for (std::size_t i = 0; i < name.size(); ++i) font.faceName[i] = name[i];
    font.faceName[name.size()] = '\0';

    auto fontBytes = font.bytes();
    spiCall(SPI_SETICONTITLELOGFONT, SpiLogFont::kSize, std::span(fontBytes), kStoreAndBroadcast);
}

int16_t ScreenInfo::IconFontSize() {
    if (!mayRead(Member::IconFontSize)) return 0;
    const int32_t dpi = displayDpiY();
    // Without the display's resolution there is no size to give.
    if (dpi <= 0) return 0;
    auto bytes = SpiLogFont{}.bytes();
    spiCall(SPI_GETICONTITLELOGFONT, 0, std::span(bytes), 0);
    const int32_t product = checkedMul32(SpiLogFont::from(bytes).height, 72);
    return checkedCast<int16_t>(-std::floor(static_cast<double>(product) / dpi));
}

void ScreenInfo::SetIconFontSize(int16_t Value) {
    if (!mayWrite(Member::IconFontSize)) return;
    const int32_t dpi = displayDpiY();
    if (dpi <= 0) return;
    auto bytes = SpiLogFont{}.bytes();
    // As with the name: never store a font that was not read.
    if (!spiCall(SPI_GETICONTITLELOGFONT, 0, std::span(bytes), 0)) return;
    SpiLogFont font = SpiLogFont::from(bytes);
    const int32_t product = checkedMul32(Value, dpi);
    font.height = checkedCast<int32_t>(-std::floor(static_cast<double>(product) / 72));
    bytes = font.bytes();
    spiCall(SPI_SETICONTITLELOGFONT, SpiLogFont::kSize, std::span(bytes), kStoreAndBroadcast);
}

void ScreenInfo::GetWorkarea(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) {
    if (!mayRead(Member::GetWorkarea)) return;
    auto bytes = SpiRect{}.bytes();
    spiCall(SPI_GETWORKAREA, 0, std::span(bytes), 0);
    const SpiRect area = SpiRect::from(bytes);
    left = area.left;
    top = area.top;
    right = area.right;
    bottom = area.bottom;
}

void ScreenInfo::SetWorkArea(std::optional<int32_t> Left, std::optional<int32_t> top, std::optional<int32_t> right,
                             std::optional<int32_t> bottom) {
    if (!mayWrite(Member::SetWorkArea)) return;
    auto bytes = SpiRect{}.bytes();
    // The omitted sides come from the current area; without it they would
    // collapse to 0 and shrink the desktop to nothing. With all four given
    // there is nothing to read.
    const bool allGiven = Left && top && right && bottom;
    if (!allGiven && !spiCall(SPI_GETWORKAREA, 0, std::span(bytes), 0)) return;
    SpiRect area = SpiRect::from(bytes);
    area.left = Left.value_or(area.left);
    area.top = top.value_or(area.top);
    area.right = right.value_or(area.right);
    area.bottom = bottom.value_or(area.bottom);
    bytes = area.bytes();
    spiCall(SPI_SETWORKAREA, 0, std::span(bytes), kStoreAndBroadcast);
}

}  // namespace si32
