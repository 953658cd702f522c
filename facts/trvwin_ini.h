#pragma once
// TRVWIN.INI: sixteen fields read in the language's free sequential format.
// Fields are separated by commas or line ends; leading blanks are skipped;
// a field may be enclosed in double quotes, which are not part of it.
#include <cstddef>
#include <string>

#include "facts/byte_source.h"
#include "platform/files.h"

namespace si32 {

inline constexpr std::size_t kTrvwinFieldCount = 16;
// The product writes paths and short values; a field keeps at most this many
// bytes, and the whole record is read from at most the first kTrvwinReadLimit
// bytes of the file, so a damaged file costs no more than a sound one.
inline constexpr std::size_t kTrvwinFieldLimit = 1024;
inline constexpr std::size_t kTrvwinReadLimit = 64 * 1024;

class TrvwinReader {
public:
    explicit TrvwinReader(SequentialFile& file) : source_(file, kTrvwinReadLimit) {}

    // The next field as text. Raises the run-time error past the end of the
    // file, so each read of a short file fails on its own.
    std::string ReadField();

private:
    ByteSource source_;
};

}  // namespace si32
