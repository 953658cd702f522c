#include "resource_meter.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace reschk {
namespace {

namespace fs = std::filesystem;

// Kernel files are a line or two; never read more than this of one.
constexpr std::size_t kReadLimit = 4096;

std::optional<std::string> readSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kReadLimit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// The whitespace-separated words of a text.
std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::optional<uint64_t> number(std::string_view text) {
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int> FreePercent(uint64_t used, uint64_t maximum) {
    if (maximum == 0) return std::nullopt;
    if (used > maximum) used = maximum;
    const long double share = static_cast<long double>(maximum - used) * 100.0L / static_cast<long double>(maximum);
    return static_cast<int>(std::lround(share));
}

std::optional<int> FreeFileHandlePercent(const fs::path& root) {
    const auto text = readSmallFile(root / "proc/sys/fs/file-nr");
    if (!text) return std::nullopt;
    const auto w = words(*text);
    if (w.size() != 3) return std::nullopt;
    const auto allocated = number(w[0]), unused = number(w[1]), maximum = number(w[2]);
    if (!allocated || !unused || !maximum || *unused > *allocated) return std::nullopt;
    return FreePercent(*allocated - *unused, *maximum);
}

std::optional<int> FreeTaskPercent(const fs::path& root) {
    const auto loadavg = readSmallFile(root / "proc/loadavg");
    const auto threadsMax = readSmallFile(root / "proc/sys/kernel/threads-max");
    if (!loadavg || !threadsMax) return std::nullopt;
    // The fourth field is "running/total" scheduling entities.
    const auto w = words(*loadavg);
    if (w.size() < 4) return std::nullopt;
    const auto slash = w[3].find('/');
    if (slash == std::string::npos) return std::nullopt;
    const auto tasks = number(std::string_view(w[3]).substr(slash + 1));
    const auto maxWords = words(*threadsMax);
    if (!tasks || maxWords.size() != 1) return std::nullopt;
    const auto maximum = number(maxWords[0]);
    if (!maximum) return std::nullopt;
    return FreePercent(*tasks, *maximum);
}

std::string ResTmpText(int first, int second) { return std::to_string(first) + "," + std::to_string(second) + "\r\n"; }

void WriteAtomically(const fs::path& target, std::string_view text) {
    std::random_device random;
    const fs::path temporary =
        target.parent_path() / ("." + target.filename().string() + "." + std::to_string(random()) + ".tmp");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw std::runtime_error("cannot write " + temporary.string());
        }
    }
    try {
        fs::rename(temporary, target);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

int Run(const fs::path& root, const fs::path& directory) {
    const auto handles = FreeFileHandlePercent(root);
    const auto tasks = FreeTaskPercent(root);
    if (!handles && !tasks) return 1;
    WriteAtomically(directory / "res.tmp", ResTmpText(handles.value_or(0), tasks.value_or(0)));
    return 0;
}

}  // namespace reschk
