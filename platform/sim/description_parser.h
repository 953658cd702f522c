#pragma once
// The reader of a machine description's top-level members, one section a
// member. The sections are defined by service family: the system facts in
// description_system.cpp, the display and regional texts in
// description_display.cpp, the registry in description_registry.cpp, files
// and programs in description_files.cpp, the drives in description_drives.cpp.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/sim/description_reader.h"
#include "platform/sim/machine_description.h"

namespace si32::sim {

class DescriptionParser {
public:
    DescriptionParser(const std::string& source, std::string baseDirectory);

    MachineDescription parse(const nlohmann::json& root);

private:
    using json = nlohmann::json;

    void member(const std::string& name, const json& value);
    std::vector<std::string> texts(const json& value, std::string_view path);
    void failingCalls(const json& value);
    void version(const json& value);
    void directories(const json& value);
    void memory(const json& value);
    void processor(const json& value);
    // Member names that are numbers: metric indices and parameter actions,
    // decimal or with a 0x prefix.
    int64_t numberName(const std::string& name, std::string_view path, int64_t min, int64_t max);
    void display(const json& value);
    void regional(const json& value);
    void registry(const json& value);
    void registryFile(const json& value);
    static bool readDateTime(std::string_view text, DateTime& out);
    void files(const json& value);
    void programs(const json& value);
    void currentDirectory(const json& value);
    void drives(const json& value);
    void driveMember(DriveFacts& drive, const std::string& name, const json& member, const std::string& path);

    DescriptionReader reader_;
    std::string baseDirectory_;
    MachineDescription out_;
};

}  // namespace si32::sim
