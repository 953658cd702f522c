#include "platform/host/kernel/host_ini_facts.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>
#include <vector>

#include <xkbcommon/xkbregistry.h>

#include "platform/host/common/host_read.h"
#include "platform/host/common/host_ui_x11.h"
#include "platform/host/common/shared_library.h"
#include "platform/host/common/udev_database.h"
#include "platform/host/kernel/host_locale.h"

namespace si32 {
namespace {

std::vector<std::string> splitOn(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string_view::npos; start = at + 1)
        parts.emplace_back(trimBlanks(text.substr(start, at - start)));
    parts.emplace_back(trimBlanks(text.substr(start)));
    return parts;
}

// One section of the XKB rules' list ("! model"): name -> description.
// Variant descriptions carry their layout: "intl  us: English (US, intl.)".
struct XkbNames {
    std::map<std::string, std::string> models, layouts;
    std::map<std::pair<std::string, std::string>, std::string> variants;  // (layout, variant)
};

// The names a keyboard setting asks for: the list holds about two thousand,
// and only the lines of these are read further than their first word.
struct XkbWanted {
    std::string model;
    std::vector<std::string> layouts;
    std::vector<std::pair<std::string, std::string>> variants;  // (layout, variant)
};

// The description after name when the entry (leading blanks gone) is name's.
std::optional<std::string_view> describes(std::string_view entry, std::string_view name) {
    if (name.empty() || !entry.starts_with(name) || entry.size() == name.size()) return std::nullopt;
    if (entry[name.size()] != ' ' && entry[name.size()] != '\t') return std::nullopt;
    return trimBlanks(entry.substr(name.size()));
}

void readXkbEntry(XkbNames& names, char section, std::string_view entry, const XkbWanted& wanted) {
    if (section == 'm') {
        if (const auto description = describes(entry, wanted.model)) names.models[wanted.model] = *description;
    } else if (section == 'l') {
        for (const std::string& layout : wanted.layouts)
            if (const auto description = describes(entry, layout)) names.layouts[layout] = *description;
    } else {
        for (const auto& [layout, variant] : wanted.variants) {
            const auto description = describes(entry, variant);
            if (!description || !description->starts_with(layout)) continue;
            const std::string_view rest = description->substr(layout.size());
            if (rest.starts_with(':')) names.variants[{layout, variant}] = trimBlanks(rest.substr(1));
        }
    }
}

XkbNames parseXkbList(std::string_view text, const XkbWanted& wanted) {
    XkbNames names;
    char section = 0;  // 'm'odel, 'l'ayout, 'v'ariant, 0 for any other
    for (std::string_view line : splitLines(text)) {
        if (!line.empty() && line.front() == '!') {
            const std::string_view title = trimBlanks(line.substr(1));
            section = title == "model" ? 'm' : title == "layout" ? 'l' : title == "variant" ? 'v' : 0;
            continue;
        }
        if (section == 0) continue;
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos) readXkbEntry(names, section, line.substr(first), wanted);
    }
    return names;
}

// libxkbregistry, which reads the XKB rules' XML as the desktops' keyboard
// settings do. Opened at run time: it brings libxml2 (and ICU) along, which
// only this one question needs.
struct XkbRegistry {
    static constexpr const char* kSoname = "libxkbregistry.so.0";
    SI32_LIBRARY_FUNCTION(rxkb_context_new);
    SI32_LIBRARY_FUNCTION(rxkb_context_parse_default_ruleset);
    SI32_LIBRARY_FUNCTION(rxkb_context_unref);
    SI32_LIBRARY_FUNCTION(rxkb_model_first);
    SI32_LIBRARY_FUNCTION(rxkb_model_next);
    SI32_LIBRARY_FUNCTION(rxkb_model_get_name);
    SI32_LIBRARY_FUNCTION(rxkb_model_get_description);
    SI32_LIBRARY_FUNCTION(rxkb_layout_first);
    SI32_LIBRARY_FUNCTION(rxkb_layout_next);
    SI32_LIBRARY_FUNCTION(rxkb_layout_get_name);
    SI32_LIBRARY_FUNCTION(rxkb_layout_get_variant);
    SI32_LIBRARY_FUNCTION(rxkb_layout_get_description);

