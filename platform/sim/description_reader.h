#pragma once
// Typed reading of a machine description's JSON members. Every mistake
// throws MachineDescriptionError with one line: the file, the member path
// ("drives[1].serial") and what was expected there.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace si32::sim {

class DescriptionReader {
public:
    explicit DescriptionReader(std::string sourceName) : source_(std::move(sourceName)) {}

    const std::string& source() const { return source_; }

    // The machine's ANSI code page, which texts are converted into.
    void setCodePage(uint32_t codePage) { codePage_ = codePage; }
    // Texts hold bytes as "%HH" (EscapeAnsi): a capture of bytes the code
    // page cannot show.
    void setEscapedBytes(bool escaped) { escapedBytes_ = escaped; }
    // A text of the description (UTF-8) as the machine holds it; path names
    // the member in the error for a malformed escape.
    std::string ansi(std::string_view utf8, std::string_view path) const;

    [[noreturn]] void fail(std::string_view memberPath, std::string_view expected) const;

    // Checks that node is an object whose members are all among allowed.
    void expectObject(const nlohmann::json& node, std::string_view path,
                      std::initializer_list<std::string_view> allowed) const;
    // Checks that node is an object (any member names).
    void expectAnyObject(const nlohmann::json& node, std::string_view path) const;
    void expectArray(const nlohmann::json& node, std::string_view path) const;

    std::string text(const nlohmann::json& node, std::string_view path) const;
    bool flag(const nlohmann::json& node, std::string_view path) const;
    int64_t integer(const nlohmann::json& node, std::string_view path, int64_t min, int64_t max,
                    std::string_view expected) const;
    uint32_t u32(const nlohmann::json& node, std::string_view path) const;
    int32_t i32(const nlohmann::json& node, std::string_view path) const;
    uint64_t u64(const nlohmann::json& node, std::string_view path) const;
    // A 32-bit value given signed or unsigned (-1 and 4294967295 alike).
    uint32_t bits32(const nlohmann::json& node, std::string_view path) const;

    // The member of object, or nullptr when absent.
    static const nlohmann::json* find(const nlohmann::json& object, std::string_view name);

private:
    std::string source_;
    uint32_t codePage_ = 65001;
    bool escapedBytes_ = false;
};

// Input quoted in a message, cut to at most 80 characters so that a huge
// name does not fill the terminal.
std::string capQuoted(std::string_view text);

// "a.b", "a[3]": the member paths named in errors.
std::string memberPath(std::string_view parent, std::string_view name);
std::string elementPath(std::string_view parent, size_t index);

}  // namespace si32::sim
