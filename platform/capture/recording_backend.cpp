#include "platform/capture/recording_backend.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/capture/windows_paths.h"
#include "platform/contract/spi_actions.h"
#include "platform/run_time_error.h"
#include "platform/sim/spi_table.h"
#include "platform/text_helpers.h"

namespace si32::capture {

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const { return lessNoCase(a, b); }

namespace {

// Long enough for any answer the services give; a longer one is cut, as the
// program's own buffers would cut it.
constexpr size_t kLargeBuffer = 32768;
// A file is read to its end for the description, but no further than this.
constexpr size_t kMaxFileText = 1 << 20;

// Runs one call; a run-time error is noted against the call and passed on.
template <class Call>
auto ask(Recording& rec, const char* name, Call&& call) -> decltype(call()) {
    try {
        if constexpr (std::is_void_v<decltype(call())>) {
            call();
            rec.answered.insert(name);
        } else {
            auto result = call();
            rec.answered.insert(name);
            return result;
        }
    } catch (const RunTimeError&) {
        rec.raised.insert(name);
        throw;
    }
}

std::string cutAtNul(std::span<const char> text) {
    return std::string(upToNul(std::string_view(text.data(), text.size())));
}

template <class T>
void keepFirst(std::optional<T>& slot, T value) {
    if (!slot) slot = std::move(value);
}

// A directory call's text: asked again with room enough when the program's
// buffer was too small, so the description holds it whole.
template <class Call>
void recordDirectory(std::optional<std::string>& slot, uint32_t result, std::span<char> buffer, Call&& call) {
    if (slot || result == 0) return;
    if (result < buffer.size()) {
        slot = std::string(buffer.data(), result);
        return;
    }
    std::vector<char> large(std::max<size_t>(result + 1, 1));
    const uint32_t again = call(std::span<char>(large));
    if (again != 0 && again < large.size()) slot = std::string(large.data(), again);
}

class RecordingKernel final : public Kernel {
public:
    RecordingKernel(Kernel& inner, Recording& rec) : inner_(inner), rec_(rec) {}

