#include "platform/sim/demo_machines.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <nlohmann/json.hpp>

#include "platform/input_file.h"
#include "platform/install_layout.h"
#include "platform/platform.h"

namespace si32::sim {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExtension = ".json";

bool isRegularFile(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

// The one line a person wrote for the list; a file that says nothing (or
// cannot be read) is still listed, since SI32_MACHINE would still try it.
std::string descriptionOf(const fs::path& file) {
    const InputFile input = ReadInputFile(file.string());
    if (!input.text) return "(cannot be read: " + input.refusal + ")";
    const auto root = nlohmann::json::parse(*input.text, nullptr, false);
    if (root.is_discarded() || !root.is_object()) return "(not a machine description)";
    const auto found = root.find("description");
    if (found == root.end() || !found->is_string()) return "";
    std::string line = found->get<std::string>();
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    return line;
}

}  // namespace

std::string DemoMachineFolder(const std::string& programsDirectory) {
    return programsDirectory + "/" + kDataFromPrograms + "/si32/machines";
}

std::string ResolveMachine(const std::string& value, const std::string& folder) {
    const bool path = value.find('/') != std::string::npos || value.ends_with(kExtension) || isRegularFile(value);
    if (path) return value;
    const fs::path demo = fs::path(folder) / (value + std::string(kExtension));
    if (isRegularFile(demo)) return demo.string();
    throw MachineDescriptionError("SI32_MACHINE=" + value + ": no demo machine of that name in " + folder +
                                  " (si32-report --list-machines lists them)");
}

std::vector<DemoMachine> ListDemoMachines(const std::string& folder) {
    std::vector<DemoMachine> machines;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& file = it->path();
        if (file.extension() != kExtension || !isRegularFile(file)) continue;
        machines.push_back({file.stem().string(), descriptionOf(file)});
    }
    std::sort(machines.begin(), machines.end(),
              [](const DemoMachine& a, const DemoMachine& b) { return a.name < b.name; });
    return machines;
}

}  // namespace si32::sim
