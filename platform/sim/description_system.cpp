// The sections the kernel answers from: version, directories, memory, processor.
#include "platform/sim/description_parser.h"

namespace si32::sim {

void DescriptionParser::version(const json& value) {
    reader_.expectObject(value, "version", {"platform_id", "major", "minor", "build"});
    VersionFacts facts;
    for (const auto& [name, member] : value.items()) {
        uint32_t number = reader_.u32(member, memberPath("version", name));
        if (name == "platform_id") facts.platformId = number;
        else if (name == "major") facts.major = number;
        else if (name == "minor") facts.minor = number;
        else facts.build = number;
    }
    out_.version = facts;
}

void DescriptionParser::directories(const json& value) {
    reader_.expectObject(value, "directories", {"windows", "system", "temp"});
    for (const auto& [name, member] : value.items()) {
        std::string text = reader_.text(member, memberPath("directories", name));
        if (name == "windows") out_.windowsDirectory = text;
        else if (name == "system") out_.systemDirectory = text;
        else out_.tempDirectory = text;
    }
}

void DescriptionParser::memory(const json& value) {
    reader_.expectObject(value, "memory", {"load", "total_physical"});
    MemoryFacts facts;
    if (const json* load = DescriptionReader::find(value, "load"))
        facts.load = static_cast<uint32_t>(
            reader_.integer(*load, "memory.load", 0, 100, "expected a percentage (an integer 0 to 100)"));
    if (const json* total = DescriptionReader::find(value, "total_physical"))
        facts.totalPhysical = reader_.u64(*total, "memory.total_physical");
    out_.memory = facts;
}

void DescriptionParser::processor(const json& value) {
    reader_.expectObject(value, "processor", {"count", "type"});
    ProcessorFacts facts;
    if (const json* count = DescriptionReader::find(value, "count"))
        facts.count = reader_.u32(*count, "processor.count");
    if (const json* type = DescriptionReader::find(value, "type")) facts.type = reader_.u32(*type, "processor.type");
    out_.processor = facts;
}

}  // namespace si32::sim