    int32_t GetVersionExA(OsVersionInfoA& info) override {
        const bool honest = info.dwOSVersionInfoSize == 148;
        const int32_t ok = ask(rec_, "GetVersionExA", [&] { return inner_.GetVersionExA(info); });
        if (ok != 0 && honest)
            keepFirst(rec_.version,
                      RecordedVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber});
        return ok;
    }
    uint32_t GetWindowsDirectoryA(std::span<char> buffer) override {
        return directory("GetWindowsDirectoryA", rec_.windowsDirectory, buffer,
                         [this](std::span<char> b) { return inner_.GetWindowsDirectoryA(b); });
    }
    uint32_t GetSystemDirectoryA(std::span<char> buffer) override {
        return directory("GetSystemDirectoryA", rec_.systemDirectory, buffer,
                         [this](std::span<char> b) { return inner_.GetSystemDirectoryA(b); });
    }
    uint32_t GetTempPathA(std::span<char> buffer) override {
        return directory("GetTempPathA", rec_.tempDirectory, buffer,
                         [this](std::span<char> b) { return inner_.GetTempPathA(b); });
    }
    int32_t GetComputerNameA(std::span<char> buffer, uint32_t& size) override {
        const uint32_t given = size;
        const int32_t ok = ask(rec_, "GetComputerNameA", [&] { return inner_.GetComputerNameA(buffer, size); });
        if (ok != 0) {
            keepFirst(rec_.computerName, std::string(buffer.data(), std::min<size_t>(size, buffer.size())));
        } else if (size > given && !rec_.computerName) {
            std::vector<char> large(size);
            uint32_t largeSize = size;
            if (inner_.GetComputerNameA(large, largeSize) != 0)
                rec_.computerName = std::string(large.data(), largeSize);
        }
        return ok;
    }
    void GetSystemInfo(SystemInfo& info) override {
        ask(rec_, "GetSystemInfo", [&] { inner_.GetSystemInfo(info); });
        keepFirst(rec_.processorCount, info.dwNumberOfProcessors);
        keepFirst(rec_.processorType, info.dwProcessorType);
    }
    void GlobalMemoryStatus(MemoryStatus& status) override {
        ask(rec_, "GlobalMemoryStatus", [&] { inner_.GlobalMemoryStatus(status); });
        keepFirst(rec_.memoryLoad, status.dwMemoryLoad);
        keepFirst(rec_.totalPhysical, uint64_t{status.dwTotalPhys});
    }
    int32_t GlobalMemoryStatusEx(MemoryStatusEx& status) override {
        const int32_t ok = ask(rec_, "GlobalMemoryStatusEx", [&] { return inner_.GlobalMemoryStatusEx(status); });
        if (ok != 0) {
            keepFirst(rec_.memoryLoad, status.dwMemoryLoad);
            keepFirst(rec_.totalPhysical, status.ullTotalPhys);
        }
        return ok;
    }
    uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key, std::string_view defaultValue,
                                      std::span<char> buffer, std::string_view fileName) override {
        const uint32_t count = ask(rec_, "GetPrivateProfileStringA", [&] {
            return inner_.GetPrivateProfileStringA(section, key, defaultValue, buffer, fileName);
        });
        std::string value(buffer.data(), std::min<size_t>(count, buffer.size()));
        if (!buffer.empty() && count + 1 >= buffer.size()) {
            // Cut to the program's buffer: the description needs it whole.
            std::vector<char> large(kLargeBuffer);
            const uint32_t whole = inner_.GetPrivateProfileStringA(section, key, defaultValue, large, fileName);
            value.assign(large.data(), whole);
        }
        // An answer that is the default may be a missing key; leaving it
        // out answers the same.
        if (value != defaultValue && windowsDirectory()) {
            const std::string path = iniFilePath(fileName, *windowsDirectory());
            auto& keys = rec_.ini[path][std::string(section)];
            keys.try_emplace(std::string(key), value);
        }
        return count;
    }
    int32_t GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName, uint32_t& serialNumber,
                                  uint32_t& maxComponentLength, uint32_t& fileSystemFlags,
                                  std::span<char> fileSystemName) override {
        const int32_t ok = ask(rec_, "GetVolumeInformationA", [&] {
            return inner_.GetVolumeInformationA(rootPath, volumeName, serialNumber, maxComponentLength, fileSystemFlags,
                                                fileSystemName);
        });
        RecordedDrive* drive = driveOf(rootPath);
        if (drive == nullptr || drive->volume || drive->volumeFails) return ok;
        if (ok != 0)
            drive->volume = RecordedVolume{cutAtNul(volumeName), cutAtNul(fileSystemName), serialNumber,
                                           maxComponentLength, fileSystemFlags};
        else if (!volumeName.empty() && !fileSystemName.empty()) drive->volumeFails = true;
        return ok;
    }
    uint32_t GetDriveTypeA(std::string_view rootPath) override {
        const uint32_t type = ask(rec_, "GetDriveTypeA", [&] { return inner_.GetDriveTypeA(rootPath); });
        if (RecordedDrive* drive = driveOf(rootPath); drive != nullptr && isRoot(rootPath))
            keepFirst(drive->type, type);
        return type;
    }
    int32_t GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                              uint32_t& freeClusters, uint32_t& totalClusters) override {
        const int32_t ok = ask(rec_, "GetDiskFreeSpaceA", [&] {
            return inner_.GetDiskFreeSpaceA(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
        });
        RecordedDrive* drive = driveOf(rootPath);
        if (drive == nullptr || drive->clusters || drive->clustersFail) return ok;
        if (ok != 0) drive->clusters = RecordedClusters{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
        else drive->clustersFail = true;
        return ok;
    }
    int32_t GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                uint64_t& totalFreeBytes) override {
        const int32_t ok = ask(rec_, "GetDiskFreeSpaceExA", [&] {
            return inner_.GetDiskFreeSpaceExA(rootPath, freeBytesToCaller, totalBytes, totalFreeBytes);
        });
        RecordedDrive* drive = driveOf(rootPath);
        if (drive == nullptr || drive->bytes || drive->bytesFail) return ok;
        if (ok != 0) drive->bytes = RecordedBytes{freeBytesToCaller, totalBytes, totalFreeBytes};
        else drive->bytesFail = true;
        return ok;
    }
    uint32_t GetACP() override {
        const uint32_t codePage = inner_.GetACP();
        keepFirst(rec_.codePage, codePage);
        return codePage;
    }

    // The Windows directory as the machine names it, learned on demand.
    const std::optional<std::string>& windowsDirectory() {
        if (!rec_.windowsDirectory) {
            std::vector<char> large(kLargeBuffer);
            const uint32_t n = inner_.GetWindowsDirectoryA(large);
            if (n != 0 && n < large.size()) rec_.windowsDirectory = std::string(large.data(), n);
        }
        return rec_.windowsDirectory;
    }

private:
    template <class Call>
    uint32_t directory(const char* name, std::optional<std::string>& slot, std::span<char> buffer, Call&& call) {
        const uint32_t result = ask(rec_, name, [&] { return call(buffer); });
        recordDirectory(slot, result, buffer, call);
        return result;
    }
    static bool isRoot(std::string_view rootPath) {
        return rootPath.size() == 2 || (rootPath.size() == 3 && (rootPath[2] == '\\' || rootPath[2] == '/'));
    }
    RecordedDrive* driveOf(std::string_view rootPath) {
        const std::optional<char> letter = driveLetterOf(rootPath);
        if (!letter) return nullptr;
        RecordedDrive& drive = rec_.drives[*letter];
        drive.letter = *letter;
        return &drive;
    }

    Kernel& inner_;
    Recording& rec_;
};

