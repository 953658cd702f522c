#include "platform/capture/recorders.h"

#include <memory>
#include <set>
#include <vector>

#include "platform/capture/recording_calls.h"
#include "platform/capture/windows_paths.h"

namespace si32::capture {
namespace {

// A file is read to its end for the description, but no further than this.
constexpr size_t kMaxFileText = 1 << 20;

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
    RecordingFiles(Files& inner, Recording& rec, const bool& lookOnly) : inner_(inner), rec_(rec), lookOnly_(lookOnly) {
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
    const bool& lookOnly_;
    std::vector<std::string> started_;
    std::set<std::string, NoCaseLess> dirEmpty_;
};

}  // namespace

std::unique_ptr<Files> RecordFiles(Files& inner, Recording& rec, const bool& lookOnly) {
    return std::make_unique<RecordingFiles>(inner, rec, lookOnly);
}

}  // namespace si32::capture
