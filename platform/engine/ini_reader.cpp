// One pass over the file's text, nothing copied but the answer, so any input
// (binary, NULs, one huge line) costs a scan and no more.
//
// What Windows does and this follows: a line is cut at LF (at CR only where
// no LF follows); blanks (and the DOS end-of-file mark 0x1A) around lines,
// names and values do not count (inside a section header's brackets too);
// a section header is "[" up to the last "]" of its line; lines before the first header form a section with an
// empty name; only the first section of a name is searched and its first
// matching key wins; a line without "=" is a key without a value, which
// answers the default; a name or value ends at a NUL; a value (or the
// default) enclosed in one pair of matching double or single quotes loses
// them; the default loses its trailing blanks.
#include "platform/engine/ini_reader.h"

#include <algorithm>
#include <string>

#include "platform/code_page.h"

#include "platform/text_helpers.h"

namespace si32 {
namespace {

bool isIniSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isIniSpace(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && isIniSpace(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trim(std::string_view s) { return trimRight(trimLeft(s)); }

bool isQuoted(std::string_view value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {
        if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
    }
    bool next(std::string_view& line) {
        if (text_.empty()) return false;
        std::size_t end = text_.find('\n');
        if (end == std::string_view::npos) end = text_.find('\r');
        if (end == std::string_view::npos) end = text_.size() - 1;
        line = text_.substr(0, end + 1);
        text_.remove_prefix(end + 1);
        return true;
    }

private:
    std::string_view text_;
};

// nullopt: no such key; an empty optional inside: a key without "=".
std::optional<std::optional<std::string_view>> findValue(std::string_view text, std::string_view section,
                                                         std::string_view key) {
    bool inSection = section.empty();
    bool seen = inSection;
    Lines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        line = trim(line);
        if (line.empty()) continue;
        if (line.front() == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                if (seen) return std::nullopt;
                inSection = seen = equalsNoCase(upToNul(trim(line.substr(1, close - 1))), section);
                continue;
            }
        }
        if (!inSection) continue;
        std::size_t eq = line.find('=');
        std::string_view name = upToNul(eq == std::string_view::npos ? line : trimRight(line.substr(0, eq)));
        if (!equalsNoCase(name, key)) continue;
        if (eq == std::string_view::npos) return std::optional<std::string_view>{};
        return std::optional<std::string_view>{upToNul(trimLeft(line.substr(eq + 1)))};
    }
    return std::nullopt;
}

}  // namespace

uint32_t GetPrivateProfileStringFromText(std::optional<std::string_view> fileText, std::string_view section,
                                         std::string_view key, std::string_view defaultValue, std::span<char> buffer,
                                         uint32_t codePage) {
    if (buffer.empty()) return 0;
    std::string converted;
    if (fileText && fileText->starts_with("\xFF\xFE")) {
        converted = EncodeAnsi(DecodeUtf16Le(fileText->substr(2)), codePage);
        fileText = converted;
    }
    while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);

    std::string_view answer = defaultValue;
    // A missing file reads as an empty one: the default is all it can give.
    if (auto found = findValue(fileText.value_or(std::string_view{}), trim(section), trim(key)); found && *found)
        answer = **found;
    // A quoted value is cut with its closing quote still on, and the quote
    // is dropped only when it made it into the buffer. So a quoted value that
    // fills the buffer exactly loses its last character as well: Windows'
    // answer (checked under Wine), kept for the same counts.
    std::size_t limit = buffer.size() - 1;
    if (isQuoted(answer)) {
        answer.remove_prefix(1);
        limit = std::min(answer.size(), limit);
        if (buffer.size() >= answer.size() && limit > 0) --limit;
    }
    std::size_t count = AnsiPrefix(answer, limit, codePage).size();
    std::copy_n(answer.begin(), count, buffer.begin());
    buffer[count] = '\0';
    return static_cast<uint32_t>(count);
}

}  // namespace si32