class RecordingRegistry final : public Registry {
public:
    RecordingRegistry(Registry& inner, Recording& rec) : inner_(inner), rec_(rec) {
        for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG})
            paths_[root] = Place{root, ""};
    }

    int32_t RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                          HKEY& result) override {
        const int32_t status =
            ask(rec_, "RegOpenKeyExA", [&] { return inner_.RegOpenKeyExA(key, subKey, options, samDesired, result); });
        const auto parent = paths_.find(key);
        if (status != ERROR_SUCCESS || parent == paths_.end()) return status;
        Place place = parent->second;
        const std::string below = trimBackslashes(subKey);
        if (!below.empty()) place.path += (place.path.empty() ? "" : "\\") + below;
        paths_[result] = place;
        const std::string full = fullKeyPath(place.root, place.path);
        rec_.keys.try_emplace(full, RecordedKey{place.root, place.path, {}});
        return status;
    }
    int32_t RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                             uint32_t& dataSize) override {
        const uint32_t given = dataSize;
        const int32_t status = ask(rec_, "RegQueryValueExA",
                                   [&] { return inner_.RegQueryValueExA(key, valueName, type, data, dataSize); });
        const auto place = paths_.find(key);
        if (place == paths_.end() || (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)) return status;
        RecordedKey& recorded = rec_.keys
                                    .try_emplace(fullKeyPath(place->second.root, place->second.path),
                                                 RecordedKey{place->second.root, place->second.path, {}})
                                    .first->second;
        if (recorded.values.contains(std::string(valueName))) return status;
        RecordedValue value{type, {}};
        if (status == ERROR_SUCCESS && !data.empty() && dataSize <= std::min<size_t>(given, data.size())) {
            value.data.assign(data.data(), dataSize);
        } else {
            // A size question, or too small a buffer: ask for the bytes.
            std::vector<char> whole(dataSize);
            uint32_t wholeSize = dataSize;
            uint32_t wholeType = 0;
            if (inner_.RegQueryValueExA(key, valueName, wholeType, whole, wholeSize) != ERROR_SUCCESS) return status;
            value = RecordedValue{wholeType, std::string(whole.data(), wholeSize)};
        }
        recorded.values.emplace(std::string(valueName), std::move(value));
        return status;
    }
    int32_t RegCloseKey(HKEY key) override {
        const int32_t status = ask(rec_, "RegCloseKey", [&] { return inner_.RegCloseKey(key); });
        if (status == ERROR_SUCCESS && !isPredefined(key)) paths_.erase(key);
        return status;
    }
    int32_t RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) override {
        const int32_t status =
            ask(rec_, "RegConnectRegistryA", [&] { return inner_.RegConnectRegistryA(machineName, key, result); });
        if (status != ERROR_SUCCESS) {
            rec_.registryConnectFails = true;
            return status;
        }
        paths_[result] = Place{key, ""};
        return status;
    }
    int32_t GetUserNameA(std::span<char> buffer, uint32_t& size) override {
        const uint32_t given = size;
        const int32_t ok = ask(rec_, "GetUserNameA", [&] { return inner_.GetUserNameA(buffer, size); });
        if (ok != 0) {
            keepFirst(rec_.userName, cutAtNul(buffer.first(std::min<size_t>(size, buffer.size()))));
        } else if (size > given && !rec_.userName) {
            std::vector<char> large(size);
            uint32_t largeSize = size;
            if (inner_.GetUserNameA(large, largeSize) != 0) rec_.userName = cutAtNul(std::span<const char>(large));
        }
        return ok;
    }

