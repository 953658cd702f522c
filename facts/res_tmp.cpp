#include "facts/res_tmp.h"

#include <string>

#include "platform/run_time_error.h"

namespace si32 {
namespace {

bool isBlank(int byte) { return byte == ' ' || byte == '\t'; }
bool endsItem(int byte) { return byte < 0 || byte == ',' || isBlank(byte) || byte == '\r' || byte == '\n'; }

// More digits than any 16-bit value needs, with room for a sign and zeros.
constexpr std::size_t kItemLimit = 32;

}  // namespace

int16_t ResTmpReader::ReadItem() {
    while (isBlank(source_.Peek()) || source_.Peek() == '\r' || source_.Peek() == '\n') source_.Take();
    if (source_.AtEnd()) raise(ErrorKind::PlatformFailure, "Input past end of file");

    std::string item;
    bool tooLong = false;
    while (!endsItem(source_.Peek())) {
        const int byte = source_.Take();
        if (item.size() < kItemLimit)
            item += static_cast<char>(byte);
        else
            tooLong = true;
    }
    // One comma after the item (with blanks around it) belongs to it.
    while (isBlank(source_.Peek())) source_.Take();
    if (source_.Peek() == ',') source_.Take();

    std::size_t i = 0;
    const bool negative = !item.empty() && item[0] == '-';
    if (!item.empty() && (item[0] == '-' || item[0] == '+')) ++i;
    if (i == item.size()) raise(ErrorKind::BadConversion, "missing number in res.tmp");
    bool outOfRange = tooLong;
    int32_t value = 0;
    for (; i < item.size(); ++i) {
        if (item[i] < '0' || item[i] > '9') raise(ErrorKind::BadConversion, "not a number in res.tmp: " + item);
        if (outOfRange) continue;
        value = value * 10 + (item[i] - '0');
        outOfRange = value > 32768;
    }
    if (negative) value = -value;
    if (outOfRange || value > 32767) raise(ErrorKind::Overflow, "number out of range in res.tmp: " + item);
    return static_cast<int16_t>(value);
}

}  // namespace si32