    bool bind(const SharedLibrary& library) {
        return SI32_BIND(library, rxkb_context_new) && SI32_BIND(library, rxkb_context_parse_default_ruleset) &&
               SI32_BIND(library, rxkb_context_unref) && SI32_BIND(library, rxkb_model_first) &&
               SI32_BIND(library, rxkb_model_next) && SI32_BIND(library, rxkb_model_get_name) &&
               SI32_BIND(library, rxkb_model_get_description) && SI32_BIND(library, rxkb_layout_first) &&
               SI32_BIND(library, rxkb_layout_next) && SI32_BIND(library, rxkb_layout_get_name) &&
               SI32_BIND(library, rxkb_layout_get_variant) && SI32_BIND(library, rxkb_layout_get_description);
    }
};

// The names of this machine's XKB rules through libxkbregistry; nullopt
// without the library or its rules.
std::optional<XkbNames> registryNames() {
    const XkbRegistry* api = loadLibraryOnce<XkbRegistry>();
    if (api == nullptr) return std::nullopt;
    rxkb_context* context = api->rxkb_context_new(RXKB_CONTEXT_NO_FLAGS);
    if (context == nullptr) return std::nullopt;
    XkbNames names;
    const auto text = [](const char* value) { return value == nullptr ? std::string() : std::string(value); };
    if (api->rxkb_context_parse_default_ruleset(context)) {
        for (rxkb_model* model = api->rxkb_model_first(context); model != nullptr; model = api->rxkb_model_next(model))
            names.models[text(api->rxkb_model_get_name(model))] = text(api->rxkb_model_get_description(model));
        for (rxkb_layout* layout = api->rxkb_layout_first(context); layout != nullptr;
             layout = api->rxkb_layout_next(layout)) {
            const std::string name = text(api->rxkb_layout_get_name(layout));
            const std::string variant = text(api->rxkb_layout_get_variant(layout));
            const std::string description = text(api->rxkb_layout_get_description(layout));
            if (variant.empty()) names.layouts[name] = description;
            else names.variants[{name, variant}] = description;
        }
    }
    api->rxkb_context_unref(context);
    if (names.models.empty() && names.layouts.empty()) return std::nullopt;
    return names;
}

// Whether names holds the model and every layout and variant asked for.
bool namesAll(const XkbNames& names, const XkbWanted& wanted) {
    if (!wanted.model.empty() && !names.models.contains(wanted.model)) return false;
    return std::all_of(wanted.layouts.begin(), wanted.layouts.end(),
                       [&](const std::string& layout) { return names.layouts.contains(layout); }) &&
           std::all_of(wanted.variants.begin(), wanted.variants.end(),
                       [&](const auto& variant) { return names.variants.contains(variant); });
}

std::string named(const std::map<std::string, std::string>& names, const std::string& code) {
    const auto it = names.find(code);
    return it == names.end() ? code : it->second;
}

// The lowest-numbered "cardN" of /sys/class/drm that is a PCI device.
std::optional<std::pair<uint32_t, uint32_t>> displayPciIds(const std::string& root) {
    std::vector<std::pair<uint32_t, std::string>> cards;
    for (const std::string& name : listUnderRoot(root, "/sys/class/drm")) {
        uint32_t number = 0;
        const char* digits = name.c_str() + 4;
        const auto [end, error] = std::from_chars(digits, name.c_str() + name.size(), number);
        if (name.rfind("card", 0) == 0 && error == std::errc() && end == name.c_str() + name.size())
            cards.emplace_back(number, name);
    }
    std::sort(cards.begin(), cards.end());
    for (const auto& card : cards) {
        const std::string device = "/sys/class/drm/" + card.second + "/device/";
        const auto vendorText = readLineUnderRoot(root, device + "vendor");
        const auto deviceText = readLineUnderRoot(root, device + "device");
        if (!vendorText || !deviceText) continue;
        uint32_t vendor = 0, model = 0;
        const auto hex = [](const std::string& text, uint32_t& out) {
            std::string_view view = text;
            if (view.substr(0, 2) == "0x") view.remove_prefix(2);
            const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), out, 16);
            return error == std::errc() && end == view.data() + view.size() && !view.empty();
        };
        if (hex(*vendorText, vendor) && hex(*deviceText, model)) return std::make_pair(vendor, model);
    }
    return std::nullopt;
}

