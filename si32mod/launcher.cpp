// Hands the user over to the System Information tool: its usual place, then
// the full path the registry names, then the folder it names. Every registry
// text is started as one program path, never through a shell, so a value
// that looks like a command line starts nothing.
#include "platform/guarded.h"
#include "platform/text_helpers.h"
#include "si32mod/buffers.h"
#include "si32mod/si32mod.h"

namespace si32 {
namespace {

constexpr const char* kUsualPath = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSINFO\\msinfo32.exe";
constexpr const char* kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kToolFile = "\\MSINFO32.EXE";
constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";

}  // namespace

void Si32Mod::Command2_Click() {
    Files& files = platform_.files;
    std::string found;
    guarded([&] { found = files.Dir(kUsualPath); });
    if (!trimSpaces(found).empty()) {
        guarded([&] { files.Shell({kUsualPath}, vbNormalFocus); });
        return;
    }
    guarded([&] { LaunchMsInfo(); });
}

void Si32Mod::LaunchMsInfo() {
    Files& files = platform_.files;
    try {
        std::string path;
        if (QueryRegValue(HKEY_LOCAL_MACHINE, kPathKey, "PATH", path)) {
            // Started as found, without looking first: a path that is not
            // there fails the start, and the message follows.
            files.Shell({path}, vbNormalFocus);
            return;
        }
        std::string folder;
        if (QueryRegValue(HKEY_LOCAL_MACHINE, kFolderKey, "MSINFO", folder)) {
            std::string tool = folder + kToolFile;
            if (!trimSpaces(files.Dir(tool)).empty()) {
                files.Shell({tool}, vbNormalFocus);
                return;
            }
        }
    } catch (const RunTimeError&) {
        // Any failure on the way ends in the one message below.
    }
    platform_.ui.MsgBox(kUnavailable, MB_OK, "");
}

}  // namespace si32
