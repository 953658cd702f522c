#include "facts/trvwin_ini.h"

#include "facts/texts.h"
#include "platform/run_time_error.h"
#include "platform/text_helpers.h"

namespace si32 {
namespace {

bool isBlank(int byte) { return byte == ' ' || byte == '\t'; }
bool isLineEnd(int byte) { return byte == '\r' || byte == '\n'; }

}  // namespace

std::string TrvwinReader::ReadField() {
    while (isBlank(source_.Peek())) source_.Take();
    if (source_.AtEnd()) raise(ErrorKind::PlatformFailure, "Input past end of file");

    std::string field;
    // A NUL ends what a field keeps, as it ends the text for every platform
    // call the field is later handed to.
    bool keeping = true;
    bool capped = false;
    // The bytes just past the cap: enough to finish a character it cut.
    std::string past;
    auto keep = [&](int byte) {
        if (byte == 0) keeping = false;
        if (!keeping) return;
        if (field.size() < kTrvwinFieldLimit) {
            field += static_cast<char>(byte);
        } else {
            capped = true;
            if (past.size() < 3) past += static_cast<char>(byte);
        }
    };

    if (source_.Peek() == '"') {
        source_.Take();
        // An unterminated quote runs to the end of what is read.
        for (int byte = source_.Take(); byte >= 0 && byte != '"'; byte = source_.Take()) keep(byte);
        // Whatever stands between the closing quote and the separator is
        // not part of the field.
        while (!source_.AtEnd() && source_.Peek() != ',' && !isLineEnd(source_.Peek())) source_.Take();
    } else {
        while (!source_.AtEnd() && source_.Peek() != ',' && !isLineEnd(source_.Peek())) keep(source_.Take());
        while (!field.empty() && isBlank(field.back())) field.pop_back();
    }

    const int separator = source_.Take();
    if (separator == '\r' && source_.Peek() == '\n') source_.Take();
    // The cap may have cut the last character; bytes the file itself holds
    // are left as they are.
    if (capped && field.size() == kTrvwinFieldLimit) field = std::string(utf8Prefix(field + past, kTrvwinFieldLimit));
    return field;
}

}  // namespace si32