private:
    struct Place {
        HKEY root = 0;
        std::string path;
    };
    static bool isPredefined(HKEY key) { return key >= HKEY_CLASSES_ROOT && key <= HKEY_CURRENT_CONFIG; }
    static std::string trimBackslashes(std::string_view text) {
        while (!text.empty() && text.front() == '\\') text.remove_prefix(1);
        while (!text.empty() && text.back() == '\\') text.remove_suffix(1);
        return std::string(text);
    }

    Registry& inner_;
    Recording& rec_;
    std::map<HKEY, Place> paths_;
};

// A file read for the program, kept whole for the description when the
// program lets go of it.
class RecordingFile final : public SequentialFile {
public:
    RecordingFile(std::unique_ptr<SequentialFile> inner, std::string& text) : inner_(std::move(inner)), text_(text) {}
    ~RecordingFile() override {
        try {
            for (int c = 0; text_.size() < kMaxFileText && (c = inner_->Get()) >= 0;)
                text_.push_back(static_cast<char>(c));
        } catch (const RunTimeError&) {
            // What could be read is what the description holds.
        }
    }
    int Get() override {
        const int c = inner_->Get();
        if (c >= 0 && text_.size() < kMaxFileText) text_.push_back(static_cast<char>(c));
        return c;
    }

private:
    std::unique_ptr<SequentialFile> inner_;
    std::string& text_;
};

class RecordingFiles final : public Files {
public:
    RecordingFiles(Files& inner, Recording& rec) : inner_(inner), rec_(rec) {
        try {
            rec_.currentDirectory = inner_.CurDir();
        } catch (const RunTimeError&) {
        }
    }

