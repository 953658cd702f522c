#pragma once
// A machine description read from its JSON text: every member checked for
// its type and turned into the facts the simulated services answer from.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace si32::sim {

struct VersionFacts {
    uint32_t platformId = 0, major = 0, minor = 0, build = 0;
};

struct MemoryFacts {
    uint32_t load = 0;
    uint64_t totalPhysical = 0;
};

struct ProcessorFacts {
    uint32_t count = 0, type = 0;
};

struct DisplayFacts {
    std::optional<int32_t> widthTwips, heightTwips, twipsPerPixelX, twipsPerPixelY;
    int32_t bitsPerPixel = 0, planes = 0, logPixelsY = 0;
    // Absent: 1440 / twips per pixel, as a screen of whole twips has it.
    std::optional<int32_t> logPixelsX;
    // False: the screen is known but no device context can be made.
    bool contexts = true;
    std::map<int32_t, int32_t> metrics;
    // SystemParametersInfoA get action -> the bytes it answers (a 32-bit
    // value as four little-endian bytes, a record, or a text without NUL).
    std::map<uint32_t, std::vector<std::byte>> parameters;
};

struct RegionalFacts {
    std::string decimal = ".";
    std::string thousands = ",";
    std::array<std::string, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
};

struct FileFacts {
    std::string path;  // full Windows path as written
    std::string text;
    std::optional<DateTime> modified;
    bool hidden = false, system = false, directory = false;
};

struct ProgramFacts {
    std::string name;                                         // a bare name or a full path
    std::vector<std::pair<std::string, std::string>> writes;  // name, text
    bool failsToStart = false;
};

struct DriveFacts {
    char letter = 'C';  // upper case
    std::optional<uint32_t> type;
    std::string label, fileSystem;
    uint32_t serial = 0, maxComponent = 0, flags = 0;
    uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    uint64_t freeBytesToCaller = 0, totalBytes = 0, totalFreeBytes = 0;
    bool volumeFails = false, spaceFails = false;
    // Only one of the two space calls fails.
    bool clusterSpaceFails = false, byteSpaceFails = false;
    // What the drive list shows in brackets, when not the label.
    std::optional<std::string> listLabel;
};

struct MachineDescription {
    std::string source;             // the file name, for messages
    uint32_t ansiCodePage = 65001;  // every text below is in it
    std::optional<VersionFacts> version;
    std::optional<std::string> windowsDirectory, systemDirectory, tempDirectory;
    std::optional<std::string> computerName, userName;
    std::optional<MemoryFacts> memory;
    std::optional<ProcessorFacts> processor;
    std::optional<DisplayFacts> display;
    std::optional<uint32_t> taskbarState;
    uint32_t waveDevices = 0;
    std::vector<std::string> midiDevices;
    std::string printingDefault;
    RegionalFacts regional;
    std::optional<std::string> registryText;
    std::string registrySource;  // names the registry text in errors
    bool registryConnectFails = false;
    std::vector<std::string> registryReadOnlyKeys;
    std::vector<FileFacts> files;
    std::vector<ProgramFacts> programs;
    std::string currentDirectory = "C:\\";
    std::vector<DriveFacts> drives;
    bool previousInstance = false;
    std::set<std::string, std::less<>> failingCalls;
};

// Throws MachineDescriptionError. baseDirectory: where registry_file is
// looked for (the description file's folder), and the one folder whose
// files a description may name.
MachineDescription parseMachineDescription(std::string_view jsonText, const std::string& sourceName,
                                           const std::string& baseDirectory);

// Reads the file and parses it.
MachineDescription loadMachineDescription(const std::string& path);

}  // namespace si32::sim
