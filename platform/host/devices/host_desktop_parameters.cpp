#include "platform/host/devices/host_desktop_parameters.h"

#include <array>
#include <cstring>
#include <span>

#include "platform/contract/spi_actions.h"
#include "platform/text_helpers.h"

namespace si32 {
namespace {

constexpr std::string_view kMinAnimate = "MinAnimate";
constexpr std::string_view kIconFont = "IconFont";
constexpr uint8_t DEFAULT_CHARSET = 1;

// The caller's memory, when the pointer argument is an address.
std::span<std::byte> memoryOf(const SpiPointer& pointer) {
    if (const auto* memory = std::get_if<std::span<std::byte>>(&pointer)) return *memory;
    return {};
}

ProfileValue dwordValue(std::string_view name, int32_t value) {
    std::string data(4, '\0');
    spi_bytes::put32(std::as_writable_bytes(std::span(data)), 0, value);
    return {std::string(name), REG_DWORD, data};
}

ProfileValue binaryValue(std::string_view name, std::span<const std::byte> bytes) {
    return {std::string(name), REG_BINARY, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size())};
}

}  // namespace

DesktopParameters::DesktopParameters(RegistryStore& registry, const HostContext& context,
                                     std::function<std::optional<ScreenFacts>()> screen)
    : registry_(registry), context_(context), screen_(std::move(screen)) {}

std::optional<std::string> DesktopParameters::readText(std::string_view name) {
    HKEY key = 0;
    if (registry_.RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_READ, key) != ERROR_SUCCESS) return std::nullopt;
    uint32_t type = 0;
    uint32_t size = 0;
    std::optional<std::string> answer;
    if (registry_.RegQueryValueExA(key, name, type, {}, size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (registry_.RegQueryValueExA(key, name, type, data, size) == ERROR_SUCCESS) {
            data.resize(size);
            // A text's count includes its NUL.
            if ((type == REG_SZ || type == REG_EXPAND_SZ) && !data.empty() && data.back() == '\0') data.pop_back();
            answer = std::move(data);
        }
    }
    registry_.RegCloseKey(key);
    return answer;
}

std::optional<int32_t> DesktopParameters::readDword(std::string_view name) {
    const std::optional<std::string> data = readText(name);
    if (!data || data->size() != 4) return std::nullopt;
    return spi_bytes::get32(std::as_bytes(std::span(*data)), 0);
}

bool DesktopParameters::commit(std::vector<ProfileValue> values, uint32_t winIni) {
    if (winIni & SPIF_UPDATEINIFILE) {
        if (!context_.prefixWritable) return false;
        if (!storeInProfileFile(context_.prefix + "/registry.reg", kDesktopKey, values)) return false;
    }
    for (ProfileValue& v : values)
        registry_.SetValue(HKEY_CURRENT_USER, kDesktopKey, v.name, v.type, std::move(v.data));
    return true;
}

int32_t DesktopParameters::IconSpacing(bool vertical) {
    return readDword(vertical ? "IconVerticalSpacing" : "IconSpacing").value_or(0);
}

std::optional<SpiLogFont> DesktopParameters::desktopFont() {
    const std::optional<ScreenFacts> screen = screen_();
    if (!screen || screen->fontFace.empty() || screen->fontHeightPx <= 0) return std::nullopt;
    SpiLogFont font;
    font.height = -screen->fontHeightPx;  // negative: the character height
    font.weight = screen->fontWeight;
    font.italic = screen->fontItalic ? 1 : 0;
    font.charSet = DEFAULT_CHARSET;
    const std::string_view face = utf8Prefix(screen->fontFace, SpiLogFont::kFaceNameSize - 1);
    std::memcpy(font.faceName.data(), face.data(), face.size());
    return font;
}

std::optional<SpiLogFont> DesktopParameters::iconTitleFont() {
    if (std::optional<SpiLogFont> real = desktopFont()) return real;
    const std::optional<std::string> stored = readText(kIconFont);
    if (!stored || stored->size() != SpiLogFont::kSize) return std::nullopt;
    return SpiLogFont::from(std::as_bytes(std::span(*stored)).first<SpiLogFont::kSize>());
}

int32_t DesktopParameters::SystemParametersInfoA(uint32_t action, uint32_t param, const SpiPointer& pointer,
                                                 uint32_t winIni) {
    bool isSet = false;
    if (const SpiSetAction* p = findProfileAction(action, isSet)) {
        if (p->source == SpiSource::Spacing)
            isSet = memoryOf(pointer).empty() && std::holds_alternative<std::monostate>(pointer);
        return isSet ? setProfileValue(*p, param, pointer, winIni) : getProfileValue(*p, param, pointer);
    }

    switch (action) {
        case SPI_GETWORKAREA: return getWorkArea(pointer);
        case SPI_GETANIMATION: return animation(false, param, pointer, winIni);
        case SPI_SETANIMATION: return animation(true, param, pointer, winIni);
        case SPI_GETICONTITLELOGFONT: return getIconTitleFont(pointer);
        case SPI_SETICONTITLELOGFONT: return setIconTitleFont(pointer, winIni);
        case SPI_GETICONMETRICS: return iconMetrics(false, param, pointer, winIni);
        case SPI_SETICONMETRICS: return iconMetrics(true, param, pointer, winIni);
        // The work area belongs to the window manager, and a Linux desktop
        // has no pattern to re-read: these cannot be done from here.
        case SPI_SETWORKAREA:
        case SPI_SETDESKPATTERN:
        default: return 0;
    }
}

