#pragma once
// The seam to libudev: what udev recorded for a block device when it probed
// it, and the names its hardware database gives a device. Both answer for
// the real machine only; readers of fixture trees use the trees' own files.
#include <map>
#include <optional>
#include <string>

namespace si32 {

// The E: properties of the device's record ("ID_FS_LABEL_ENC" -> "My\x20Disk");
// nullopt when udev keeps no record of it (no udev, as in most containers).
std::optional<std::map<std::string, std::string>> UdevBlockDeviceProperties(unsigned major, unsigned minor);

// "Vendor Model" from the hardware database for a PCI vendor and device;
// nullopt when the database is missing or does not know the model.
std::optional<std::string> UdevPciName(unsigned vendor, unsigned device);

}  // namespace si32
