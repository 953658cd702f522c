#include "platform/host/volumes/blkid_probe.h"

#include <blkid/blkid.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <string_view>

#include "platform/host/common/host_read.h"
#include "platform/host/common/shared_library.h"
#include "platform/host/common/udev_database.h"

namespace si32 {
namespace {

// Opened at the first probe: most drives are never probed in a run.
struct LibblkidApi {
    static constexpr const char* kSoname = "libblkid.so.1";
    SI32_LIBRARY_FUNCTION(blkid_new_probe);
    SI32_LIBRARY_FUNCTION(blkid_probe_set_device);
    SI32_LIBRARY_FUNCTION(blkid_probe_enable_superblocks);
    SI32_LIBRARY_FUNCTION(blkid_probe_set_superblocks_flags);
    SI32_LIBRARY_FUNCTION(blkid_do_safeprobe);
    SI32_LIBRARY_FUNCTION(blkid_probe_lookup_value);
    SI32_LIBRARY_FUNCTION(blkid_free_probe);

    bool bind(const SharedLibrary& library) {
        return SI32_BIND(library, blkid_new_probe) && SI32_BIND(library, blkid_probe_set_device) &&
               SI32_BIND(library, blkid_probe_enable_superblocks) &&
               SI32_BIND(library, blkid_probe_set_superblocks_flags) && SI32_BIND(library, blkid_do_safeprobe) &&
               SI32_BIND(library, blkid_probe_lookup_value) && SI32_BIND(library, blkid_free_probe);
    }
};

std::string lookup(const LibblkidApi& api, blkid_probe probe, const char* name) {
    const char* value = nullptr;
    if (api.blkid_probe_lookup_value(probe, name, &value, nullptr) != 0 || value == nullptr) return {};
    return value;
}

std::optional<VolumeTags> probeOpened(const LibblkidApi& api, int device) {
    blkid_probe probe = api.blkid_new_probe();
    if (probe == nullptr) return std::nullopt;
    if (api.blkid_probe_set_device(probe, device, 0, 0) != 0) {
        api.blkid_free_probe(probe);
        return std::nullopt;
    }
    api.blkid_probe_enable_superblocks(probe, 1);
    api.blkid_probe_set_superblocks_flags(
        probe, BLKID_SUBLKS_TYPE | BLKID_SUBLKS_VERSION | BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID);
    const int found = api.blkid_do_safeprobe(probe);
    std::optional<VolumeTags> tags;
    if (found == 0)
        tags = VolumeTags{lookup(api, probe, "TYPE"), lookup(api, probe, "VERSION"), lookup(api, probe, "LABEL"),
                          lookup(api, probe, "UUID")};
    else if (found == 1) tags = VolumeTags{};  // read, and no file system signature on it
    api.blkid_free_probe(probe);
    return tags;
}

std::optional<VolumeTags> probeDevice(const std::string& devicePath) {
    // Without root a disk is closed to the user, and loading the library
    // (a fifth of a report) would only learn that its open fails. The device
    // is opened first, as the library opens it, and read through that.
    const int device = ::open(devicePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (device < 0) return std::nullopt;
    std::optional<VolumeTags> tags;
    if (const LibblkidApi* api = loadLibraryOnce<LibblkidApi>()) tags = probeOpened(*api, device);
    ::close(device);
    return tags;
}

VolumeTags tagsOf(const std::map<std::string, std::string>& properties) {
    const auto value = [&](const char* key) {
        const auto found = properties.find(key);
        return found == properties.end() ? std::string() : found->second;
    };
    VolumeTags tags{value("ID_FS_TYPE"), value("ID_FS_VERSION"), DecodeUdevEscapes(value("ID_FS_LABEL_ENC")),
                    value("ID_FS_UUID")};
    if (tags.label.empty()) tags.label = value("ID_FS_LABEL");
    return tags;
}

// The record udev made when its own blkid probe read the device, readable by
// every user: through libudev on this machine; in a fixture tree, the file
// /run/udev/data/b<major>:<minor> as udev writes it.
std::optional<VolumeTags> udevRecord(const std::string& root, const std::string& deviceNumber) {
    unsigned major = 0, minor = 0;
    if (std::sscanf(deviceNumber.c_str(), "%u:%u", &major, &minor) != 2) return std::nullopt;
    if (root == "/") {
        const auto properties = UdevBlockDeviceProperties(major, minor);
        if (!properties) return std::nullopt;
        return tagsOf(*properties);
    }
    const auto text = readUnderRoot(root, "/run/udev/data/b" + deviceNumber);
    if (!text) return std::nullopt;
    std::map<std::string, std::string> properties;
    for (auto line : splitLines(*text)) {
        if (!line.starts_with("E:")) continue;
        line.remove_prefix(2);
        const auto equals = line.find('=');
        if (equals != std::string_view::npos)
            properties.emplace(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
    }
    return tagsOf(properties);
}

class Libblkid : public BlkidProbe {
public:
    explicit Libblkid(std::string root) : root_(std::move(root)) {}

    std::optional<VolumeTags> Probe(const std::string& devicePath, const std::string& deviceNumber) override {
        if (auto tags = probeDevice(devicePath)) return tags;
        return udevRecord(root_, deviceNumber);
    }

private:
    std::string root_;
};

}  // namespace

std::string DecodeUdevEscapes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::shared_ptr<BlkidProbe> MakeLibblkidProbe(const std::string& root) { return std::make_shared<Libblkid>(root); }

}  // namespace si32
