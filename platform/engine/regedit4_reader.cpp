// Reads REGEDIT4 text line by line. Every fault stops the reading with one
// message naming the source and the line it began on, so a bad file never
// passes silently or half applied (the store applies to a copy); or, read as
// regedit imports, the line is recorded as skipped and the rest goes on.
// The version 5.00 export is the same text in UTF-16LE, whose hex(1), hex(2)
// and hex(7) data are UTF-16LE too.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/engine/regedit4.h"
#include "platform/engine/registry_store.h"

namespace si32::regtree {
namespace {

std::string_view trim(std::string_view s) { return trimmed(s, " \t"); }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1 to 8 hexadecimal digits, nothing else.
std::optional<uint32_t> parseHex32(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(d);
    }
    return value;
}

constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";

class Reader {
public:
    Reader(std::string_view text, std::string_view source, Tree& tree, const RegistryFileReading& reading)
        : text_(text), source_(source), tree_(tree), reading_(reading) {}

    void run() {
        readHeader();
        std::string_view line;
        while (nextLogicalLine(line)) {
            try {
                if (line.front() == '[') section(line);
                else assignment(line);
            } catch (const RegistryParseError& error) {
                if (reading_.skipped == nullptr) throw;
                // Values under a key that could not be read must not land
                // in the key before it.
                if (line.front() == '[') current_ = nullptr;
                reading_.skipped->push_back({lineStart_, error.what()});
            }
        }
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw RegistryParseError(std::string(source_) + ": line " + std::to_string(lineStart_) + ": " + what);
    }

    // The next physical line without its LF or CR LF; false at the end.
    bool physicalLine(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end + 1;
        ++lineNo_;
        return true;
    }

    void readHeader() {
        std::string_view line;
        lineStart_ = 1;
        if (!physicalLine(line)) fail("empty text; the first line must be REGEDIT4");
        // Editors on this side of the world like to add a UTF-8 mark.
        if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        version5_ = trim(line) == kVersion5Header;
        if (trim(line) != "REGEDIT4" && !version5_)
            fail("the first line must be REGEDIT4 or Windows Registry Editor Version 5.00");
    }

    // The next line that is neither blank nor a comment, with the lines that
    // a trailing backslash continues joined to it; false at the end. It views
    // the text, or the joined lines kept until the next call.
    bool nextLogicalLine(std::string_view& out) {
        std::string_view line;
        while (physicalLine(line)) {
            line = trim(line);
            if (line.empty() || line.front() == ';') continue;
            lineStart_ = lineNo_;
            if (line.back() != '\\') {
                out = line;
                return true;
            }
            joined_.assign(line);
            while (!joined_.empty() && joined_.back() == '\\' && physicalLine(line)) {
                joined_.pop_back();
                joined_.append(trim(line));
            }
            out = joined_;
            if (!out.empty()) return true;
        }
        return false;
    }

    void section(std::string_view line) {
        if (line.back() != ']') fail("a key line must end with ]");
        std::string_view body = line.substr(1, line.size() - 2);
        bool deleting = !body.empty() && body.front() == '-';
        if (deleting) body.remove_prefix(1);

        std::size_t slash = body.find('\\');
        std::string_view rootText = body.substr(0, slash);
        // Nearly every key line names the root the line before named, and
        // spelled alike: matching its bytes spares the search by folded name.
        std::optional<HKEY> root;
        if (lastRoot_ && rootText == lastRootText_) {
            root = lastRoot_;
        } else {
            root = rootByName(rootText);
            if (!root) fail("unknown root key \"" + std::string(rootText.substr(0, 80)) + "\"");
            lastRoot_ = root;
            lastRootText_.assign(rootText);
        }
        std::vector<std::string_view>& path = names_;
        path.clear();
        if (slash != std::string_view::npos && (!splitPath(body.substr(slash + 1), path) || path.empty()))
            fail("bad key path (an empty name, a name over 255 characters or more than 512 levels)");

        if (deleting) {
            if (path.empty()) fail("a root key cannot be deleted");
            tree_.remove(*root, path);
            current_ = nullptr;
            opened_.clear();  // the keys it held may be gone
        } else {
            current_ = create(*root, path);
        }
    }

    // Files list a key's subkeys one after another, so a key line mostly
    // shares all but its last names with the one before: those keys are
    // taken from the line before instead of being looked up again.
    Key* create(HKEY root, const std::vector<std::string_view>& path) {
        std::size_t shared = 0;
        if (!opened_.empty() && openedRoot_ == root) {
            while (shared < path.size() && shared + 1 < opened_.size() &&
                   equalsNoCase(path[shared], opened_[shared + 1]->name()))
                ++shared;
        } else {
            opened_.assign(1, tree_.root(root));
            openedRoot_ = root;
        }
        opened_.resize(shared + 1);
        for (std::size_t i = shared; i < path.size(); ++i) opened_.push_back(&opened_.back()->childOrCreate(path[i]));
        return opened_.back();
    }

