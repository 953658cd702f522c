// The sections of the file services: files, programs, the current directory.
#include "platform/sim/description_parser.h"

#include <charconv>

#include "platform/sim/windows_path.h"

namespace si32::sim {

bool DescriptionParser::readDateTime(std::string_view text, DateTime& out) {
    // YYYY-MM-DDTHH:MM with optional :SS
    if (text.size() != 16 && text.size() != 19) return false;
    auto field = [&](size_t at, size_t length, int32_t min, int32_t max, int32_t& into) {
        auto [end, error] = std::from_chars(text.data() + at, text.data() + at + length, into);
        return error == std::errc() && end == text.data() + at + length && into >= min && into <= max;
    };
    bool separators = text[4] == '-' && text[7] == '-' && (text[10] == 'T' || text[10] == ' ') && text[13] == ':' &&
                      (text.size() == 16 || text[16] == ':');
    out.second = 0;
    return separators && field(0, 4, 1601, 9999, out.year) && field(5, 2, 1, 12, out.month) &&
           field(8, 2, 1, 31, out.day) && field(11, 2, 0, 23, out.hour) && field(14, 2, 0, 59, out.minute) &&
           (text.size() == 16 || field(17, 2, 0, 59, out.second));
}

void DescriptionParser::files(const json& value) {
    reader_.expectAnyObject(value, "files");
    for (const auto& [name, entry] : value.items()) {
        std::string path = memberPath("files", name);
        if (!isFullPath(name)) reader_.fail(path, "expected a full Windows path (C:\\FOLDER\\NAME) as the member name");
        reader_.expectObject(entry, path, {"text", "modified", "attributes"});
        FileFacts file;
        file.path = reader_.ansi(name, path);
        if (const json* text = DescriptionReader::find(entry, "text"))
            file.text = reader_.text(*text, memberPath(path, "text"));
        if (const json* modified = DescriptionReader::find(entry, "modified")) {
            std::string modifiedPath = memberPath(path, "modified");
            DateTime when;
            if (!readDateTime(reader_.text(*modified, modifiedPath), when))
                reader_.fail(modifiedPath, "expected a local date and time like 2005-12-07T14:10:00");
            file.modified = when;
        }
        if (const json* attributes = DescriptionReader::find(entry, "attributes")) {
            std::string attributesPath = memberPath(path, "attributes");
            std::vector<std::string> list = texts(*attributes, attributesPath);
            for (size_t i = 0; i < list.size(); ++i) {
                if (list[i] == "hidden") file.hidden = true;
                else if (list[i] == "system") file.system = true;
                else if (list[i] == "directory") file.directory = true;
                else reader_.fail(elementPath(attributesPath, i), "expected \"hidden\", \"system\" or \"directory\"");
            }
        }
        out_.files.push_back(std::move(file));
    }
}

void DescriptionParser::programs(const json& value) {
    reader_.expectAnyObject(value, "programs");
    for (const auto& [name, entry] : value.items()) {
        std::string path = memberPath("programs", name);
        if (!isBareName(name) && !isFullPath(name) && !name.starts_with('/'))
            reader_.fail(path, "expected a bare program name, a full Windows path or a host path as the member name");
        reader_.expectObject(entry, path, {"writes", "fails_to_start"});
        ProgramFacts program;
        program.name = reader_.ansi(name, path);
        if (const json* fails = DescriptionReader::find(entry, "fails_to_start"))
            program.failsToStart = reader_.flag(*fails, memberPath(path, "fails_to_start"));
        if (const json* writes = DescriptionReader::find(entry, "writes")) {
            std::string writesPath = memberPath(path, "writes");
            reader_.expectAnyObject(*writes, writesPath);
            for (const auto& [file, text] : writes->items())
                program.writes.emplace_back(reader_.ansi(file, memberPath(writesPath, file)),
                                            reader_.text(text, memberPath(writesPath, file)));
        }
        out_.programs.push_back(std::move(program));
    }
}

void DescriptionParser::currentDirectory(const json& value) {
    std::string text = reader_.text(value, "current_directory");
    if (!isFullPath(text) && !(text.size() == 2 && text[1] == ':' && isFullPath(text + "\\")))
        reader_.fail("current_directory", "expected a full Windows path such as C:\\");
    out_.currentDirectory = text;
}

}  // namespace si32::sim
