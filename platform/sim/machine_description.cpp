#include "platform/sim/machine_description.h"

#include <charconv>
#include <filesystem>
#include <functional>

#include <nlohmann/json.hpp>

#include "platform/code_page.h"
#include "platform/input_file.h"
#include "platform/platform.h"
#include "platform/sim/call_names.h"
#include "platform/sim/description_reader.h"
#include "platform/sim/parameter_value.h"
#include "platform/sim/windows_path.h"
#include "platform/text_helpers.h"

namespace si32::sim {

namespace {

using nlohmann::json;

// Far beyond any real description (a capture holds a few hundred values,
// the largest arrays are records of bytes), and low enough that the values
// of a hostile file of 64 MB cost tens of megabytes, not gigabytes.
constexpr std::size_t kNestingLimit = 64;
constexpr std::size_t kMemberLimit = 65536;  // in one object or array
constexpr std::size_t kValueLimit = 262144;  // in the whole description

// The JSON library's message without its "[json.exception.parse_error.101] "
// tag, and with the input it quotes cut short.
std::string libraryMessage(const json::exception& error) {
    std::string what = error.what();
    if (auto tag = what.find("] "); what.rfind("[json.exception.", 0) == 0 && tag != std::string::npos)
        what.erase(0, tag + 2);
    if (auto quoted = what.find("last read: '"); quoted != std::string::npos) {
        const std::size_t start = quoted + 12;
        const std::size_t end = what.rfind('\'');
        std::string excerpt = what.substr(start, end > start ? end - start : std::string::npos);
        what = what.substr(0, start) + capQuoted(excerpt) + "'";
    }
    return what;
}

// Builds the document from the parser's events and makes the checks the
// JSON library does not (duplicate members, nesting, sizes) as it reads,
// so that a hostile file is refused before it costs memory; every step is
// constant time, so reading is linear in the file. Errors name the member
// being read.
class DocumentBuilder : public json::json_sax_t {
public:
    explicit DocumentBuilder(const DescriptionReader& reader) : reader_(reader) {}

    json& root() { return root_; }

    // The member path of the value being read ("drives[1].serial"), built
    // only when an error needs it.
    std::string current() const {
        std::string path;
        for (const Frame& frame : frames_) {
            if (frame.array) path = elementPath(path, frame.index);
            else if (frame.hasKey) path = memberPath(path, frame.key);
        }
        return path;
    }

    bool null() override { return add(json(nullptr)); }
    bool boolean(bool value) override { return add(json(value)); }
    bool number_integer(number_integer_t value) override { return add(json(value)); }
    bool number_unsigned(number_unsigned_t value) override { return add(json(value)); }
    bool number_float(number_float_t value, const string_t&) override { return add(json(value)); }
    bool string(string_t& value) override { return add(json(std::move(value))); }
    bool binary(binary_t&) override { return add(json(nullptr)); }  // JSON text holds none

    bool start_object(std::size_t) override { return open(json::object(), false); }
    bool start_array(std::size_t) override { return open(json::array(), true); }

    bool key(string_t& name) override {
        Frame& top = frames_.back();
        top.key = std::move(name);
        top.hasKey = true;
        if (top.node->contains(top.key)) reader_.fail(current(), "duplicate member");
        if (top.node->size() >= kMemberLimit)
            reader_.fail(pathOfContainer(), "expected at most " + std::to_string(kMemberLimit) + " members");
        return true;
    }

    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool parse_error(std::size_t, const std::string&, const json::exception& error) override {
        // Syntax errors and numbers out of any range (1e400) alike.
        reader_.fail(current(), "expected valid JSON: " + libraryMessage(error));
    }

private:
    struct Frame {
        json* node = nullptr;
        bool array = false;
        std::size_t index = 0;  // arrays: the element being read
        std::string key;        // objects: the member being read
        bool hasKey = false;
    };

    // The path of the innermost object or array, for what is wrong with it as a whole.
    std::string pathOfContainer() const {
        std::string path;
        for (std::size_t i = 0; i + 1 < frames_.size(); ++i) {
            const Frame& frame = frames_[i];
            path = frame.array ? elementPath(path, frame.index) : memberPath(path, frame.key);
        }
        return path;
    }

