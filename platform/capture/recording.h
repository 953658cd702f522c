#pragma once
// What a recording backend learned from the machine it wraps: every answer
// the program was given, kept as the facts a machine description holds. The
// first answer to a question wins, so a description replays what the
// recorded run showed even when a value changes by itself later.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/ui.h"

namespace si32::capture {

// Keys of maps that Windows matches without regard to case.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

struct RecordedValue {
    uint32_t type = 0;
    std::string data;  // the bytes as the call returns them, a string's NUL included
};

struct RecordedKey {
    HKEY root = 0;
    std::string path;  // below the root, as the program spelled it first
    std::map<std::string, RecordedValue, NoCaseLess> values;
};

struct RecordedFile {
    std::string path;  // full Windows path, the file name as the machine spells it
    std::optional<std::string> text;
    std::optional<DateTime> modified;
    bool hidden = false;     // there, but Dir does not show it
    bool directory = false;  // a folder the program changed to
    uint64_t openedAt = 0;   // when the program first read it (Recording::clock)
};

struct RecordedProgram {
    std::string name;                           // as the program named it
    std::string startDirectory;                 // the current directory when it started
    std::map<std::string, std::string> writes;  // name relative to startDirectory, text
    bool failsToStart = false;
    uint64_t startedAt = 0;  // Recording::clock at the start
};

struct RecordedVolume {
    std::string label, fileSystem;
    uint32_t serial = 0, maxComponent = 0, flags = 0;
};

struct RecordedClusters {
    uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
};

struct RecordedBytes {
    uint64_t freeBytesToCaller = 0, totalBytes = 0, totalFreeBytes = 0;
};

struct RecordedDrive {
    char letter = 'C';
    std::string listLabel;  // what the drive list shows in brackets
    std::optional<uint32_t> type;
    std::optional<RecordedVolume> volume;
    bool volumeFails = false;
    std::optional<RecordedClusters> clusters;
    std::optional<RecordedBytes> bytes;
    bool clustersFail = false, bytesFail = false;
};

struct RecordedVersion {
    uint32_t platformId = 0, major = 0, minor = 0, build = 0;
};

struct RecordedDisplay {
    std::optional<ScreenTwips> screen;
    bool contextMade = false;    // CreateICA or GetWindowDC answered a context
    bool contextFailed = false;  // ... or answered 0
    std::map<int32_t, int32_t> caps;
    std::map<int32_t, int32_t> metrics;
    std::map<uint32_t, std::vector<std::byte>> parameters;
};

struct Recording {
    std::optional<uint32_t> codePage;  // the ANSI code page every text below is in
    std::optional<RecordedVersion> version;
    std::optional<std::string> windowsDirectory, systemDirectory, tempDirectory;
    std::optional<std::string> computerName, userName;
    std::optional<uint32_t> memoryLoad;
    std::optional<uint64_t> totalPhysical;
    std::optional<uint32_t> processorCount, processorType;
    RecordedDisplay display;
    std::optional<uint32_t> taskbarState;
    std::optional<uint32_t> waveDevices, midiDeviceCount;
    std::map<uint32_t, std::string> midiNames;
    std::optional<std::string> defaultPrinter;
    std::map<uint32_t, std::string> locale;  // LCTYPE -> text without NUL
    // Keys by their full path ("HKEY_LOCAL_MACHINE\\SOFTWARE\\...").
    std::map<std::string, RecordedKey, NoCaseLess> keys;
    bool registryConnectFails = false;
    // INI files by full Windows path, then section, then key.
    std::map<std::string, std::map<std::string, std::map<std::string, std::string, NoCaseLess>, NoCaseLess>, NoCaseLess>
        ini;
    std::map<std::string, RecordedFile, NoCaseLess> files;
    std::vector<RecordedProgram> programs;
    std::set<std::string, NoCaseLess> killed;  // full paths the program deleted
    std::optional<std::string> currentDirectory;
    std::optional<std::vector<char>> driveList;  // the drive list's letters in order
    std::map<char, RecordedDrive> drives;
    // Until the window has shown its first drive, a drive's space is the
    // last answer (the one the window shows: start-up asks twice); after it,
    // the first, so that going through the other drives changes none.
    bool spaceAsShown = false;
    std::optional<bool> previousInstance;
    // Calls that raised on the machine and never answered.
    std::set<std::string> raised;
    std::set<std::string> answered;
    // Counts the file and program calls, to tell what came first.
    uint64_t clock = 0;
};

}  // namespace si32::capture
