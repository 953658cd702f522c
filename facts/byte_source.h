#pragma once
// A sequential file seen one byte ahead, with a budget: once a reader has
// taken its budget of bytes the file looks ended, so a file of any size (or
// one that never ends) is read in bounded time.
#include <cstddef>

#include "platform/files.h"

namespace si32 {

class ByteSource {
public:
    ByteSource(SequentialFile& file, std::size_t budget) : file_(file), budget_(budget) {}

    // The next byte (0..255) without taking it; -1 at the end.
    int Peek() {
        if (!peeked_) {
            next_ = budget_ > 0 ? file_.Get() : -1;
            if (next_ >= 0) --budget_;
            peeked_ = true;
        }
        return next_;
    }
    int Take() {
        const int byte = Peek();
        if (byte >= 0) peeked_ = false;
        return byte;
    }
    bool AtEnd() { return Peek() < 0; }

private:
    SequentialFile& file_;
    std::size_t budget_;
    int next_ = -1;
    bool peeked_ = false;
};

}  // namespace si32
