#pragma once
// The live answers for the keys of system.ini and win.ini that a Linux
// machine has no file for: its keyboard, display adapter, pointing device,
// optical drive and country.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host/common/host_context.h"

namespace si32 {

// fileName: the INI file's name without folder ("system.ini", "WIN.INI").
// nullopt when the key is not one of them or the fact cannot be learned.
std::optional<std::string> liveIniValue(const std::string& root, const HostEnvironment& environment,
                                        std::string_view fileName, std::string_view section, std::string_view key);

// _XKB_RULES_NAMES of the X root window ("evdev\0pc105\0us,de\0,nodeadkeys\0")
// as the keys of /etc/default/keyboard.
std::map<std::string, std::string> parseXkbRulesNames(std::string_view property);
// The keyboard model and layouts by their human names in the XKB rules' list:
// on this machine the X session's own (when the display of that name is
// reachable), else the configured ones of /etc/default/keyboard or
// /etc/vconsole.conf.
std::optional<std::string> keyboardDescription(const std::string& root, const std::string& display);
// The first display adapter's maker and model, from its PCI ids and the PCI
// id database.
std::optional<std::string> displayAdapterName(const std::string& root);
// The first input device that moves the pointer (/proc/bus/input/devices).
std::optional<std::string> pointingDeviceName(const std::string& root);
// The first optical drive's device ("/dev/sr0").
std::optional<std::string> opticalDriveDevice(const std::string& root);
// The country of the user's locale, in the locale's own language.
std::optional<std::string> localeCountryName(const HostEnvironment& environment);

}  // namespace si32
