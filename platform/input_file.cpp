#include "platform/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
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

}  // namespace

InputFile ReadInputFile(const std::string& path, std::size_t limit) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0) {
        const int error = errno;
        return refused(std::strerror(error), error == ENOENT || error == ENOTDIR);
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) return refused(std::strerror(errno));
    if (S_ISDIR(info.st_mode)) return refused("a directory, not a file");
    if (!S_ISREG(info.st_mode)) return refused("not a regular file");
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

}  // namespace si32