    // Places a value where the parse stands; the address stays valid while
    // the value is open, as nothing else is added to its parent until then.
    json* place(json value) {
        if (++values_ > kValueLimit)
            reader_.fail(current(), "expected at most " + std::to_string(kValueLimit) + " values in the description");
        if (frames_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        Frame& top = frames_.back();
        if (top.array) {
            if (top.node->size() >= kMemberLimit)
                reader_.fail(pathOfContainer(), "expected at most " + std::to_string(kMemberLimit) + " elements");
            auto& elements = top.node->get_ref<json::array_t&>();
            elements.push_back(std::move(value));
            return &elements.back();
        }
        auto& members = top.node->get_ref<json::object_t&>();
        return &members.emplace(top.key, std::move(value)).first->second;
    }

    bool add(json value) {
        place(std::move(value));
        next();
        return true;
    }

    bool open(json container, bool array) {
        if (frames_.size() >= kNestingLimit)
            reader_.fail(current(), "expected at most " + std::to_string(kNestingLimit) + " levels of nesting");
        json* node = place(std::move(container));
        Frame frame;
        frame.node = node;
        frame.array = array;
        frames_.push_back(std::move(frame));
        return true;
    }

    bool close() {
        frames_.pop_back();
        next();
        return true;
    }

    // Between members an error belongs to the object, not to the member before.
    void next() {
        if (frames_.empty()) return;
        Frame& top = frames_.back();
        if (top.array) {
            ++top.index;
        } else {
            top.key.clear();
            top.hasKey = false;
        }
    }

    const DescriptionReader& reader_;
    json root_;
    std::vector<Frame> frames_;
    std::size_t values_ = 0;
};

// Reads the members of one description; each section below matches one
// member of the top-level object.
class Parser {
public:
    Parser(const std::string& source, std::string baseDirectory)
        : reader_(source), baseDirectory_(std::move(baseDirectory)) {
        out_.source = source;
    }

