// The privacy pass over a recording: who and where the machine is, replaced
// by placeholders that stay the same from one capture to the next.
#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "platform/capture/description_writer.h"
#include "platform/spi.h"
#include "platform/text_helpers.h"

namespace si32::capture {
namespace {

struct Replacement {
    std::string secret;
    std::string placeholder;
};

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

bool matchesAt(const std::string& text, size_t at, const std::string& secret) {
    return equalsNoCase(std::string_view(text).substr(at, secret.size()), secret);
}

class Replacer {
public:
    void add(const std::string& secret, std::string placeholder) {
        // A name of one character would take letters out of every word.
        if (secret.size() < 2 || secret == placeholder) return;
        for (const Replacement& r : replacements_)
            if (r.secret == secret) return;
        replacements_.push_back({secret, std::move(placeholder)});
        // Longer first: a full name before the login name inside it.
        std::stable_sort(replacements_.begin(), replacements_.end(),
                         [](const Replacement& a, const Replacement& b) { return a.secret.size() > b.secret.size(); });
    }

    // Every whole-word occurrence, without regard to ASCII case.
    void apply(std::string& text) const {
        for (const Replacement& r : replacements_) {
            std::string out;
            size_t i = 0;
            while (i < text.size()) {
                const bool fits = i + r.secret.size() <= text.size() && matchesAt(text, i, r.secret);
                const bool startsWord = i == 0 || !isWordChar(text[i - 1]) || !isWordChar(r.secret.front());
                const size_t end = i + r.secret.size();
                const bool endsWord = end >= text.size() || !isWordChar(text[end]) || !isWordChar(r.secret.back());
                if (fits && startsWord && endsWord) {
                    out += r.placeholder;
                    i = end;
                } else {
                    out += text[i++];
                }
            }
            text = std::move(out);
        }
    }

    template <class Map>
    Map applyToKeys(const Map& map) const {
        Map out;
        for (const auto& element : map) {
            if constexpr (requires { element.first; }) {
                std::string key = element.first;
                apply(key);
                out.emplace(std::move(key), element.second);
            } else {
                std::string key = element;
                apply(key);
                out.insert(std::move(key));
            }
        }
        return out;
    }

private:
    std::vector<Replacement> replacements_;
};

bool isText(uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The owner and organization the registry holds, replaced in place and
// added to what is replaced everywhere else.
void registeredNames(Recording& rec, Replacer& replacer) {
    const std::pair<const char*, const char*> names[] = {{"RegisteredOwner", "Owner"},
                                                         {"RegisteredOrganization", "Organization"}};
    for (auto& [full, key] : rec.keys) {
        for (const auto& [valueName, placeholder] : names) {
            const auto found = key.values.find(valueName);
            if (found == key.values.end() || !isText(found->second.type)) continue;
            std::string& data = found->second.data;
            const std::string secret(upToNul(data));
            if (secret.empty()) continue;
            replacer.add(secret, placeholder);
            data = std::string(placeholder) + '\0';
        }
    }
}

// Labels and serials are replaced where the drives hold them only: a label
// is often an ordinary word ("boot", "DATA") that other texts need.
void drives(Recording& rec) {
    for (auto& [letter, drive] : rec.drives) {
        const std::string suffix(1, letter);
        const bool listShowsLabel = drive.volume && drive.listLabel == drive.volume->label;
        if (drive.volume) {
            if (!drive.volume->label.empty()) drive.volume->label = "LABEL_" + suffix;
            drive.volume->serial = 0x0A000000u + static_cast<uint32_t>(letter - 'A' + 1);
        }
        if (!drive.listLabel.empty()) drive.listLabel = (listShowsLabel ? "LABEL_" : "SOURCE_") + suffix;
    }
}

void applyEverywhere(Recording& rec, const Replacer& r) {
    for (auto* text :
         {&rec.windowsDirectory, &rec.systemDirectory, &rec.tempDirectory, &rec.currentDirectory, &rec.defaultPrinter})
        if (*text) r.apply(**text);
    for (auto& [id, name] : rec.midiNames) r.apply(name);
    for (auto& [full, key] : rec.keys)
        for (auto& [name, value] : key.values)
            if (isText(value.type)) r.apply(value.data);
    for (auto& [path, sections] : rec.ini)
        for (auto& [section, keys] : sections)
            for (auto& [key, value] : keys) r.apply(value);
    rec.ini = r.applyToKeys(rec.ini);
    for (auto& [path, file] : rec.files) {
        r.apply(file.path);
        if (file.text) r.apply(*file.text);
    }
    rec.files = r.applyToKeys(rec.files);
    rec.killed = r.applyToKeys(rec.killed);
    for (RecordedProgram& program : rec.programs) {
        r.apply(program.name);
        r.apply(program.startDirectory);
        for (auto& [name, text] : program.writes) r.apply(text);
    }
    if (auto wallpaper = rec.display.parameters.find(SPI_GETDESKWALLPAPER); wallpaper != rec.display.parameters.end()) {
        std::string text;
        for (std::byte b : wallpaper->second) text.push_back(static_cast<char>(b));
        r.apply(text);
        wallpaper->second.clear();
        for (char c : text) wallpaper->second.push_back(static_cast<std::byte>(c));
    }
}

}  // namespace

Recording Anonymized(const Recording& recording, const std::string& homeDirectory) {
    Recording rec = recording;
    Replacer replacer;
    registeredNames(rec, replacer);
    if (rec.computerName) {
        replacer.add(*rec.computerName, "COMPUTER");
        rec.computerName = "COMPUTER";
    }
    if (rec.userName) {
        replacer.add(*rec.userName, "user");
        rec.userName = "user";
    }
    if (homeDirectory.size() > 1) {
        std::string windowsForm = homeDirectory;
        std::replace(windowsForm.begin(), windowsForm.end(), '/', '\\');
        replacer.add(homeDirectory, "/home/user");
        replacer.add(windowsForm, "\\home\\user");
    }
    drives(rec);
    applyEverywhere(rec, replacer);
    return rec;
}

}  // namespace si32::capture
