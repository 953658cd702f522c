// The registry sections: inline, or a file sent along with the description.
#include "platform/sim/description_parser.h"

#include <filesystem>

#include "platform/input_file.h"

namespace si32::sim {

void DescriptionParser::registry(const json& value) {
    if (out_.registryText) reader_.fail("registry", "expected registry or registry_file, not both");
    out_.registryText = reader_.text(value, "registry");
    out_.registrySource = reader_.source() + ": registry";
}

void DescriptionParser::registryFile(const json& value) {
    if (out_.registryText) reader_.fail("registry_file", "expected registry or registry_file, not both");
    std::string name = reader_.text(value, "registry_file");
    // A description is data: it reads nothing of the machine that replays
    // it but what was sent along with it.
    if (!NamesInsideFolder(name))
        reader_.fail("registry_file",
                     "expected a file in the description's own folder, named without \"..\" or an absolute "
                     "path, not \"" +
                         capQuoted(name) + "\"");
    const std::string shown = (std::filesystem::path(baseDirectory_) / name).string();
    InputFile file = ReadInputFileIn(baseDirectory_, name);
    if (!file.text) reader_.fail("registry_file", shown + ": " + file.refusal);
    out_.registryText = std::move(*file.text);
    out_.registrySource = reader_.source() + ": " + shown;
}

}  // namespace si32::sim
