#pragma once
// The text buffers the query routines hand to the platform and the cuts they
// make of the answers.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace si32::mod {

// A buffer of size NUL characters, as the routines prepare them.
inline std::string nulBuffer(std::size_t size) { return std::string(size, '\0'); }

// The first count characters, never more than the buffer holds: a count
// that a call reports beyond its buffer cannot read outside it.
inline std::string leftOf(const std::string& buffer, std::size_t count) {
    return buffer.substr(0, std::min(count, buffer.size()));
}

}  // namespace si32::mod
