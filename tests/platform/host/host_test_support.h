#pragma once
// Fixture trees, scratch directories and environment changes for the host
// backend's tests.
#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/host/common/host_context.h"
#include "platform/host/volumes/drive_map.h"
#include "tests/support/source_dir.h"

namespace si32::hosttest {

using testsupport::sourceDir;

// The build tree, from ctest's environment or, failing that, as configured.
inline std::string binaryDir() {
    const char* dir = std::getenv("SI32_BINARY_DIR");
    return dir != nullptr ? dir : SI32_HOST_TEST_BINARY_DIR;
}

// A fixture tree standing in for the root of a machine.
inline std::string fixture(const std::string& name) { return sourceDir() + "/tests/platform/host/fixtures/" + name; }

inline bool localeInstalled(const char* name) {
    const locale_t locale = ::newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return false;
    ::freelocale(locale);
    return true;
}

// A directory of its own for one test, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "si32-host-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    std::string write(const std::string& relative, const std::string& text, bool executable = false) const {
        const std::filesystem::path file = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        if (executable) ::chmod(file.c_str(), 0755);
        return file.string();
    }
    std::string mkdir(const std::string& relative) const {
        const std::filesystem::path dir = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(dir);
        return dir.string();
    }

private:
    std::string path_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A prefix in a scratch directory, its C: drive mapped and nothing else.
struct ScratchPrefix {
    ScratchDir dir;
    HostContext context;
    DriveMap drives;

    explicit ScratchPrefix(const std::string& root = "/") {
        dir.mkdir("drive_c/WINDOWS/SYSTEM");
        context.root = root;
        context.prefix = dir.path();
        context.executableDir = binaryDir() + "/bin";
        MappedDrive c;
        c.letter = 'C';
        c.hostPath = dir.path() + "/drive_c";
        c.driveType = 3;
        drives.drives_.push_back(c);
    }
    std::string driveC() const { return dir.path() + "/drive_c"; }
};

}  // namespace si32::hosttest
