#include "platform/host/common/udev_database.h"

#include <libudev.h>
#include <sys/sysmacros.h>

#include <cstdio>

namespace si32 {

std::optional<std::map<std::string, std::string>> UdevBlockDeviceProperties(unsigned major, unsigned minor) {
    udev* context = udev_new();
    if (context == nullptr) return std::nullopt;
    std::optional<std::map<std::string, std::string>> properties;
    if (udev_device* device = udev_device_new_from_devnum(context, 'b', makedev(major, minor))) {
        // A device udev has not probed (its database is not there) carries
        // only what sysfs says, never ID_FS_* keys.
        std::map<std::string, std::string> found;
        for (udev_list_entry* entry = udev_device_get_properties_list_entry(device); entry != nullptr;
             entry = udev_list_entry_get_next(entry)) {
            const char* value = udev_list_entry_get_value(entry);
            found.emplace(udev_list_entry_get_name(entry), value == nullptr ? "" : value);
        }
        if (udev_device_get_is_initialized(device) > 0) properties = std::move(found);
        udev_device_unref(device);
    }
    udev_unref(context);
    return properties;
}

std::optional<std::string> UdevPciName(unsigned vendor, unsigned device) {
    udev* context = udev_new();
    if (context == nullptr) return std::nullopt;
    std::optional<std::string> name;
    if (udev_hwdb* hwdb = udev_hwdb_new(context)) {
        char modalias[64];
        std::snprintf(modalias, sizeof modalias, "pci:v%08Xd%08X", vendor, device);
        std::string vendorName, modelName;
        for (udev_list_entry* entry = udev_hwdb_get_properties_list_entry(hwdb, modalias, 0); entry != nullptr;
             entry = udev_list_entry_get_next(entry)) {
            const std::string key = udev_list_entry_get_name(entry);
            const char* value = udev_list_entry_get_value(entry);
            if (value == nullptr) continue;
            if (key == "ID_VENDOR_FROM_DATABASE") vendorName = value;
            if (key == "ID_MODEL_FROM_DATABASE") modelName = value;
        }
        if (!vendorName.empty() && !modelName.empty()) name = vendorName + " " + modelName;
        udev_hwdb_unref(hwdb);
    }
    udev_unref(context);
    return name;
}

}  // namespace si32