    MachineDescription parse(const json& root) {
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
                             {"version",
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

private:
    void member(const std::string& name, const json& value) {
        const DescriptionReader& r = reader_;
        if (name == "version") version(value);
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

    std::vector<std::string> texts(const json& value, std::string_view path) {
        reader_.expectArray(value, path);
        std::vector<std::string> list;
        for (size_t i = 0; i < value.size(); ++i) list.push_back(reader_.text(value[i], elementPath(path, i)));
        return list;
    }

    void version(const json& value) {
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

    void directories(const json& value) {
        reader_.expectObject(value, "directories", {"windows", "system", "temp"});
        for (const auto& [name, member] : value.items()) {
            std::string text = reader_.text(member, memberPath("directories", name));
            if (name == "windows") out_.windowsDirectory = text;
            else if (name == "system") out_.systemDirectory = text;
            else out_.tempDirectory = text;
        }
    }

    void memory(const json& value) {
        reader_.expectObject(value, "memory", {"load", "total_physical"});
        MemoryFacts facts;
        if (const json* load = DescriptionReader::find(value, "load"))
            facts.load = static_cast<uint32_t>(
                reader_.integer(*load, "memory.load", 0, 100, "expected a percentage (an integer 0 to 100)"));
        if (const json* total = DescriptionReader::find(value, "total_physical"))
            facts.totalPhysical = reader_.u64(*total, "memory.total_physical");
        out_.memory = facts;
    }

    void processor(const json& value) {
        reader_.expectObject(value, "processor", {"count", "type"});
        ProcessorFacts facts;
        if (const json* count = DescriptionReader::find(value, "count"))
            facts.count = reader_.u32(*count, "processor.count");
        if (const json* type = DescriptionReader::find(value, "type"))
            facts.type = reader_.u32(*type, "processor.type");
        out_.processor = facts;
    }

    // Member names that are numbers: metric indices and parameter actions,
    // decimal or with a 0x prefix.
    int64_t numberName(const std::string& name, std::string_view path, int64_t min, int64_t max) {
        const std::optional<int64_t> number = parseNumber<int64_t>(name);
        if (!number || *number < min || *number > max)
            reader_.fail(path, "expected a number as the member name (decimal or 0x hexadecimal)");
        return *number;
    }

    void display(const json& value) {
        reader_.expectObject(value, "display",
                             {"width_twips", "height_twips", "twips_per_pixel_x", "twips_per_pixel_y", "bits_per_pixel",
                              "planes", "logpixelsy", "logpixelsx", "contexts", "metrics", "parameters"});
        DisplayFacts facts;
        for (const auto& [name, member] : value.items()) {
            std::string path = memberPath("display", name);
            if (name == "metrics") {
                reader_.expectAnyObject(member, path);
                for (const auto& [index, answer] : member.items()) {
                    std::string metricPath = memberPath(path, index);
                    auto number = static_cast<int32_t>(numberName(index, metricPath, INT32_MIN, INT32_MAX));
                    facts.metrics[number] = reader_.i32(answer, metricPath);
                }
            } else if (name == "parameters") {
                reader_.expectAnyObject(member, path);
                for (const auto& [action, answer] : member.items()) {
                    std::string actionPath = memberPath(path, action);
                    auto number = static_cast<uint32_t>(numberName(action, actionPath, 0, UINT32_MAX));
                    facts.parameters[number] = readParameterValue(reader_, number, answer, actionPath);
                }
            } else if (name == "contexts") {
                facts.contexts = reader_.flag(member, path);
            } else {
                int32_t number = reader_.i32(member, path);
                if (name == "width_twips") facts.widthTwips = number;
                else if (name == "height_twips") facts.heightTwips = number;
                else if (name == "twips_per_pixel_x") facts.twipsPerPixelX = number;
                else if (name == "twips_per_pixel_y") facts.twipsPerPixelY = number;
                else if (name == "bits_per_pixel") facts.bitsPerPixel = number;
                else if (name == "planes") facts.planes = number;
                else if (name == "logpixelsx") facts.logPixelsX = number;
                else facts.logPixelsY = number;
            }
        }
        out_.display = std::move(facts);
    }

    void regional(const json& value) {
        reader_.expectObject(value, "regional", {"decimal", "thousands", "months"});
        for (const auto& [name, member] : value.items()) {
            std::string path = memberPath("regional", name);
            if (name == "decimal") {
                out_.regional.decimal = reader_.text(member, path);
            } else if (name == "thousands") {
                out_.regional.thousands = reader_.text(member, path);
            } else {
                std::vector<std::string> months = texts(member, path);
                if (months.size() != 12) reader_.fail(path, "expected an array of 12 month abbreviations");
                std::copy(months.begin(), months.end(), out_.regional.months.begin());
            }
        }
    }

    void registry(const json& value) {
        if (out_.registryText) reader_.fail("registry", "expected registry or registry_file, not both");
        out_.registryText = reader_.text(value, "registry");
        out_.registrySource = reader_.source() + ": registry";
    }

    void registryFile(const json& value) {
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

    static bool readDateTime(std::string_view text, DateTime& out) {
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

    void files(const json& value) {
        reader_.expectAnyObject(value, "files");
        for (const auto& [name, entry] : value.items()) {
            std::string path = memberPath("files", name);
            if (!isFullPath(name))
                reader_.fail(path, "expected a full Windows path (C:\\FOLDER\\NAME) as the member name");
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
                    else
                        reader_.fail(elementPath(attributesPath, i),
                                     "expected \"hidden\", \"system\" or \"directory\"");
                }
            }
            out_.files.push_back(std::move(file));
        }
    }

    void programs(const json& value) {
        reader_.expectAnyObject(value, "programs");
        for (const auto& [name, entry] : value.items()) {
            std::string path = memberPath("programs", name);
            if (!isBareName(name) && !isFullPath(name) && !name.starts_with('/'))
                reader_.fail(path,
                             "expected a bare program name, a full Windows path or a host path as the member name");
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

    void currentDirectory(const json& value) {
        std::string text = reader_.text(value, "current_directory");
        if (!isFullPath(text) && !(text.size() == 2 && text[1] == ':' && isFullPath(text + "\\")))
            reader_.fail("current_directory", "expected a full Windows path such as C:\\");
        out_.currentDirectory = text;
    }

    void drives(const json& value) {
        reader_.expectArray(value, "drives");
        for (size_t i = 0; i < value.size(); ++i) {
            std::string path = elementPath("drives", i);
            const json& entry = value[i];
            reader_.expectObject(entry, path,
                                 {"letter", "type", "label", "serial", "max_component", "flags", "file_system",
                                  "sectors_per_cluster", "bytes_per_sector", "free_clusters", "total_clusters",
                                  "free_bytes_to_caller", "total_bytes", "total_free_bytes", "volume_fails",
                                  "space_fails", "cluster_space_fails", "byte_space_fails", "list_label"});
            DriveFacts drive;
            const json* letter = DescriptionReader::find(entry, "letter");
            if (letter == nullptr) reader_.fail(memberPath(path, "letter"), "expected a drive letter (missing)");
            std::string letterText = reader_.text(*letter, memberPath(path, "letter"));
            char c = letterText.size() == 1 ? static_cast<char>(letterText[0] & ~0x20) : '\0';
            if (c < 'A' || c > 'Z') reader_.fail(memberPath(path, "letter"), "expected one drive letter A to Z");
            for (const DriveFacts& earlier : out_.drives)
                if (earlier.letter == c)
                    reader_.fail(memberPath(path, "letter"), "expected a letter not listed before");
            drive.letter = c;
            for (const auto& [name, member] : entry.items()) driveMember(drive, name, member, memberPath(path, name));
            out_.drives.push_back(std::move(drive));
        }
    }

    void driveMember(DriveFacts& drive, const std::string& name, const json& member, const std::string& path) {
        const DescriptionReader& r = reader_;
        if (name == "type") drive.type = r.u32(member, path);
        else if (name == "label") drive.label = r.text(member, path);
        else if (name == "file_system") drive.fileSystem = r.text(member, path);
        else if (name == "serial") drive.serial = r.u32(member, path);
        else if (name == "max_component") drive.maxComponent = r.u32(member, path);
        else if (name == "flags") drive.flags = r.u32(member, path);
        else if (name == "sectors_per_cluster") drive.sectorsPerCluster = r.u32(member, path);
        else if (name == "bytes_per_sector") drive.bytesPerSector = r.u32(member, path);
        else if (name == "free_clusters") drive.freeClusters = r.u32(member, path);
        else if (name == "total_clusters") drive.totalClusters = r.u32(member, path);
        else if (name == "free_bytes_to_caller") drive.freeBytesToCaller = r.u64(member, path);
        else if (name == "total_bytes") drive.totalBytes = r.u64(member, path);
        else if (name == "total_free_bytes") drive.totalFreeBytes = r.u64(member, path);
        else if (name == "volume_fails") drive.volumeFails = r.flag(member, path);
        else if (name == "space_fails") drive.spaceFails = r.flag(member, path);
        else if (name == "cluster_space_fails") drive.clusterSpaceFails = r.flag(member, path);
        else if (name == "byte_space_fails") drive.byteSpaceFails = r.flag(member, path);
        else if (name == "list_label") drive.listLabel = r.text(member, path);
    }

    void failingCalls(const json& value) {
        std::vector<std::string> names = texts(value, "failing_calls");
        for (size_t i = 0; i < names.size(); ++i) {
            if (!isKnownCall(names[i]))
                reader_.fail(elementPath("failing_calls", i),
                             "expected the name of a platform call, not \"" + capQuoted(names[i]) + "\"");
            out_.failingCalls.insert(names[i]);
        }
    }

    DescriptionReader reader_;
    std::string baseDirectory_;
    MachineDescription out_;
};

}  // namespace

MachineDescription parseMachineDescription(std::string_view jsonText, const std::string& sourceName,
                                           const std::string& baseDirectory) {
    const DescriptionReader reader(sourceName);
    DocumentBuilder builder(reader);
    json::sax_parse(jsonText, &builder);
    const json& root = builder.root();
    return Parser(sourceName, baseDirectory).parse(root);
}

MachineDescription loadMachineDescription(const std::string& path) {
    InputFile file = ReadInputFile(path);
    std::optional<std::string>& text = file.text;
    if (!text) DescriptionReader(path).fail("", "cannot read the machine description: " + file.refusal);
    std::string base = std::filesystem::path(path).parent_path().string();
    return parseMachineDescription(*text, path, base.empty() ? "." : base);
}

}  // namespace si32::sim
