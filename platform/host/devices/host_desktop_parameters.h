#pragma once
// SystemParametersInfoA on the host. A Linux desktop has no such settings of
// its own, so they live where a Windows user profile keeps them: under
// HKCU\Control Panel\Desktop in the registry, and in the prefix's
// registry.reg when the caller asks for the profile to be updated. What the
// real desktop does tell wins over the profile: the work area always, and the
// icon-title font where the drawing side reports the desktop's font (that
// font cannot be changed from here, so storing one then fails).
//
// A parameter the profile does not hold cannot be learned, and reading it
// fails, as the real call fails for what it cannot answer.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/contract/spi_actions.h"
#include "platform/engine/registry_store.h"
#include "platform/host/common/host_context.h"
#include "platform/host/devices/host_desktop_parameters_profile.h"
#include "platform/spi.h"
#include "platform/ui.h"

namespace si32 {

inline constexpr std::string_view kDesktopKey = "Control Panel\\Desktop";

class DesktopParameters {
public:
    // screen: the real screen, nullopt when none can be reached; asked at
    // each call that needs it.
    DesktopParameters(RegistryStore& registry, const HostContext& context,
                      std::function<std::optional<ScreenFacts>()> screen);

    // BOOL.
    int32_t SystemParametersInfoA(uint32_t action, uint32_t param, const SpiPointer& pointer, uint32_t winIni);

    // The icon cell the profile holds, for the icon-spacing metrics; 0 when
    // it holds none.
    int32_t IconSpacing(bool vertical);

private:
    std::optional<int32_t> readDword(std::string_view name);
    std::optional<std::string> readText(std::string_view name);
    std::optional<SpiLogFont> desktopFont();
    std::optional<SpiLogFont> iconTitleFont();
    // Changes the values in the registry, and first in the profile file when
    // winIni asks for it; false (nothing changed) when that cannot be done.
    bool commit(std::vector<ProfileValue> values, uint32_t winIni);

    // A parameter kept as one profile value.
    int32_t getProfileValue(const SpiSetAction& p, uint32_t param, const SpiPointer& pointer);
    int32_t setProfileValue(const SpiSetAction& p, uint32_t param, const SpiPointer& pointer, uint32_t winIni);
    int32_t getWorkArea(const SpiPointer& pointer);
    int32_t animation(bool set, uint32_t param, const SpiPointer& pointer, uint32_t winIni);
    int32_t getIconTitleFont(const SpiPointer& pointer);
    int32_t setIconTitleFont(const SpiPointer& pointer, uint32_t winIni);
    int32_t iconMetrics(bool set, uint32_t param, const SpiPointer& pointer, uint32_t winIni);

    RegistryStore& registry_;
    const HostContext& context_;
    std::function<std::optional<ScreenFacts>()> screen_;
};

}  // namespace si32
