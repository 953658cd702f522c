#pragma once
// The simulated machine's files and programs: an in-memory picture of the
// file system that the program and the programs it starts change, the
// current drive with a current directory per drive, and process starts.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/sim/call_names.h"
#include "platform/sim/machine_description.h"
#include "platform/sim/windows_path.h"

namespace si32::sim {

class SimFileSystem : public Files {
public:
    SimFileSystem(const MachineDescription& description, const FailingCalls& failing);

    std::string Dir(std::string_view path) override;
    void ChDrive(std::string_view drive) override;
    void ChDir(std::string_view path) override;
    std::string CurDir() override;
    std::unique_ptr<SequentialFile> OpenForInput(std::string_view path) override;
    DateTime FileDateTime(std::string_view path) override;
    void Kill(std::string_view path) override;
    uint32_t Shell(const std::vector<std::string>& argv, int32_t windowStyle) override;
    std::optional<bool> WouldStart(const std::vector<std::string>& argv) override;
    std::vector<std::string> Started() const override { return started_; }

    // The contents of the file at path (relative paths from the current
    // directory); nullopt when no such file exists.
    std::optional<std::string> fileText(std::string_view path) const;
    char currentDrive() const { return currentDrive_; }
    // Every file and folder entry, in path order.
    std::vector<FileFacts> snapshot() const;

private:
    WindowsPath resolve(std::string_view path) const;
    WindowsPath currentDirectoryOf(char drive) const;
    bool driveExists(char drive) const;
    bool folderExists(const WindowsPath& folder) const;
    const FileFacts* findEntry(const WindowsPath& path) const;
    const FileFacts* findFile(const WindowsPath& path) const;  // not a folder entry
    const ProgramFacts* findProgram(std::string_view name) const;
    void write(const WindowsPath& path, const std::string& text);

    const std::vector<ProgramFacts>& programs_;
    const FailingCalls& failing_;
    std::map<std::string, FileFacts> files_;  // by folded full path
    std::set<std::string> knownFolders_;      // folded paths of folders no file implies
    std::set<char> listedDrives_;
    char currentDrive_ = 'C';
    std::map<char, WindowsPath> currentDirectories_;
    std::vector<std::string> started_;
    uint32_t nextProcessId_ = 0x1000;
};

}  // namespace si32::sim
