#pragma once
// A folder of the test's own under /tmp, removed with all it holds when the
// test ends; and the test's environment without the variables a run sets
// itself.
#include <stdlib.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace si32::testsupport {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix) {
        std::string pattern = "/tmp/" + prefix + "-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// This process's environment less the variables named (as "NAME").
inline std::vector<std::string> environmentWithout(std::initializer_list<std::string_view> names) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        bool dropped = false;
        for (std::string_view name : names)
            dropped = dropped || (entry.starts_with(name) && entry.size() > name.size() && entry[name.size()] == '=');
        if (!dropped) env.emplace_back(entry);
    }
    return env;
}

}  // namespace si32::testsupport
