#pragma once
// Text bound for a terminal: the plain report and every message on standard
// error. A machine's texts are anyone's bytes; an escape sequence among them
// (a title, a clipboard write, a cleared screen) or a line break that forges
// a line must reach the reader as something to read, never as something the
// terminal acts on.
#include <string>
#include <string_view>

namespace si32 {

// The text with every control character shown escaped, as ls -b and systemd
// show them: \a \b \t \n \v \f \r and \e by name; any other C0 control, DEL,
// a C1 control (U+0080 to U+009F) and a byte that is not part of valid UTF-8
// as \xHH, one escape per byte (U+009B is \xc2\x9b). Everything else passes
// unchanged, backslashes included, so that a Windows path reads as it is: the
// form is for people; the JSON report is the exact one.
std::string TerminalText(std::string_view text);

// line, escaped, and a newline on standard error.
void PrintErrorLine(std::string_view line);

}  // namespace si32