    std::string Dir(std::string_view path) override {
        const std::string full = fullPath(path);
        const std::string name = ask(rec_, "Dir", [&] { return inner_.Dir(path); });
        if (!name.empty()) {
            const size_t slash = full.rfind('\\');
            const std::string entry = (slash == std::string::npos ? std::string() : full.substr(0, slash + 1)) + name;
            file(entry).hidden = false;
        } else if (!hasWildcard(full)) {
            dirEmpty_.insert(full);
            if (auto found = rec_.files.find(full); found != rec_.files.end()) found->second.hidden = true;
        }
        return name;
    }
    void ChDrive(std::string_view drive) override {
        ask(rec_, "ChDrive", [&] { inner_.ChDrive(drive); });
    }
    void ChDir(std::string_view path) override {
        const std::string full = fullPath(path);
        ask(rec_, "ChDir", [&] { inner_.ChDir(path); });
        if (full.size() > 3) file(full).directory = true;
    }
    std::string CurDir() override {
        return ask(rec_, "CurDir", [&] { return inner_.CurDir(); });
    }
    std::unique_ptr<SequentialFile> OpenForInput(std::string_view path) override {
        const std::string full = fullPath(path);
        std::unique_ptr<SequentialFile> opened = ask(rec_, "OpenForInput", [&] { return inner_.OpenForInput(path); });
        RecordedFile& recorded = file(full);
        if (recorded.text) return opened;
        recorded.openedAt = ++rec_.clock;
        recorded.text.emplace();
        return std::make_unique<RecordingFile>(std::move(opened), *recorded.text);
    }
    DateTime FileDateTime(std::string_view path) override {
        const std::string full = fullPath(path);
        const DateTime date = ask(rec_, "FileDateTime", [&] { return inner_.FileDateTime(path); });
        keepFirst(file(full).modified, date);
        return date;
    }
    void Kill(std::string_view path) override {
        const std::string full = fullPath(path);
        ask(rec_, "Kill", [&] { inner_.Kill(path); });
        rec_.killed.insert(full);
    }
    uint32_t Shell(const std::vector<std::string>& argv, int32_t windowStyle) override {
        RecordedProgram program{
            argv.empty() ? std::string() : argv.front(), currentDirectory(), {}, false, ++rec_.clock};
        try {
            uint32_t pid = 0;
            if (lookOnly_) {
                if (!inner_.WouldStart(argv).value_or(true))
                    raise(ErrorKind::FileNotFound, program.name + ": file not found");
            } else {
                pid = ask(rec_, "Shell", [&] { return inner_.Shell(argv, windowStyle); });
            }
            started_.push_back(program.name);
            rec_.programs.push_back(std::move(program));
            return pid;
        } catch (const RunTimeError&) {
            program.failsToStart = true;
            rec_.programs.push_back(std::move(program));
            throw;
        }
    }
    bool WaitForExit(uint32_t processId, uint32_t milliseconds) override {
        return lookOnly_ || inner_.WaitForExit(processId, milliseconds);
    }
    std::vector<std::string> Started() const override { return started_; }

    void LookOnly() { lookOnly_ = true; }

private:
    RecordedFile& file(const std::string& full) {
        auto [entry, added] = rec_.files.try_emplace(full);
        if (added) {
            entry->second.path = full;
            entry->second.hidden = dirEmpty_.contains(full);
        }
        return entry->second;
    }
    std::string currentDirectory() {
        try {
            return inner_.CurDir();
        } catch (const RunTimeError&) {
            return rec_.currentDirectory.value_or("C:\\");
        }
    }
    std::string fullPath(std::string_view path) { return fullWindowsPath(path, currentDirectory()); }
    static bool hasWildcard(std::string_view path) { return path.find_first_of("*?") != std::string_view::npos; }

    Files& inner_;
    Recording& rec_;
    bool lookOnly_ = false;
    std::vector<std::string> started_;
    std::set<std::string, NoCaseLess> dirEmpty_;
};

class RecordingUi final : public Ui {
public:
    RecordingUi(Ui& inner, Recording& rec) : inner_(inner), rec_(rec) {}

