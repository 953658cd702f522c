#include "platform/sim/sim_file_system.h"

#include "platform/run_time_error.h"

namespace si32::sim {

namespace {

// A file with no date in the description carries the earliest date a FAT
// directory entry can hold.
constexpr DateTime kUndatedFile{1980, 1, 1, 0, 0, 0};

class TextFile : public SequentialFile {
public:
    explicit TextFile(std::string text) : text_(std::move(text)) {}
    int Get() override {
        if (position_ >= text_.size()) return -1;
        return static_cast<unsigned char>(text_[position_++]);
    }

private:
    std::string text_;
    size_t position_ = 0;
};

bool isOrdinary(const FileFacts& file) { return !file.hidden && !file.system && !file.directory; }

[[noreturn]] void notFound(std::string_view what, std::string_view path) {
    raise(ErrorKind::FileNotFound, std::string(what) + ": " + std::string(path));
}

}  // namespace

SimFileSystem::SimFileSystem(const MachineDescription& description, const FailingCalls& failing)
    : programs_(description.programs), failing_(failing) {
    for (const FileFacts& file : description.files) {
        WindowsPath path = *parseFullPath(file.path);
        FileFacts entry = file;
        entry.path = path.text();
        files_[path.key()] = std::move(entry);
    }
    for (const DriveFacts& drive : description.drives) listedDrives_.insert(drive.letter);
    WindowsPath current = *parseFullPath(description.currentDirectory.size() == 2 ? description.currentDirectory + "\\"
                                                                                  : description.currentDirectory);
    currentDrive_ = current.drive;
    currentDirectories_[current.drive] = current;
    knownFolders_.insert(current.key());
    for (const auto* folder : {&description.windowsDirectory, &description.systemDirectory, &description.tempDirectory})
        if (*folder && isFullPath(**folder)) knownFolders_.insert(parseFullPath(**folder)->key());
}

WindowsPath SimFileSystem::currentDirectoryOf(char drive) const {
    auto it = currentDirectories_.find(drive);
    return it == currentDirectories_.end() ? WindowsPath{drive, {}} : it->second;
}

WindowsPath SimFileSystem::resolve(std::string_view path) const {
    return resolvePath(path, currentDrive_, [this](char drive) { return currentDirectoryOf(drive); });
}

bool SimFileSystem::driveExists(char drive) const {
    if (listedDrives_.count(drive) != 0) return true;
    auto onDrive = [drive](const std::string& key) { return !key.empty() && key[0] == (drive | 0x20); };
    for (const auto& [key, file] : files_)
        if (onDrive(key)) return true;
    for (const std::string& key : knownFolders_)
        if (onDrive(key)) return true;
    return false;
}

bool SimFileSystem::folderExists(const WindowsPath& folder) const {
    if (folder.names.empty()) return driveExists(folder.drive);
    std::string key = folder.key();
    if (knownFolders_.count(key) != 0) return true;
    if (const FileFacts* entry = findEntry(folder)) return entry->directory;
    // Folders exist implicitly above every file.
    std::string prefix = key + "\\";
    auto it = files_.lower_bound(prefix);
    if (it != files_.end() && it->first.compare(0, prefix.size(), prefix) == 0) return true;
    for (const std::string& known : knownFolders_)
        if (known.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

const FileFacts* SimFileSystem::findEntry(const WindowsPath& path) const {
    auto it = files_.find(path.key());
    return it == files_.end() ? nullptr : &it->second;
}

const FileFacts* SimFileSystem::findFile(const WindowsPath& path) const {
    const FileFacts* entry = findEntry(path);
    return entry != nullptr && !entry->directory ? entry : nullptr;
}

std::string SimFileSystem::Dir(std::string_view path) {
    failing_.raiseIfFailing("Dir");
    if (path.empty()) return {};
    bool folderOnly = path.back() == '\\' || path.back() == '/';
    WindowsPath target = resolve(path);
    std::string pattern = folderOnly ? "*" : target.leaf();
    WindowsPath folder = folderOnly ? target : target.parent();
    if (pattern == "*.*") pattern = "*";
    if (pattern.empty()) return {};
    std::string folderKey = folder.key();
    for (const auto& [key, file] : files_) {
        WindowsPath filePath = *parseFullPath(file.path);
        if (filePath.parent().key() == folderKey && isOrdinary(file) && matchesPattern(pattern, filePath.leaf()))
            return filePath.leaf();
    }
    return {};
}

void SimFileSystem::ChDrive(std::string_view drive) {
    failing_.raiseIfFailing("ChDrive");
    if (drive.empty()) return;
    char letter = static_cast<char>(drive[0] & ~0x20);
    if (letter < 'A' || letter > 'Z' || !driveExists(letter)) notFound("device unavailable", drive);
    currentDrive_ = letter;
}

void SimFileSystem::ChDir(std::string_view path) {
    failing_.raiseIfFailing("ChDir");
    if (path.empty()) notFound("path not found", path);
    WindowsPath folder = resolve(path);
    if (!folderExists(folder)) notFound("path not found", path);
    // As on Windows, changing another drive's directory leaves the current
    // drive where it is.
    currentDirectories_[folder.drive] = folder;
}

std::string SimFileSystem::CurDir() {
    failing_.raiseIfFailing("CurDir");
    return currentDirectoryOf(currentDrive_).text();
}

std::unique_ptr<SequentialFile> SimFileSystem::OpenForInput(std::string_view path) {
    failing_.raiseIfFailing("OpenForInput");
    const FileFacts* file = path.empty() ? nullptr : findFile(resolve(path));
    if (file == nullptr) notFound("file not found", path);
    return std::make_unique<TextFile>(file->text);
}

DateTime SimFileSystem::FileDateTime(std::string_view path) {
    failing_.raiseIfFailing("FileDateTime");
    if (path.empty()) notFound("file not found", path);
    WindowsPath target = resolve(path);
    if (const FileFacts* entry = findEntry(target)) return entry->modified.value_or(kUndatedFile);
    if (folderExists(target)) return kUndatedFile;
    notFound("file not found", path);
}

void SimFileSystem::Kill(std::string_view path) {
    failing_.raiseIfFailing("Kill");
    if (path.empty()) notFound("file not found", path);
    WindowsPath target = resolve(path);
    std::string folderKey = target.parent().key();
    std::string pattern = target.leaf();
    size_t removed = 0;
    for (auto it = files_.begin(); it != files_.end();) {
        WindowsPath filePath = *parseFullPath(it->second.path);
        bool matches = hasWildcards(pattern)
                           ? filePath.parent().key() == folderKey && matchesPattern(pattern, filePath.leaf())
                           : it->first == target.key();
        if (matches && !it->second.directory) {
            it = files_.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    if (removed == 0) notFound("file not found", path);
}

const ProgramFacts* SimFileSystem::findProgram(std::string_view name) const {
    // A captured Linux machine names some programs by their host path, which
    // is no Windows path and matches only as written.
    if (name.starts_with('/')) {
        for (const ProgramFacts& program : programs_)
            if (program.name == name) return &program;
        return nullptr;
    }
    WindowsPath current = currentDirectoryOf(currentDrive_);
    WindowsPath asPath = resolve(name);
    for (const ProgramFacts& program : programs_) {
        if (program.name.starts_with('/')) continue;
        if (isBareName(program.name)) {
            // Found as given, or in the current directory.
            if ((isBareName(name) && equalsNoCase(name, program.name)) ||
                asPath.key() == current.child(program.name).key())
                return &program;
        } else if (asPath.key() == parseFullPath(program.name)->key()) {
            return &program;
        }
    }
    return nullptr;
}

void SimFileSystem::write(const WindowsPath& path, const std::string& text) {
    FileFacts& file = files_[path.key()];
    if (file.path.empty()) file.path = path.text();
    file.text = text;
    file.directory = false;
}

uint32_t SimFileSystem::Shell(const std::vector<std::string>& argv, int32_t) {
    failing_.raiseIfFailing("Shell");
    if (argv.empty() || argv[0].empty()) notFound("file not found", "");
    const ProgramFacts* program = findProgram(argv[0]);
    if (program == nullptr) notFound("file not found", argv[0]);
    if (program->failsToStart) raise(ErrorKind::PlatformFailure, "cannot start " + argv[0]);
    // The program's output is there by the time the start returns, so a
    // test sees a deterministic picture.
    for (const auto& [name, text] : program->writes) write(resolve(name), text);
    started_.push_back(argv[0]);
    uint32_t id = nextProcessId_;
    nextProcessId_ += 4;
    return id;
}

std::optional<bool> SimFileSystem::WouldStart(const std::vector<std::string>& argv) {
    if (failing_.fails("Shell") || argv.empty() || argv[0].empty()) return false;
    try {
        const ProgramFacts* program = findProgram(argv[0]);
        return program != nullptr && !program->failsToStart;
    } catch (const RunTimeError&) {
        return false;
    }
}

std::optional<std::string> SimFileSystem::fileText(std::string_view path) const {
    const FileFacts* file = path.empty() ? nullptr : findFile(resolve(path));
    if (file == nullptr) return std::nullopt;
    return file->text;
}

std::vector<FileFacts> SimFileSystem::snapshot() const {
    std::vector<FileFacts> entries;
    for (const auto& [key, file] : files_) entries.push_back(file);
    return entries;
}

}  // namespace si32::sim
