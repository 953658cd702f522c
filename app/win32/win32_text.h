#pragma once
// Texts of the control model as the wide Windows calls take them.
#include <algorithm>
#include <string>
#include <string_view>

#include "app/win32/windows_api.h"
#include "platform/code_page.h"

namespace si32 {

// The model holds the platform's texts in its ANSI code page, with the CR LF
// line breaks the controls expect; a simulated machine's code page need not
// be this system's, so the text goes through UTF-8 rather than the A calls.
inline std::wstring wideText(std::string_view text, uint32_t codePage = CP_UTF8) {
    const std::string utf8 = DecodeAnsi(text, codePage);
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(0, length)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

}  // namespace si32