    int32_t GetSystemMetrics(int32_t index) override {
        const int32_t value = ask(rec_, "GetSystemMetrics", [&] { return inner_.GetSystemMetrics(index); });
        rec_.display.metrics.try_emplace(index, value);
        return value;
    }
    int32_t SystemParametersInfoA(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) override {
        const int32_t ok = ask(rec_, "SystemParametersInfoA",
                               [&] { return inner_.SystemParametersInfoA(action, param, pointer, winIni); });
        auto* memory = std::get_if<std::span<std::byte>>(&pointer);
        if (ok == 0 || memory == nullptr) return ok;
        const std::optional<SpiSetAction> set = findSetAction(action);
        if (set && set->source == SpiSource::Spacing && set->metric >= 0 && memory->size() >= 4) {
            int32_t spacing = 0;
            std::memcpy(&spacing, memory->data(), 4);
            rec_.display.metrics.try_emplace(set->metric, spacing);
        } else if (!set) {
            rec_.display.parameters.try_emplace(action, answerBytes(action, *memory));
        }
        return ok;
    }
    HDC CreateICA(std::string_view driver, std::string_view device, std::string_view output) override {
        const HDC dc = ask(rec_, "CreateICA", [&] { return inner_.CreateICA(driver, device, output); });
        noteContext(dc);
        return dc;
    }
    int32_t DeleteDC(HDC dc) override {
        return ask(rec_, "DeleteDC", [&] { return inner_.DeleteDC(dc); });
    }
    HDC GetWindowDC() override {
        const HDC dc = ask(rec_, "GetWindowDC", [&] { return inner_.GetWindowDC(); });
        noteContext(dc);
        return dc;
    }
    int32_t GetDeviceCaps(HDC dc, int32_t index) override {
        const int32_t value = ask(rec_, "GetDeviceCaps", [&] { return inner_.GetDeviceCaps(dc, index); });
        if (dc != 0) rec_.display.caps.try_emplace(index, value);
        return value;
    }
    ScreenTwips Screen() override {
        const ScreenTwips screen = ask(rec_, "Screen", [&] { return inner_.Screen(); });
        keepFirst(rec_.display.screen, screen);
        return screen;
    }
    void SetMousePointer(int32_t pointer) override { inner_.SetMousePointer(pointer); }
    int32_t MsgBox(std::string_view prompt, int32_t style, std::string_view title) override {
        return inner_.MsgBox(prompt, style, title);
    }
    bool PrevInstance() override {
        const bool running = ask(rec_, "PrevInstance", [&] { return inner_.PrevInstance(); });
        keepFirst(rec_.previousInstance, running);
        return running;
    }
    std::vector<DriveListEntry> DriveListEntries() override {
        std::vector<DriveListEntry> entries = ask(rec_, "DriveListEntries", [&] { return inner_.DriveListEntries(); });
        if (!rec_.driveList) {
            rec_.driveList.emplace();
            for (const DriveListEntry& entry : entries) {
                rec_.driveList->push_back(entry.letter);
                RecordedDrive& drive = rec_.drives[entry.letter];
                drive.letter = entry.letter;
                drive.listLabel = entry.label;
            }
        }
        return entries;
    }

private:
    void noteContext(HDC dc) { (dc != 0 ? rec_.display.contextMade : rec_.display.contextFailed) = true; }

    // What a get action answered: the record as laid out, the wallpaper's
    // name without its NUL, a 32-bit value, or the caller's bytes.
    static std::vector<std::byte> answerBytes(uint32_t action, std::span<const std::byte> memory) {
        size_t size = memory.size();
        if (const sim::RecordLayout* layout = sim::findRecordLayout(action))
            size = std::min<size_t>(size, layout->size);
        else if (action == SPI_GETDESKWALLPAPER) size = upToNul(memory).size();
        return {memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(size)};
    }

    Ui& inner_;
    Recording& rec_;
};

class RecordingShell final : public Shell {
public:
    RecordingShell(Shell& inner, Recording& rec) : inner_(inner), rec_(rec) {}
    uint32_t SHAppBarMessage(uint32_t message, AppBarData& data) override {
        const uint32_t state = ask(rec_, "SHAppBarMessage", [&] { return inner_.SHAppBarMessage(message, data); });
        if (message == ABM_GETSTATE) keepFirst(rec_.taskbarState, state);
        return state;
    }

private:
    Shell& inner_;
    Recording& rec_;
};

class RecordingMultimedia final : public Multimedia {
public:
    RecordingMultimedia(Multimedia& inner, Recording& rec) : inner_(inner), rec_(rec) {}
    uint32_t waveOutGetNumDevs() override {
        const uint32_t n = ask(rec_, "waveOutGetNumDevs", [&] { return inner_.waveOutGetNumDevs(); });
        keepFirst(rec_.waveDevices, n);
        return n;
    }
    uint32_t midiOutGetNumDevs() override {
        const uint32_t n = ask(rec_, "midiOutGetNumDevs", [&] { return inner_.midiOutGetNumDevs(); });
        keepFirst(rec_.midiDeviceCount, n);
        return n;
    }
    uint32_t midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) override {
        const uint32_t status =
            ask(rec_, "midiOutGetDevCapsA", [&] { return inner_.midiOutGetDevCapsA(deviceId, caps, size); });
        if (status == MMSYSERR_NOERROR && size >= kNameEnd) recordName(deviceId, caps);
        return status;
    }

    void Complete() {
        const uint32_t count = rec_.midiDeviceCount ? *rec_.midiDeviceCount : inner_.midiOutGetNumDevs();
        for (uint32_t id = 0; id < count; ++id) {
            if (rec_.midiNames.contains(id)) continue;
            MidiOutCapsA caps;
            if (inner_.midiOutGetDevCapsA(id, caps, kMidiCapsSize) == MMSYSERR_NOERROR) recordName(id, caps);
        }
    }

