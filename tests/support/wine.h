#pragma once
// Windows programs run under Wine for a test: Debian's loaders, a private
// prefix that ends with the test (its wineserver too), and each run in a
// process group of its own, ended with everything it started.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/run_report.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/x_server.h"

namespace si32::testsupport {

// The loader for 64-bit programs (wine64) or 32-bit ones (wine, from the
// i386 package wine32); "" when it is not installed.
inline std::string wineLoader(bool bits64) {
    const std::string path = bits64 ? "/usr/lib/wine/wine64" : "/usr/lib/wine/wine";
    if (::access(path.c_str(), X_OK) != 0) return {};
    // Without wine32 the 32-bit name is only a script that says so.
    if (!bits64 && !std::filesystem::exists("/usr/lib/wine/wineserver32")) return {};
    if (!bits64) {
        // A kernel built without 32-bit support refuses the i386 loader
        // however completely it is installed. Asking for its version needs
        // no prefix and starts no server; the answer holds for the run.
        static const bool runs = runCommand({path, "--version"}, {}).status == 0;
        if (!runs) return {};
    }
    return path;
}

// A Linux path as Wine's drive Z: shows it.
inline std::string windowsPath(const std::filesystem::path& p) {
    std::string text = "Z:" + p.string();
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

struct WineRun {
    int status = -1;  // -1: killed at the time limit, or not started
    std::string out;
};

class WinePrefix {
public:
    // A new prefix in folder: a copy of template (booted once for all the
    // tests), or an empty one that Wine boots at its first run.
    WinePrefix(const std::filesystem::path& folder, const std::filesystem::path& templatePrefix = {})
        : prefix_(folder / "prefix") {
        if (!templatePrefix.empty()) copyTemplate(templatePrefix);
    }
    ~WinePrefix() {
        if (!server_.empty()) run({server_, "-k"}, std::chrono::seconds(30));
    }
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    const std::filesystem::path& path() const { return prefix_; }

    std::vector<std::string> environment() const {
        std::vector<std::string> env =
            environmentWithout({"DISPLAY", "XAUTHORITY", "WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES", "WINEARCH",
                                "SI32_MACHINE", "SI32_PREFIX"});
        env.push_back("WINEPREFIX=" + prefix_.string());
        env.push_back("WINEDEBUG=-all");
        // No .NET or browser engine to install into a fresh prefix.
        env.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");
        return env;
    }

    // argv[0] a Linux program (a loader, wineserver); its standard output
    // kept, its errors dropped; extra adds to the prefix's environment
    // (DISPLAY, SI32_MACHINE).
    WineRun run(const std::vector<std::string>& argv, std::chrono::seconds limit = std::chrono::seconds(180),
                const std::vector<std::string>& extra = {}) {
        if (!argv.empty() && argv[0].find("/wine") != std::string::npos && server_.empty())
            server_ = std::filesystem::path(argv[0]).parent_path() / "wineserver";
        ChildOptions options;
        options.patience = limit;
        std::vector<std::string> env = environment();
        env.insert(env.end(), extra.begin(), extra.end());
        ChildEnd end = runChild(argv, std::move(env), options);
        return {end.status, std::move(end.out)};
    }

private:
    // Wine's own DLLs fill a gigabyte and never change: linked, not copied.
    // The registry files Wine rewrites are copies of their own.
    void copyTemplate(const std::filesystem::path& from) {
        namespace fs = std::filesystem;
        fs::copy(from, prefix_,
                 fs::copy_options::recursive | fs::copy_options::create_hard_links | fs::copy_options::copy_symlinks);
        for (const auto& entry : fs::directory_iterator(from)) {
            if (entry.path().extension() != ".reg") continue;
            fs::remove(prefix_ / entry.path().filename());
            fs::copy_file(entry.path(), prefix_ / entry.path().filename());
        }
    }

    std::filesystem::path prefix_;
    std::string server_;
};

}  // namespace si32::testsupport
