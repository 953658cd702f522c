#include "platform/input_file.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace si32 {
namespace {

std::string tooLarge(std::size_t limit) {
    if (limit >= (std::size_t{1} << 20) && limit % (std::size_t{1} << 20) == 0)
        return "larger than " + std::to_string(limit >> 20) + " MB";
    return "larger than " + std::to_string(limit) + " bytes";
}

InputFile refused(std::string why, bool missing = false) {
    InputFile file;
    file.refusal = std::move(why);
    file.missing = missing;
    return file;
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

InputFile notOpened(int error) {
    if (error == EXDEV) return refused("leads out of its folder");
    return refused(std::strerror(error), error == ENOENT || error == ENOTDIR);
}

// Why a file of this kind is not read; empty for a regular file.
std::string refusalFor(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return "a directory, not a file";
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    return {};
}

// Opens with open(flags) once the file is known to be a regular one: opening
// a device can act on it (a tape rewinds, a line hangs up) and opening a
// FIFO would wait for a writer; O_PATH opens neither. Then reads it.
template <typename Open>
InputFile readRegular(const Open& open, std::size_t limit) {
    {
        const Descriptor look{open(O_PATH | O_CLOEXEC)};
        if (look.fd < 0) return notOpened(errno);
        struct stat info {};
        if (::fstat(look.fd, &info) != 0) return refused(std::strerror(errno));
        if (std::string why = refusalFor(info); !why.empty()) return refused(why);
    }
    const Descriptor file{open(kOpenFlags)};
    if (file.fd < 0) return notOpened(errno);
    // Checked again on what was opened: the name may have changed hands.
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) return refused(std::strerror(errno));
    if (std::string why = refusalFor(info); !why.empty()) return refused(why);
    if (static_cast<std::size_t>(info.st_size) > limit) return refused(tooLarge(limit));
    std::string text;
    char chunk[65536];
    while (true) {
        const ssize_t got = ::read(file.fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return refused(std::strerror(errno));
        if (got == 0) break;
        // Files that grow while read, or report no size (/proc), stop at the limit too.
        if (text.size() + static_cast<std::size_t>(got) > limit) return refused(tooLarge(limit));
        text.append(chunk, static_cast<std::size_t>(got));
    }
    InputFile result;
    result.text = std::move(text);
    return result;
}

// name, already known to stay inside by its letters, opened beneath folder.
int openBeneath(int folder, const std::string& name, int flags) {
    open_how how{};
    how.flags = static_cast<uint64_t>(flags);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, folder, name.c_str(), &how, sizeof how);
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) return static_cast<int>(fd);
    // Kernels before 5.6, or a sandbox that filters the call.
    return ::openat(folder, name.c_str(), flags | O_NOFOLLOW);
}

}  // namespace

InputFile ReadInputFile(const std::string& path, std::size_t limit) {
    return readRegular([&](int flags) { return ::open(path.c_str(), flags); }, limit);
}

InputFile ReadInputFileIn(const std::string& folder, const std::string& name, std::size_t limit) {
    if (!NamesInsideFolder(name)) return refused("not a name inside its folder");
    const Descriptor directory{::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    if (directory.fd < 0) return notOpened(errno);
    return readRegular([&](int flags) { return openBeneath(directory.fd, name, flags); }, limit);
}

}  // namespace si32