int32_t DesktopParameters::getProfileValue(const SpiSetAction& p, uint32_t param, const SpiPointer& pointer) {
    const std::span<std::byte> memory = memoryOf(pointer);
    if (p.source == SpiSource::Text) {
        const std::optional<std::string> text = readText(p.profileValue);
        const size_t room = std::min<size_t>(param, memory.size());
        // A path that does not fit whole is not answered at all.
        if (!text || text->size() + 1 > room) return 0;
        std::memcpy(memory.data(), text->data(), text->size());
        memory[text->size()] = std::byte{0};
        return 1;
    }
    const std::optional<int32_t> value = readDword(p.profileValue);
    if (!value || memory.size() < 4) return 0;
    spi_bytes::put32(memory, 0, *value);
    return 1;
}

int32_t DesktopParameters::setProfileValue(const SpiSetAction& p, uint32_t param, const SpiPointer& pointer,
                                           uint32_t winIni) {
    int32_t value = 0;
    switch (p.source) {
        case SpiSource::Count:
        case SpiSource::Spacing: value = static_cast<int32_t>(param); break;
        case SpiSource::Pointer:
            if (!std::holds_alternative<int32_t>(pointer)) return 0;
            value = std::get<int32_t>(pointer);
            break;
        case SpiSource::Text:
            // No file name clears the wallpaper.
            return commit({{std::string(p.profileValue), REG_SZ, std::string(upToNul(memoryOf(pointer)))}}, winIni) ? 1
                                                                                                                    : 0;
        case SpiSource::Record:
        case SpiSource::Refresh: return 0;
    }
    if (p.boolean) value = value != 0 ? 1 : 0;
    return commit({dwordValue(p.profileValue, value)}, winIni) ? 1 : 0;
}

int32_t DesktopParameters::getWorkArea(const SpiPointer& pointer) {
    const std::span<std::byte> memory = memoryOf(pointer);
    const std::optional<ScreenFacts> screen = screen_();
    if (memory.size() < SpiRect::kSize || !screen || screen->workRight <= screen->workLeft ||
        screen->workBottom <= screen->workTop)
        return 0;
    const auto bytes = SpiRect{screen->workLeft, screen->workTop, screen->workRight, screen->workBottom}.bytes();
    std::memcpy(memory.data(), bytes.data(), bytes.size());
    return 1;
}

int32_t DesktopParameters::animation(bool set, uint32_t param, const SpiPointer& pointer, uint32_t winIni) {
    const std::span<std::byte> memory = memoryOf(pointer);
    // The record states its own size, and the count must agree.
    if (param != SpiAnimationInfo::kSize || memory.size() < SpiAnimationInfo::kSize) return 0;
    const SpiAnimationInfo info = SpiAnimationInfo::from(memory.first<SpiAnimationInfo::kSize>());
    if (info.cbSize != static_cast<int32_t>(SpiAnimationInfo::kSize)) return 0;
    if (set) return commit({dwordValue(kMinAnimate, info.minAnimate != 0 ? 1 : 0)}, winIni) ? 1 : 0;
    const std::optional<int32_t> stored = readDword(kMinAnimate);
    if (!stored) return 0;
    const auto bytes = SpiAnimationInfo{info.cbSize, *stored}.bytes();
    std::memcpy(memory.data(), bytes.data(), bytes.size());
    return 1;
}

int32_t DesktopParameters::getIconTitleFont(const SpiPointer& pointer) {
    const std::span<std::byte> memory = memoryOf(pointer);
    const std::optional<SpiLogFont> font = iconTitleFont();
    if (memory.size() < SpiLogFont::kSize || !font) return 0;
    font->write(memory.first<SpiLogFont::kSize>());
    return 1;
}

int32_t DesktopParameters::setIconTitleFont(const SpiPointer& pointer, uint32_t winIni) {
    const std::span<std::byte> memory = memoryOf(pointer);
    if (memory.size() < SpiLogFont::kSize || desktopFont()) return 0;
    return commit({binaryValue(kIconFont, memory.first<SpiLogFont::kSize>())}, winIni) ? 1 : 0;
}

int32_t DesktopParameters::iconMetrics(bool set, uint32_t param, const SpiPointer& pointer, uint32_t winIni) {
    const std::span<std::byte> memory = memoryOf(pointer);
    if (param != SpiIconMetrics::kSize || memory.size() < SpiIconMetrics::kSize) return 0;
    SpiIconMetrics metrics = SpiIconMetrics::from(memory.first<SpiIconMetrics::kSize>());
    if (metrics.cbSize != static_cast<int32_t>(SpiIconMetrics::kSize)) return 0;
    if (set) {
        if (desktopFont()) return 0;
        return commit({dwordValue("IconSpacing", metrics.horzSpacing),
                       dwordValue("IconVerticalSpacing", metrics.vertSpacing),
                       dwordValue("IconTitleWrap", metrics.titleWrap != 0 ? 1 : 0),
                       binaryValue(kIconFont, metrics.font.bytes())},
                      winIni)
                   ? 1
                   : 0;
    }
    // The record is answered whole or not at all.
    const std::optional<int32_t> horizontal = readDword("IconSpacing");
    const std::optional<int32_t> vertical = readDword("IconVerticalSpacing");
    const std::optional<int32_t> wrap = readDword("IconTitleWrap");
    const std::optional<SpiLogFont> font = iconTitleFont();
    if (!horizontal || !vertical || !wrap || !font) return 0;
    metrics.horzSpacing = *horizontal;
    metrics.vertSpacing = *vertical;
    metrics.titleWrap = *wrap;
    metrics.font = *font;
    const auto bytes = metrics.bytes();
    std::memcpy(memory.data(), bytes.data(), bytes.size());
    return 1;
}

}  // namespace si32
