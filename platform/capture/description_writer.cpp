#include "platform/capture/description_writer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/capture/windows_paths.h"
#include "platform/code_page.h"
#include "platform/engine/registry_store.h"
#include "platform/regional.h"
#include "platform/spi.h"
#include "platform/ui.h"

namespace si32::capture {
namespace {

using Json = nlohmann::ordered_json;

// Calls whose failure belongs to one path or one program, never to the
// machine as a whole; they never go into failing_calls.
constexpr std::string_view kPerPathCalls[] = {"Dir",          "ChDrive",      "ChDir", "CurDir",
                                              "OpenForInput", "FileDateTime", "Kill",  "Shell"};

std::string isoDate(const DateTime& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
    return text;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool sameText(const std::string& a, const std::string& b) {
    NoCaseLess less;
    return !less(a, b) && !less(b, a);
}

Json versionOf(const RecordedVersion& v) {
    return Json{{"platform_id", v.platformId}, {"major", v.major}, {"minor", v.minor}, {"build", v.build}};
}

Json directoriesOf(const Recording& rec) {
    Json dirs = Json::object();
    if (rec.windowsDirectory) dirs["windows"] = *rec.windowsDirectory;
    if (rec.systemDirectory) dirs["system"] = *rec.systemDirectory;
    if (rec.tempDirectory) dirs["temp"] = *rec.tempDirectory;
    return dirs;
}

// A parameter's answer: the wallpaper as its name, a 32-bit value as a
// number, anything else as its bytes.
Json parameterOf(uint32_t action, const std::vector<std::byte>& bytes) {
    if (action == SPI_GETDESKWALLPAPER) {
        std::string text;
        for (std::byte b : bytes) text.push_back(static_cast<char>(b));
        return text;
    }
    if (bytes.size() == 4) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i) value |= std::to_integer<uint32_t>(bytes[i]) << (8 * i);
        return static_cast<int32_t>(value);
    }
    Json array = Json::array();
    for (std::byte b : bytes) array.push_back(std::to_integer<int>(b));
    return array;
}

std::optional<Json> displayOf(const RecordedDisplay& d) {
    Json metrics = Json::object();
    for (const auto& [index, value] : d.metrics)
        if (value != 0) metrics[std::to_string(index)] = value;
    const bool any = d.screen || d.contextMade || !metrics.empty() || !d.parameters.empty();
    if (!any) return std::nullopt;
    Json display = Json::object();
    if (d.screen) {
        display["width_twips"] = static_cast<int32_t>(d.screen->width);
        display["height_twips"] = static_cast<int32_t>(d.screen->height);
        display["twips_per_pixel_x"] = static_cast<int32_t>(d.screen->twipsPerPixelX);
        display["twips_per_pixel_y"] = static_cast<int32_t>(d.screen->twipsPerPixelY);
    }
    auto cap = [&](int32_t index) {
        const auto found = d.caps.find(index);
        return found == d.caps.end() ? 0 : found->second;
    };
    display["bits_per_pixel"] = cap(BITSPIXEL);
    display["planes"] = cap(PLANES);
    display["logpixelsy"] = cap(LOGPIXELSY);
    if (d.caps.contains(LOGPIXELSX)) display["logpixelsx"] = cap(LOGPIXELSX);
    if (!d.contextMade) display["contexts"] = false;
    display["metrics"] = metrics;
    Json parameters = Json::object();
    for (const auto& [action, bytes] : d.parameters) parameters[std::to_string(action)] = parameterOf(action, bytes);
    display["parameters"] = parameters;
    return display;
}

std::optional<Json> regionalOf(const std::map<uint32_t, std::string>& locale) {
    Json regional = Json::object();
    if (auto found = locale.find(LOCALE_SDECIMAL); found != locale.end()) regional["decimal"] = found->second;
    if (auto found = locale.find(LOCALE_STHOUSAND); found != locale.end()) regional["thousands"] = found->second;
    Json months = Json::array();
    for (LCTYPE m = 0; m < 12; ++m)
        if (auto found = locale.find(LOCALE_SABBREVMONTHNAME1 + m); found != locale.end())
            months.push_back(found->second);
    if (months.size() == 12) regional["months"] = months;
    if (regional.empty()) return std::nullopt;
    return regional;
}

// The keys the program opened, with the values it read, as REGEDIT4 text.
std::string registryOf(const Recording& rec) {
    RegistryStore store;
    std::vector<HKEY> roots;
    for (const auto& [full, key] : rec.keys) {
        if (std::find(roots.begin(), roots.end(), key.root) == roots.end()) roots.push_back(key.root);
        if (key.values.empty()) {
            if (!key.path.empty()) store.LoadRegedit4("REGEDIT4\r\n\r\n[" + full + "]\r\n", "capture");
            continue;
        }
        for (const auto& [name, value] : key.values) store.SetValue(key.root, key.path, name, value.type, value.data);
    }
    std::sort(roots.begin(), roots.end());
    std::string text = "REGEDIT4\r\n";
    for (HKEY root : roots) {
        std::string part = store.ExportRegedit4(root, "");
        const std::string header = "REGEDIT4\r\n";
        if (part.starts_with(header)) part.erase(0, header.size());
        text += part;
    }
    return text;
}

std::string iniText(const std::map<std::string, std::map<std::string, std::string, NoCaseLess>, NoCaseLess>& sections) {
    std::string text;
    for (const auto& [section, keys] : sections) {
        text += "[" + section + "]\r\n";
        // Quoted, so blanks at either end and quotes inside survive the reader.
        for (const auto& [key, value] : keys) text += key + "=\"" + value + "\"\r\n";
    }
    return text;
}

// A program that wrote a file the program then read and deleted gets the
// file among its writes; such a file was not there before the start.
const RecordedProgram* writerOf(const Recording& rec, const RecordedFile& file, const std::string& path) {
    const RecordedProgram* writer = nullptr;
    for (const RecordedProgram& program : rec.programs)
        if (!program.failsToStart && program.startedAt < file.openedAt &&
            sameText(folderOf(path), program.startDirectory))
            writer = &program;
    return writer;
}

Json fileEntry(const RecordedFile& file) {
    Json entry = Json::object();
    if (file.text) entry["text"] = *file.text;
    if (file.modified) entry["modified"] = isoDate(*file.modified);
    Json attributes = Json::array();
    if (file.hidden) attributes.push_back("hidden");
    if (file.directory && !file.text && !file.modified) attributes.push_back("directory");
    if (!attributes.empty()) entry["attributes"] = attributes;
    return entry;
}

void filesAndPrograms(const Recording& rec, Json& out) {
    std::map<std::string, RecordedFile, NoCaseLess> files = rec.files;
    for (const auto& [path, sections] : rec.ini) {
        RecordedFile& file = files[path];
        file.path = path;
        if (!file.text) file.text = iniText(sections);
    }
    std::map<std::string, Json> programs;
    std::vector<std::string> programOrder;
    for (const RecordedProgram& program : rec.programs) {
        if (programs.contains(program.name)) continue;
        programOrder.push_back(program.name);
        programs[program.name] = program.failsToStart ? Json{{"fails_to_start", true}} : Json::object();
    }
    Json fileJson = Json::object();
    for (const auto& [key, file] : files) {
        const RecordedProgram* writer = rec.killed.contains(key) && file.text ? writerOf(rec, file, key) : nullptr;
        if (writer != nullptr) {
            programs[writer->name]["writes"][key.substr(folderOf(key).size() + 1)] = *file.text;
            continue;
        }
        fileJson[file.path.empty() ? key : file.path] = fileEntry(file);
    }
    out["files"] = fileJson;
    std::sort(programOrder.begin(), programOrder.end());
    Json programJson = Json::object();
    for (const std::string& name : programOrder) programJson[name] = programs[name];
    out["programs"] = programJson;
}

Json driveOf(const RecordedDrive& d) {
    Json drive{{"letter", std::string(1, d.letter)}};
    if (d.type) drive["type"] = *d.type;
    const std::string label = d.volume ? d.volume->label : std::string();
    if (d.volume) {
        drive["label"] = d.volume->label;
        drive["serial"] = d.volume->serial;
        drive["max_component"] = d.volume->maxComponent;
        drive["flags"] = d.volume->flags;
        drive["file_system"] = d.volume->fileSystem;
    } else {
        drive["volume_fails"] = true;
    }
    // The list derives its entry from the label unless told otherwise.
    if (d.listLabel != (d.volume ? label : std::string())) drive["list_label"] = d.listLabel;
    if (d.clusters) {
        drive["sectors_per_cluster"] = d.clusters->sectorsPerCluster;
        drive["bytes_per_sector"] = d.clusters->bytesPerSector;
        drive["free_clusters"] = d.clusters->freeClusters;
        drive["total_clusters"] = d.clusters->totalClusters;
    }
    if (d.bytes) {
        drive["free_bytes_to_caller"] = d.bytes->freeBytesToCaller;
        drive["total_bytes"] = d.bytes->totalBytes;
        drive["total_free_bytes"] = d.bytes->totalFreeBytes;
    }
    if (!d.clusters && !d.bytes) {
        drive["space_fails"] = true;
    } else if (!d.clusters || !d.bytes) {
        drive[!d.clusters ? "cluster_space_fails" : "byte_space_fails"] = true;
    }
    return drive;
}

Json drivesOf(const Recording& rec) {
    Json drives = Json::array();
    if (!rec.driveList) return drives;
    for (const char letter : *rec.driveList) drives.push_back(driveOf(rec.drives.at(letter)));
    return drives;
}

Json failingCallsOf(const Recording& rec) {
    Json calls = Json::array();
    for (const std::string& call : rec.raised) {
        if (rec.answered.contains(call)) continue;
        if (std::find(std::begin(kPerPathCalls), std::end(kPerPathCalls), call) != std::end(kPerPathCalls)) continue;
        calls.push_back(call);
    }
    return calls;
}

Json describe(const Recording& rec) {
    Json out = Json::object();
    if (rec.version) out["version"] = versionOf(*rec.version);
    if (Json dirs = directoriesOf(rec); !dirs.empty()) out["directories"] = dirs;
    if (rec.computerName) out["computer_name"] = *rec.computerName;
    if (rec.userName) out["user_name"] = *rec.userName;
    if (rec.memoryLoad && rec.totalPhysical)
        out["memory"] = Json{{"load", *rec.memoryLoad}, {"total_physical", *rec.totalPhysical}};
    if (rec.processorCount && rec.processorType)
        out["processor"] = Json{{"count", *rec.processorCount}, {"type", *rec.processorType}};
    if (auto display = displayOf(rec.display)) out["display"] = *display;
    if (rec.taskbarState) out["taskbar_state"] = *rec.taskbarState;
    out["wave_devices"] = rec.waveDevices.value_or(0);
    Json midi = Json::array();
    for (uint32_t id = 0; id < rec.midiDeviceCount.value_or(0); ++id) {
        const auto name = rec.midiNames.find(id);
        midi.push_back(name == rec.midiNames.end() ? std::string() : name->second);
    }
    out["midi_devices"] = midi;
    if (rec.defaultPrinter && !rec.defaultPrinter->empty()) out["printing_default"] = *rec.defaultPrinter;
    if (auto regional = regionalOf(rec.locale)) out["regional"] = *regional;
    out["registry"] = registryOf(rec);
    if (rec.registryConnectFails) out["registry_connect_fails"] = true;
    filesAndPrograms(rec, out);
    if (rec.currentDirectory) out["current_directory"] = *rec.currentDirectory;
    out["drives"] = drivesOf(rec);
    if (rec.previousInstance.value_or(false)) out["previous_instance"] = true;
    if (Json calls = failingCallsOf(rec); !calls.empty()) out["failing_calls"] = calls;
    return out;
}

// Every text of the description: string values and the member names that
// are paths or program names (the others are ASCII, the same either way).
template <class Visit>
Json withTexts(const Json& node, Visit&& visit) {
    if (node.is_string()) return visit(node.get_ref<const std::string&>());
    if (node.is_array()) {
        Json array = Json::array();
        for (const Json& item : node) array.push_back(withTexts(item, visit));
        return array;
    }
    if (!node.is_object()) return node;
    Json object = Json::object();
    for (const auto& [name, value] : node.items()) object[visit(name)] = withTexts(value, visit);
    return object;
}

bool allDecodeExactly(const Json& node, uint32_t codePage) {
    bool exact = true;
    withTexts(node, [&](const std::string& bytes) {
        exact = exact && DecodesExactly(bytes, codePage);
        return std::string();
    });
    return exact;
}

// The recorded bytes as the description's UTF-8: decoded from the machine's
// code page, or, when any text holds bytes the code page cannot show, all
// of them escaped so that the replay gets every byte back.
Json inDescriptionTexts(const Json& recorded, uint32_t codePage) {
    Json out = Json::object();
    if (codePage != CP_UTF8) out["ansi_code_page"] = codePage;
    if (allDecodeExactly(recorded, codePage)) {
        out.update(withTexts(recorded, [&](const std::string& bytes) { return DecodeAnsi(bytes, codePage); }));
        return out;
    }
    out["escaped_bytes"] = true;
    out.update(withTexts(recorded, [&](const std::string& bytes) { return EscapeAnsi(bytes, codePage); }));
    return out;
}

}  // namespace

std::string DescriptionText(const nlohmann::ordered_json& description) { return description.dump(2) + "\n"; }

nlohmann::ordered_json DescribeMachine(const Recording& recording, const Privacy& privacy) {
    const uint32_t codePage = recording.codePage.value_or(CP_UTF8);
    if (!privacy.anonymous) return inDescriptionTexts(describe(recording), codePage);
    return inDescriptionTexts(describe(Anonymized(recording, privacy.homeDirectory)), codePage);
}

}  // namespace si32::capture
