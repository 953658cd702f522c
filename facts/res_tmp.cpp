#include "facts/res_tmp.h"

#include "platform/run_time_error.h"

namespace si32 {
namespace {

bool isBlank(int byte) { return byte == ' ' || byte == '\t'; }
bool endsItem(int byte) { return byte < 0 || byte == ',' || isBlank(byte) || byte == '\r' || byte == '\n'; }

}  // namespace

int16_t ResTmpReader::ReadItem() {
    while (isBlank(source_.Peek()) || source_.Peek() == '\r' || source_.Peek() == '\n') source_.Take();
    if (source_.AtEnd()) raise(ErrorKind::PlatformFailure, "Input past end of file");

    // The item is converted as it is read, so nothing of it is kept and
    // its length does not matter.
    bool negative = false, digits = false, notANumber = false, outOfRange = false;
    int32_t value = 0;
    for (bool first = true; !endsItem(source_.Peek()); first = false) {
        const int byte = source_.Take();
        if (first && (byte == '-' || byte == '+')) {
            negative = byte == '-';
        } else if (byte >= '0' && byte <= '9') {
            digits = true;
            if (!outOfRange) value = value * 10 + (byte - '0');
            outOfRange = outOfRange || value > 32768;
        } else {
            notANumber = true;
        }
    }
    // One comma after the item (with blanks around it) belongs to it.
    while (isBlank(source_.Peek())) source_.Take();
    if (source_.Peek() == ',') source_.Take();

    if (notANumber || !digits) raise(ErrorKind::BadConversion, "res.tmp: an item is not a decimal integer");
    if (negative) value = -value;
    if (outOfRange || value > 32767) raise(ErrorKind::Overflow, "res.tmp: an item is outside the 16-bit range");
    return static_cast<int16_t>(value);
}

}  // namespace si32