std::string hex4(uint32_t value) {
    static const char digits[] = "0123456789abcdef";
    std::string out(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4) out[static_cast<size_t>(i)] = digits[value & 0xF];
    return out;
}

}  // namespace

std::map<std::string, std::string> parseXkbRulesNames(std::string_view property) {
    // rules, model, layout, variant, options: NUL-terminated texts.
    std::vector<std::string> parts;
    for (std::size_t start = 0; start < property.size() && parts.size() < 4;) {
        const std::size_t end = std::min(property.find('\0', start), property.size());
        parts.emplace_back(property.substr(start, end - start));
        start = end + 1;
    }
    parts.resize(4);
    return {{"XKBMODEL", parts[1]}, {"XKBLAYOUT", parts[2]}, {"XKBVARIANT", parts[3]}};
}

namespace {

// The layout the X session runs with, as the server was told it (what
// setxkbmap and the desktop's settings set); nullopt without a display.
std::optional<std::map<std::string, std::string>> sessionKeyboard(const std::string& name) {
    const auto property = x11::query<std::string>(name, [](Display* display) -> std::optional<std::string> {
        const Atom names = x11::knownAtom(display, "_XKB_RULES_NAMES");
        std::string bytes = x11::property8(display, DefaultRootWindow(display), names);
        if (bytes.empty()) return std::nullopt;
        return bytes;
    });
    if (!property) return std::nullopt;
    auto settings = parseXkbRulesNames(*property);
    if (settings["XKBMODEL"].empty() && settings["XKBLAYOUT"].empty()) return std::nullopt;
    return settings;
}

}  // namespace

std::optional<std::string> keyboardDescription(const std::string& root, const std::string& display) {
    std::map<std::string, std::string> settings;
    if (root == "/")
        if (auto session = sessionKeyboard(display)) settings = std::move(*session);
    for (const char* file : {"/etc/default/keyboard", "/etc/vconsole.conf"}) {
        if (!settings["XKBMODEL"].empty() || !settings["XKBLAYOUT"].empty()) break;
        const auto text = readUnderRoot(root, file);
        if (text) settings = parseShellAssignments(*text);
    }
    const std::string model = settings["XKBMODEL"];
    if (model.empty() && settings["XKBLAYOUT"].empty()) return std::nullopt;
    const std::vector<std::string> layouts = splitOn(settings["XKBLAYOUT"], ',');
    const std::vector<std::string> variants = splitOn(settings["XKBVARIANT"], ',');
    // The rules' text list is made from the same rules as the registry's
    // XML and answers in a fraction of the registry's parse; the registry
    // stands in only for a name the list lacks.
    XkbWanted wanted{model, {}, {}};
    for (size_t i = 0; i < layouts.size(); ++i) {
        if (layouts[i].empty()) continue;
        wanted.layouts.push_back(layouts[i]);
        if (i < variants.size() && !variants[i].empty()) wanted.variants.emplace_back(layouts[i], variants[i]);
    }
    XkbNames names = parseXkbList(readUnderRoot(root, "/usr/share/X11/xkb/rules/evdev.lst").value_or(""), wanted);
    if (root == "/" && !namesAll(names, wanted))
        if (auto registry = registryNames()) names = std::move(*registry);

    // The layouts tell one keyboard from another (the model is the generic
    // PC keyboard on nearly every machine), and the window shows only the
    // first 20 characters: they lead, and the model answers alone where no
    // layout is set.
    std::string description;
    for (size_t i = 0; i < layouts.size(); ++i) {
        if (layouts[i].empty()) continue;
        std::string layout = named(names.layouts, layouts[i]);
        if (i < variants.size() && !variants[i].empty()) {
            const auto variant = names.variants.find({layouts[i], variants[i]});
            layout = variant != names.variants.end() ? variant->second : layout + " (" + variants[i] + ")";
        }
        description += (description.empty() ? "" : ", ") + layout;
    }
    if (description.empty() && !model.empty()) description = named(names.models, model);
    if (description.empty()) return std::nullopt;
    return description;
}

