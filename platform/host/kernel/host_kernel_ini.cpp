// GetPrivateProfileStringA over the prefix's INI files; where a file or key
// is missing, the live machine answers the keys it has facts for.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/contract/buffer_conventions.h"
#include "platform/engine/ini_reader.h"
#include "platform/host/common/host_read.h"
#include "platform/host/kernel/host_ini_facts.h"
#include "platform/host/kernel/host_kernel.h"
#include "platform/host/kernel/host_windows_paths.h"

namespace si32 {
namespace {

// Answered by the INI reader only when the key is missing: no INI line can
// hold these control characters.
constexpr std::string_view kMissing = "\x01\x02missing\x02\x01";

}  // namespace

uint32_t HostKernel::GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                              std::string_view defaultValue, std::span<char> buffer,
                                              std::string_view fileName) {
    // A name without a full path is a file in the Windows directory.
    const std::string windowsPath =
        isHostPath(fileName) ? std::string(fileName) : fullWindowsPath(fileName, 'C', [](char letter) {
            return letter == 'C' ? std::string(kWindowsDirectory.substr(3)) : std::string();
        });
    std::optional<std::string> text;
    if (const auto host = drives_.ToHostPath(windowsPath)) text = context_.mounts->ReadFile(*host);

    std::vector<char> scratch(std::max(buffer.size(), kMissing.size() + 1));
    const uint32_t count = GetPrivateProfileStringFromText(text ? std::optional<std::string_view>(*text) : std::nullopt,
                                                           section, key, kMissing, scratch);
    const std::string_view answer(scratch.data(), count);
    if (answer != kMissing) return storeCutAnswer(answer, buffer);

    if (equalsNoCase(windowsParent(windowsPath), kWindowsDirectory))
        if (const auto live =
                liveIniValue(context_.root, context_.environment, windowsBaseName(windowsPath), section, key))
            return storeCutAnswer(*live, buffer);
    // Windows drops the default's trailing blanks.
    while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
    return storeCutAnswer(defaultValue, buffer);
}

}  // namespace si32
