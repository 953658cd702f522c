#pragma once
// Writes a capture to the file the user named. A stream (a device, a FIFO, a
// pipe, a terminal, /dev/stdout) is written where it is and never replaced;
// a regular file is replaced whole or not at all, without a moment in which
// others could read the names it holds.
#include <optional>
#include <string>

namespace si32::capture {

// nullopt on success; otherwise one line saying what failed.
//
// - "/dev/stdout", "/dev/stderr", "/dev/fd/N" and "/proc/self/fd/N" are this
//   process's open streams, written as they are (as shells redirect them).
// - A name that is not a regular file (after links) is opened and written in
//   place: /dev/null stays a device, a FIFO gets the text.
// - A regular file, or a new one, is replaced atomically: the text goes to a
//   file in the same folder, unnamed (O_TMPFILE) where the file system allows
//   it, else under a short temporary name that an interrupt (SIGINT, SIGTERM,
//   SIGHUP) removes; it is flushed to the disk, named, and renamed over the
//   target. A link is followed: the file it points to is replaced. The file
//   is 0600, or keeps the mode (and, where allowed, the owner) of the file it
//   replaces. On failure the target is left as it was and nothing stays.
std::optional<std::string> WriteFileWhole(const std::string& path, const std::string& text);

}  // namespace si32::capture
