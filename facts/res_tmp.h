#pragma once
// res.tmp, written by the resource-meter program: two decimal integers, the
// free GDI and the free User percentage, separated by a comma, blanks or a
// line break.
#include <cstddef>
#include <cstdint>

#include "facts/byte_source.h"
#include "platform/files.h"

namespace si32 {

// Two small numbers need a few bytes; anything past this is never looked at.
inline constexpr std::size_t kResTmpReadLimit = 4096;

class ResTmpReader {
public:
    explicit ResTmpReader(SequentialFile& file) : source_(file, kResTmpReadLimit) {}

    // The next item as a signed 16-bit integer. Raises the run-time error
    // past the end of the file, for an item that is not a decimal integer
    // and for one outside -32768..32767; the item is used up either way.
    int16_t ReadItem();

private:
    ByteSource source_;
};

}  // namespace si32