private:
    // The Windows record is 52 bytes whatever this build's struct holds.
    static constexpr uint32_t kMidiCapsSize = 52;
    // A stated size this long holds the whole product name.
    static constexpr uint32_t kNameEnd = 40;
    void recordName(uint32_t id, const MidiOutCapsA& caps) {
        rec_.midiNames.try_emplace(id, cutAtNul(std::span<const char>(caps.szPname)));
    }

    Multimedia& inner_;
    Recording& rec_;
};

class RecordingPrinting final : public Printing {
public:
    RecordingPrinting(Printing& inner, Recording& rec) : inner_(inner), rec_(rec) {}
    std::string DefaultPrinter() override {
        std::string name = ask(rec_, "DefaultPrinter", [&] { return inner_.DefaultPrinter(); });
        keepFirst(rec_.defaultPrinter, name);
        return name;
    }

private:
    Printing& inner_;
    Recording& rec_;
};

class RecordingRegional final : public Regional {
public:
    RecordingRegional(Regional& inner, Recording& rec) : inner_(inner), rec_(rec) {}
    int32_t GetLocaleInfoA(LCTYPE type, std::span<char> buffer) override {
        const int32_t n = ask(rec_, "GetLocaleInfoA", [&] { return inner_.GetLocaleInfoA(type, buffer); });
        if (n > 0 && !buffer.empty() && static_cast<size_t>(n) <= buffer.size())
            rec_.locale.try_emplace(type, cutAtNul(buffer.first(static_cast<size_t>(n))));
        return n;
    }

    void Complete() {
        std::vector<LCTYPE> types = {LOCALE_SDECIMAL, LOCALE_STHOUSAND};
        for (LCTYPE month = 0; month < 12; ++month) types.push_back(LOCALE_SABBREVMONTHNAME1 + month);
        for (LCTYPE type : types) {
            if (rec_.locale.contains(type)) continue;
            std::vector<char> buffer(256);
            const int32_t n = inner_.GetLocaleInfoA(type, buffer);
            if (n > 0) rec_.locale.emplace(type, cutAtNul(std::span<const char>(buffer).first(static_cast<size_t>(n))));
        }
    }

private:
    Regional& inner_;
    Recording& rec_;
};

}  // namespace

struct RecordingBackend::Services {
    explicit Services(Platform& inner)
        : kernel(inner.kernel, rec),
          registry(inner.registry, rec),
          shell(inner.shell, rec),
          ui(inner.ui, rec),
          multimedia(inner.multimedia, rec),
          files(inner.files, rec),
          printing(inner.printing, rec),
          regional(inner.regional, rec),
          platform{kernel, registry, shell, ui, multimedia, files, printing, regional} {}

    Recording rec;
    RecordingKernel kernel;
    RecordingRegistry registry;
    RecordingShell shell;
    RecordingUi ui;
    RecordingMultimedia multimedia;
    RecordingFiles files;
    RecordingPrinting printing;
    RecordingRegional regional;
    Platform platform;
};

RecordingBackend::RecordingBackend(Backend& inner) : services_(std::make_unique<Services>(inner.platform())) {}
RecordingBackend::~RecordingBackend() = default;

Platform& RecordingBackend::platform() { return services_->platform; }

void RecordingBackend::StopStartingPrograms() { services_->files.LookOnly(); }

void RecordingBackend::Complete() {
    services_->multimedia.Complete();
    services_->regional.Complete();
    services_->kernel.windowsDirectory();
    // Every text above is in it, whether the program asked or not.
    services_->kernel.GetACP();
}

const Recording& RecordingBackend::recording() const { return services_->rec; }

}  // namespace si32::capture
