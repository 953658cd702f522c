#pragma once
// A throw-away root directory for the host code to read: the fixture mount
// tables, a small sysfs with the links the kernel makes, udev's label links
// and a prefix.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/source_dir.h"

namespace si32::volumestest {

inline std::string fixturePath(const std::string& name) {
    return testsupport::sourceFile("tests/platform/volumes/fixtures/" + name);
}

class FixtureTree {
public:
    FixtureTree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "si32-volumes-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~FixtureTree() {
        std::error_code ignored;
        if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
    }
    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& inside) const { return root_ + inside; }

    void write(const std::string& inside, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(path(inside)).parent_path());
        std::ofstream(path(inside)) << text;
    }
    void makeDirectory(const std::string& inside) const { std::filesystem::create_directories(path(inside)); }
    void link(const std::string& inside, const std::string& target) const {
        std::filesystem::create_directories(std::filesystem::path(path(inside)).parent_path());
        std::filesystem::create_symlink(target, path(inside));
    }
    void mountTable(const std::string& fixture) const {
        std::filesystem::create_directories(path("/proc/self"));
        std::filesystem::copy_file(fixturePath(fixture), path("/proc/self/mountinfo"));
    }

    // A whole disk under sysfs at devicePath ("/sys/devices/.../block/sdb"),
    // reachable by its number and name as the kernel links it.
    void disk(const std::string& devicePath, const std::string& number, bool removable,
              const std::string& sectorSize) const {
        write(devicePath + "/removable", removable ? "1\n" : "0\n");
        write(devicePath + "/dev", number + "\n");
        write(devicePath + "/queue/logical_block_size", sectorSize + "\n");
        linkDevice(devicePath, number);
    }
    void partition(const std::string& diskPath, const std::string& name, const std::string& number) const {
        const std::string devicePath = diskPath + "/" + name;
        write(devicePath + "/partition", "1\n");
        write(devicePath + "/dev", number + "\n");
        linkDevice(devicePath, number);
    }

private:
    void linkDevice(const std::string& devicePath, const std::string& number) const {
        const std::string name = devicePath.substr(devicePath.rfind('/') + 1);
        link("/sys/dev/block/" + number, "../../.." + devicePath);
        link("/sys/class/block/" + name, "../../.." + devicePath);
    }

    std::string root_;
};

}  // namespace si32::volumestest
