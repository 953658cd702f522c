#include "platform/sim/machine_description.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/code_page.h"
#include "platform/input_file.h"
#include "platform/sim/call_names.h"
#include "platform/sim/description_document.h"
#include "platform/sim/description_parser.h"
#include "platform/sim/description_reader.h"

namespace si32::sim {

DescriptionParser::DescriptionParser(const std::string& source, std::string baseDirectory)
    : reader_(source), baseDirectory_(std::move(baseDirectory)) {
    out_.source = source;
}

MachineDescription DescriptionParser::parse(const json& root) {
    reader_.expectAnyObject(root, "");
    // Every text below is converted into the code page, so it comes first.
    if (const json* page = DescriptionReader::find(root, "ansi_code_page")) {
        out_.ansiCodePage = reader_.u32(*page, "ansi_code_page");
        if (!IsKnownCodePage(out_.ansiCodePage))
            reader_.fail("ansi_code_page",
                         "expected a code page this system can convert (1252, 1250, 1251, "
                         "932, 65001, ...)");
        reader_.setCodePage(out_.ansiCodePage);
    }
    if (const json* escaped = DescriptionReader::find(root, "escaped_bytes"))
        reader_.setEscapedBytes(reader_.flag(*escaped, "escaped_bytes"));
    reader_.expectObject(root, "",
                         {"description",
                          "version",
                          "directories",
                          "computer_name",
                          "user_name",
                          "memory",
                          "processor",
                          "display",
                          "taskbar_state",
                          "wave_devices",
                          "midi_devices",
                          "printing_default",
                          "regional",
                          "registry",
                          "registry_file",
                          "registry_connect_fails",
                          "registry_read_only_keys",
                          "files",
                          "programs",
                          "current_directory",
                          "drives",
                          "previous_instance",
                          "failing_calls",
                          "ansi_code_page",
                          "escaped_bytes"});
    for (const auto& [name, value] : root.items()) member(name, value);
    return std::move(out_);
}

void DescriptionParser::member(const std::string& name, const json& value) {
    const DescriptionReader& r = reader_;
    // Only for people (--list-machines); no service answers from it.
    if (name == "description") r.text(value, name);
    else if (name == "version") version(value);
    else if (name == "directories") directories(value);
    else if (name == "computer_name") out_.computerName = r.text(value, name);
    else if (name == "user_name") out_.userName = r.text(value, name);
    else if (name == "memory") memory(value);
    else if (name == "processor") processor(value);
    else if (name == "display") display(value);
    else if (name == "taskbar_state") out_.taskbarState = r.u32(value, name);
    else if (name == "wave_devices") out_.waveDevices = r.u32(value, name);
    else if (name == "midi_devices") out_.midiDevices = texts(value, name);
    else if (name == "printing_default") out_.printingDefault = r.text(value, name);
    else if (name == "regional") regional(value);
    else if (name == "registry") registry(value);
    else if (name == "registry_file") registryFile(value);
    else if (name == "registry_connect_fails") out_.registryConnectFails = r.flag(value, name);
    else if (name == "registry_read_only_keys") out_.registryReadOnlyKeys = texts(value, name);
    else if (name == "files") files(value);
    else if (name == "programs") programs(value);
    else if (name == "current_directory") currentDirectory(value);
    else if (name == "drives") drives(value);
    else if (name == "previous_instance") out_.previousInstance = r.flag(value, name);
    else if (name == "failing_calls") failingCalls(value);
    // ansi_code_page and escaped_bytes were read before everything else.
}

std::vector<std::string> DescriptionParser::texts(const json& value, std::string_view path) {
    reader_.expectArray(value, path);
    std::vector<std::string> list;
    for (size_t i = 0; i < value.size(); ++i) list.push_back(reader_.text(value[i], elementPath(path, i)));
    return list;
}

void DescriptionParser::failingCalls(const json& value) {
    std::vector<std::string> names = texts(value, "failing_calls");
    for (size_t i = 0; i < names.size(); ++i) {
        if (!isKnownCall(names[i]))
            reader_.fail(elementPath("failing_calls", i),
                         "expected the name of a platform call, not \"" + capQuoted(names[i]) + "\"");
        out_.failingCalls.insert(names[i]);
    }
}

MachineDescription parseMachineDescription(std::string_view jsonText, const std::string& sourceName,
                                           const std::string& baseDirectory) {
    const DescriptionReader reader(sourceName);
    const nlohmann::json root = readDescriptionDocument(jsonText, reader);
    return DescriptionParser(sourceName, baseDirectory).parse(root);
}

MachineDescription loadMachineDescription(const std::string& path) {
    InputFile file = ReadInputFile(path);
    std::optional<std::string>& text = file.text;
    if (!text) DescriptionReader(path).fail("", "cannot read the machine description: " + file.refusal);
    std::string base = std::filesystem::path(path).parent_path().string();
    return parseMachineDescription(*text, path, base.empty() ? "." : base);
}

}  // namespace si32::sim