    // A quoted text starting at s[pos] == '"', with \" and \\ escapes, into
    // text (emptied first); pos ends past the closing quote. The caller's
    // buffer is kept from line to line, sparing an allocation per value.
    void quoted(std::string_view s, std::size_t& pos, std::string& text) const {
        text.clear();
        for (++pos; pos < s.size(); ++pos) {
            // The plain run up to the next quote or escape goes in at once.
            std::size_t special = pos;
            while (special < s.size() && s[special] != '"' && s[special] != '\\') ++special;
            text.append(s.substr(pos, special - pos));
            pos = special;
            if (pos == s.size()) break;
            char c = s[pos];
            if (c == '"') {
                ++pos;
                return;
            }
            if (pos + 1 >= s.size()) break;
            char next = s[++pos];
            if (next != '"' && next != '\\')
                fail(std::string("unknown escape \\") + next + " (only \\\" and \\\\ are allowed)");
            text.push_back(next);
        }
        fail("text without a closing quote");
    }

    void assignment(std::string_view line) {
        std::string& name = valueName_;
        name.clear();
        std::size_t pos = 0;
        if (line.front() == '@') pos = 1;
        else if (line.front() == '"') quoted(line, pos, name);
        else fail("expected [key], \"name\"=value or @=value");
        if (name.size() > kMaxValueNameLength) fail("value name longer than 16383 characters");

        std::string_view rest = trim(line.substr(pos));
        if (rest.empty() || rest.front() != '=') fail("expected = after the value name");
        std::string_view data = trim(rest.substr(1));
        if (!current_) fail("value outside a key");

        if (data == "-") {
            current_->removeValue(name);
        } else if (!data.empty() && data.front() == '"') {
            std::size_t end = 0;
            std::string& text = dataText_;
            quoted(data, end, text);
            if (end != data.size()) fail("text after the closing quote");
            text.push_back('\0');
            current_->setValue(name, REG_SZ, text);
        } else if (startsWithNoCase(data, "dword:")) {
            auto value = parseHex32(data.substr(6));
            if (!value) fail("dword: needs 1 to 8 hexadecimal digits");
            std::string bytes(4, '\0');
            for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(*value >> (8 * i) & 0xFF);
            current_->setValue(name, REG_DWORD, bytes);
        } else if (startsWithNoCase(data, "hex:")) {
            current_->setValue(name, REG_BINARY, hexBytes(data.substr(4)));
        } else if (startsWithNoCase(data, "hex(")) {
            std::size_t close = data.find("):");
            auto type = close == std::string_view::npos ? std::nullopt : parseHex32(data.substr(4, close - 4));
            if (!type) fail("hex(n): needs a type of 1 to 8 hexadecimal digits");
            std::string bytes = hexBytes(data.substr(close + 2));
            if (version5_ && (*type == REG_SZ || *type == REG_EXPAND_SZ || *type == REG_MULTI_SZ))
                bytes = EncodeAnsi(DecodeUtf16Le(bytes), reading_.codePage);
            current_->setValue(name, *type, bytes);
        } else {
            fail("unknown value data (expected \"text\", dword:, hex:, hex(n): or -)");
        }
    }

    // "00,1f, a0" with an optional trailing comma; blanks around bytes.
    std::string hexBytes(std::string_view list) const {
        std::string bytes;
        list = trim(list);
        if (list.empty()) return bytes;
        if (list.back() == ',') list.remove_suffix(1);
        std::size_t start = 0;
        while (true) {
            std::size_t comma = list.find(',', start);
            std::string_view token =
                trim(list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
            auto byte = token.size() <= 2 ? parseHex32(token) : std::nullopt;
            if (!byte) fail("bad byte \"" + std::string(token.substr(0, 16)) + "\" in a hex list");
            bytes.push_back(static_cast<char>(*byte));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        return bytes;
    }

    std::string_view text_;
    std::string_view source_;
    Tree& tree_;
    const RegistryFileReading& reading_;
    bool version5_ = false;
    std::size_t pos_ = 0;
    std::size_t lineNo_ = 0;
    std::size_t lineStart_ = 0;
    Key* current_ = nullptr;
    // Kept from line to line: a file has a key line for every key and a
    // value line for every value.
    std::vector<std::string_view> names_;
    std::string joined_;
    std::string valueName_;
    std::string dataText_;
    std::optional<HKEY> lastRoot_;
    std::string lastRootText_;
    // The root and the keys down to the last key line's key.
    HKEY openedRoot_ = 0;
    std::vector<Key*> opened_;
};

}  // namespace

void ApplyRegedit4(std::string_view text, std::string_view sourceName, Tree& tree, const RegistryFileReading& reading) {
    if (text.starts_with("\xFF\xFE")) {
        const std::string converted = EncodeAnsi(DecodeUtf16Le(text.substr(2)), reading.codePage);
        Reader(converted, sourceName, tree, reading).run();
        return;
    }
    Reader(text, sourceName, tree, reading).run();
}

}  // namespace si32::regtree