std::optional<std::string> displayAdapterName(const std::string& root) {
    const auto ids = displayPciIds(root);
    if (!ids) return std::nullopt;
    // udev's hardware database, compiled from the same list, answers at once;
    // the text list is read where the database is not there (or in a tree).
    if (root == "/")
        if (auto name = UdevPciName(ids->first, ids->second)) return name;
    std::optional<std::string> database;
    for (const char* file : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"})
        if ((database = readUnderRoot(root, file))) break;
    if (!database) return std::nullopt;
    // "vvvv  Vendor" at the start of a line, then its devices as "\tdddd  Device".
    const std::string vendorKey = hex4(ids->first);
    const std::string deviceKey = hex4(ids->second);
    std::optional<std::string> vendor;
    for (std::string_view line : splitLines(*database)) {
        if (line.empty() || line.front() == '#') continue;
        if (!vendor) {
            if (line.substr(0, 4) == vendorKey && line.size() > 4 && (line[4] == ' ' || line[4] == '\t'))
                vendor = std::string(trimBlanks(line.substr(4)));
            continue;
        }
        if (line.front() != '\t') break;  // the next vendor: the device is not listed
        if (line.size() > 5 && line[1] != '\t' && line.substr(1, 4) == deviceKey)
            return *vendor + " " + std::string(trimBlanks(line.substr(5)));
    }
    if (!vendor) return std::nullopt;
    return *vendor + ", device " + deviceKey;
}

std::optional<std::string> pointingDeviceName(const std::string& root) {
    const auto text = readUnderRoot(root, "/proc/bus/input/devices");
    if (!text) return std::nullopt;
    std::string name;
    for (std::string_view line : splitLines(*text)) {
        if (line.empty()) {
            name.clear();
        } else if (line.substr(0, 8) == "N: Name=") {
            std::string_view quoted = trimBlanks(line.substr(8));
            if (quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"')
                quoted = quoted.substr(1, quoted.size() - 2);
            name = quoted;
        } else if (line.substr(0, 12) == "H: Handlers=") {
            for (const std::string& handler : splitOn(line.substr(12), ' '))
                if (handler.rfind("mouse", 0) == 0 && !name.empty()) return name;
        }
    }
    return std::nullopt;
}

std::optional<std::string> opticalDriveDevice(const std::string& root) {
    const auto text = readUnderRoot(root, "/proc/sys/dev/cdrom/info");
    if (!text) return std::nullopt;
    for (std::string_view line : splitLines(*text)) {
        if (line.substr(0, 11) != "drive name:") continue;
        std::vector<std::string> drives;
        for (std::string& name : splitOn(line.substr(11), '\t'))
            if (!name.empty()) drives.push_back(std::move(name));
        if (drives.empty()) return std::nullopt;
        // The kernel lists the newest drive first; the first drive is sr0.
        const auto first =
            std::min_element(drives.begin(), drives.end(), [](const std::string& a, const std::string& b) {
                return a.size() != b.size() ? a.size() < b.size() : a < b;
            });
        return "/dev/" + *first;
    }
    return std::nullopt;
}

std::optional<std::string> localeCountryName(const HostEnvironment& environment) {
    auto country = HostLocale(environment).Item(LC_ADDRESS, "LC_ADDRESS", _NL_ADDRESS_COUNTRY_NAME);
    if (!country || country->empty()) return std::nullopt;
    return country;
}

std::optional<std::string> liveIniValue(const std::string& root, const HostEnvironment& environment,
                                        std::string_view fileName, std::string_view section, std::string_view key) {
    if (equalsNoCase(fileName, "system.ini")) {
        if (equalsNoCase(section, "boot.description")) {
            if (equalsNoCase(key, "keyboard.typ")) return keyboardDescription(root, environment.Get("DISPLAY"));
            if (equalsNoCase(key, "display.drv")) return displayAdapterName(root);
            if (equalsNoCase(key, "mouse.drv")) return pointingDeviceName(root);
        }
        if (equalsNoCase(section, "mci") && equalsNoCase(key, "cdaudio")) return opticalDriveDevice(root);
    }
    if (equalsNoCase(fileName, "win.ini") && equalsNoCase(section, "Intl") && equalsNoCase(key, "sCountry"))
        return localeCountryName(environment);
    return std::nullopt;
}

}  // namespace si32
