#include "platform/sim/windows_path.h"

namespace si32::sim {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string WindowsPath::text() const {
    std::string out{drive, ':', '\\'};
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += '\\';
        out += names[i];
    }
    return out;
}

WindowsPath WindowsPath::parent() const {
    WindowsPath up = *this;
    if (!up.names.empty()) up.names.pop_back();
    return up;
}

WindowsPath WindowsPath::child(std::string_view name) const {
    WindowsPath down = *this;
    down.names.emplace_back(name);
    return down;
}

bool isFullPath(std::string_view text) {
    return text.size() >= 3 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z')) &&
           text[1] == ':' && isSeparator(text[2]);
}

bool isBareName(std::string_view text) { return !text.empty() && text.find_first_of("\\/:") == std::string_view::npos; }

WindowsPath appendRelative(WindowsPath base, std::string_view relative) {
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = start;
        while (end < relative.size() && !isSeparator(relative[end])) ++end;
        std::string_view name = relative.substr(start, end - start);
        if (name == "..") {
            if (!base.names.empty()) base.names.pop_back();
        } else if (!name.empty() && name != ".") {
            base.names.emplace_back(name);
        }
        start = end + 1;
    }
    return base;
}

std::optional<WindowsPath> parseFullPath(std::string_view text) {
    if (!isFullPath(text)) return std::nullopt;
    return appendRelative(WindowsPath{static_cast<char>(text[0] & ~0x20), {}}, text.substr(3));
}

bool hasWildcards(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

bool matchesPattern(std::string_view pattern, std::string_view name) {
    // Iterative matcher with one backtrack point for the last '*'.
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace si32::sim
