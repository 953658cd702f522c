#include "platform/host/common/host_read.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "platform/input_file.h"

namespace si32 {

std::string underRoot(const std::string& root, std::string_view path) {
    std::string base = root;
    while (!base.empty() && base.back() == '/') base.pop_back();
    if (path.empty() || path.front() != '/') base += '/';
    return base + std::string(path);
}

std::vector<std::string> pathNames(std::string_view path) {
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at <= path.size()) {
        auto end = path.find('/', at);
        if (end == std::string_view::npos) end = path.size();
        const auto name = path.substr(at, end - at);
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
        at = end + 1;
    }
    return names;
}

std::optional<std::string> readUnderRoot(const std::string& root, std::string_view path) {
    // Non-blocking, so a FIFO planted where a file belongs cannot hold the
    // open; only regular files (the kernel's /proc and /sys files are).
    return ReadInputFile(underRoot(root, path), kReadCap).text;
}

std::optional<std::string> readLineUnderRoot(const std::string& root, std::string_view path) {
    auto text = readUnderRoot(root, path);
    if (!text) return std::nullopt;
    std::string_view view = *text;
    view = view.substr(0, view.find('\n'));
    // Device-tree strings end in NUL.
    view = upToNul(view);
    return std::string(trimBlanks(view));
}

std::vector<std::string> listUnderRoot(const std::string& root, std::string_view path) {
    std::vector<std::string> names;
    DIR* dir = opendir(underRoot(root, path).c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(std::move(name));
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

namespace {

// The value part of KEY=value: quoted pieces joined, as the shell joins them.
std::string unquoteShellValue(std::string_view raw) {
    std::string value;
    size_t i = 0;
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '"') {
            for (++i; i < raw.size() && raw[i] != '"'; ++i) {
                if (raw[i] == '\\' && i + 1 < raw.size() &&
                    std::string_view("\"\\$`").find(raw[i + 1]) != std::string_view::npos)
                    ++i;
                value += raw[i];
            }
            ++i;
        } else if (c == '\'') {
            for (++i; i < raw.size() && raw[i] != '\''; ++i) value += raw[i];
            ++i;
        } else if (c == ' ' || c == '\t') {
            break;  // an unquoted blank ends the word; a comment may follow
        } else {
            if (c == '\\' && i + 1 < raw.size()) ++i;
            value += raw[i];
            ++i;
        }
    }
    return value;
}

}  // namespace

std::map<std::string, std::string> parseShellAssignments(std::string_view text) {
    std::map<std::string, std::string> values;
    for (std::string_view line : splitLines(text)) {
        line = trimBlanks(line);
        if (line.empty() || line.front() == '#') continue;
        if (line.substr(0, 7) == "export ") line = trimBlanks(line.substr(7));
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0) continue;
        values[std::string(line.substr(0, eq))] = unquoteShellValue(line.substr(eq + 1));
    }
    return values;
}

std::vector<ColonFields> parseColonBlocks(std::string_view text) {
    std::vector<ColonFields> blocks(1);
    for (std::string_view line : splitLines(text)) {
        if (trimBlanks(line).empty()) {
            if (!blocks.back().empty()) blocks.emplace_back();
            continue;
        }
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        blocks.back().emplace(std::string(trimBlanks(line.substr(0, colon))),
                              std::string(trimBlanks(line.substr(colon + 1))));
    }
    if (blocks.back().empty()) blocks.pop_back();
    return blocks;
}

ColonFields parseColonFields(std::string_view text) {
    ColonFields fields;
    for (ColonFields& block : parseColonBlocks(text)) fields.merge(block);
    return fields;
}

std::optional<std::string_view> colonField(std::string_view text, std::string_view key) {
    for (std::string_view line : splitLines(text)) {
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos && trimBlanks(line.substr(0, colon)) == key)
            return trimBlanks(line.substr(colon + 1));
    }
    return std::nullopt;
}

}  // namespace si32
