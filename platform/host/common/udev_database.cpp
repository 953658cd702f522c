#include "platform/host/common/udev_database.h"

#include <libudev.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>

#include "platform/host/common/shared_library.h"

namespace si32 {
namespace {

// Opened at the first question: a simulated machine, a fixture tree or a
// report whose drives udev never probed asks none.
struct Libudev {
    static constexpr const char* kSoname = "libudev.so.1";
    SI32_LIBRARY_FUNCTION(udev_new);
    SI32_LIBRARY_FUNCTION(udev_unref);
    SI32_LIBRARY_FUNCTION(udev_device_new_from_devnum);
    SI32_LIBRARY_FUNCTION(udev_device_get_properties_list_entry);
    SI32_LIBRARY_FUNCTION(udev_device_get_is_initialized);
    SI32_LIBRARY_FUNCTION(udev_device_unref);
    SI32_LIBRARY_FUNCTION(udev_list_entry_get_next);
    SI32_LIBRARY_FUNCTION(udev_list_entry_get_name);
    SI32_LIBRARY_FUNCTION(udev_list_entry_get_value);
    SI32_LIBRARY_FUNCTION(udev_hwdb_new);
    SI32_LIBRARY_FUNCTION(udev_hwdb_get_properties_list_entry);
    SI32_LIBRARY_FUNCTION(udev_hwdb_unref);

    bool bind(const SharedLibrary& library) {
        return SI32_BIND(library, udev_new) && SI32_BIND(library, udev_unref) &&
               SI32_BIND(library, udev_device_new_from_devnum) &&
               SI32_BIND(library, udev_device_get_properties_list_entry) &&
               SI32_BIND(library, udev_device_get_is_initialized) && SI32_BIND(library, udev_device_unref) &&
               SI32_BIND(library, udev_list_entry_get_next) && SI32_BIND(library, udev_list_entry_get_name) &&
               SI32_BIND(library, udev_list_entry_get_value) && SI32_BIND(library, udev_hwdb_new) &&
               SI32_BIND(library, udev_hwdb_get_properties_list_entry) && SI32_BIND(library, udev_hwdb_unref);
    }
};

}  // namespace

std::optional<std::map<std::string, std::string>> UdevBlockDeviceProperties(unsigned major, unsigned minor) {
    // Where udev keeps no record of the device (no udev at all, as in most
    // containers) the library would load only to say it is not initialised.
    char record[48];
    std::snprintf(record, sizeof record, "/run/udev/data/b%u:%u", major, minor);
    if (::access(record, F_OK) != 0) return std::nullopt;
    const Libudev* api = loadLibraryOnce<Libudev>();
    if (api == nullptr) return std::nullopt;
    udev* context = api->udev_new();
    if (context == nullptr) return std::nullopt;
    std::optional<std::map<std::string, std::string>> properties;
    if (udev_device* device = api->udev_device_new_from_devnum(context, 'b', makedev(major, minor))) {
        // A device udev has not probed (its database is not there) carries
        // only what sysfs says, never ID_FS_* keys.
        std::map<std::string, std::string> found;
        for (udev_list_entry* entry = api->udev_device_get_properties_list_entry(device); entry != nullptr;
             entry = api->udev_list_entry_get_next(entry)) {
            const char* value = api->udev_list_entry_get_value(entry);
            found.emplace(api->udev_list_entry_get_name(entry), value == nullptr ? "" : value);
        }
        if (api->udev_device_get_is_initialized(device) > 0) properties = std::move(found);
        api->udev_device_unref(device);
    }
    api->udev_unref(context);
    return properties;
}

std::optional<std::string> UdevPciName(unsigned vendor, unsigned device) {
    const Libudev* api = loadLibraryOnce<Libudev>();
    if (api == nullptr) return std::nullopt;
    udev* context = api->udev_new();
    if (context == nullptr) return std::nullopt;
    std::optional<std::string> name;
    if (udev_hwdb* hwdb = api->udev_hwdb_new(context)) {
        char modalias[64];
        std::snprintf(modalias, sizeof modalias, "pci:v%08Xd%08X", vendor, device);
        std::string vendorName, modelName;
        for (udev_list_entry* entry = api->udev_hwdb_get_properties_list_entry(hwdb, modalias, 0); entry != nullptr;
             entry = api->udev_list_entry_get_next(entry)) {
            const std::string key = api->udev_list_entry_get_name(entry);
            const char* value = api->udev_list_entry_get_value(entry);
            if (value == nullptr) continue;
            if (key == "ID_VENDOR_FROM_DATABASE") vendorName = value;
            if (key == "ID_MODEL_FROM_DATABASE") modelName = value;
        }
        if (!vendorName.empty() && !modelName.empty()) name = vendorName + " " + modelName;
        api->udev_hwdb_unref(hwdb);
    }
    api->udev_unref(context);
    return name;
}

}  // namespace si32
