#include "platform/capture/recorders.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/capture/recording_calls.h"
#include "platform/capture/windows_paths.h"

namespace si32::capture {
namespace {

class RecordingRegistry final : public Registry {
public:
    RecordingRegistry(Registry& inner, Recording& rec) : inner_(inner), rec_(rec) {
        for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG})
            paths_[root] = Place{root, ""};
    }

    int32_t RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                          HKEY& result) override {
        const int32_t status =
            ask(rec_, "RegOpenKeyExA", [&] { return inner_.RegOpenKeyExA(key, subKey, options, samDesired, result); });
        const auto parent = paths_.find(key);
        if (status != ERROR_SUCCESS || parent == paths_.end()) return status;
        Place place = parent->second;
        const std::string below = trimBackslashes(subKey);
        if (!below.empty()) place.path += (place.path.empty() ? "" : "\\") + below;
        paths_[result] = place;
        const std::string full = fullKeyPath(place.root, place.path);
        rec_.keys.try_emplace(full, RecordedKey{place.root, place.path, {}});
        return status;
    }
    int32_t RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                             uint32_t& dataSize) override {
        const uint32_t given = dataSize;
        const int32_t status = ask(rec_, "RegQueryValueExA",
                                   [&] { return inner_.RegQueryValueExA(key, valueName, type, data, dataSize); });
        const auto place = paths_.find(key);
        if (place == paths_.end() || (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)) return status;
        RecordedKey& recorded = rec_.keys
                                    .try_emplace(fullKeyPath(place->second.root, place->second.path),
                                                 RecordedKey{place->second.root, place->second.path, {}})
                                    .first->second;
        if (recorded.values.contains(std::string(valueName))) return status;
        RecordedValue value{type, {}};
        if (status == ERROR_SUCCESS && !data.empty() && dataSize <= std::min<size_t>(given, data.size())) {
            value.data.assign(data.data(), dataSize);
        } else {
            // A size question, or too small a buffer: ask for the bytes.
            std::vector<char> whole(dataSize);
            uint32_t wholeSize = dataSize;
            uint32_t wholeType = 0;
            if (inner_.RegQueryValueExA(key, valueName, wholeType, whole, wholeSize) != ERROR_SUCCESS) return status;
            value = RecordedValue{wholeType, std::string(whole.data(), wholeSize)};
        }
        recorded.values.emplace(std::string(valueName), std::move(value));
        return status;
    }
    int32_t RegCloseKey(HKEY key) override {
        const int32_t status = ask(rec_, "RegCloseKey", [&] { return inner_.RegCloseKey(key); });
        if (status == ERROR_SUCCESS && !isPredefined(key)) paths_.erase(key);
        return status;
    }
    int32_t RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) override {
        const int32_t status =
            ask(rec_, "RegConnectRegistryA", [&] { return inner_.RegConnectRegistryA(machineName, key, result); });
        if (status != ERROR_SUCCESS) {
            rec_.registryConnectFails = true;
            return status;
        }
        paths_[result] = Place{key, ""};
        return status;
    }
    int32_t GetUserNameA(std::span<char> buffer, uint32_t& size) override {
        const uint32_t given = size;
        const int32_t ok = ask(rec_, "GetUserNameA", [&] { return inner_.GetUserNameA(buffer, size); });
        if (ok != 0) {
            keepFirst(rec_.userName, cutAtNul(buffer.first(std::min<size_t>(size, buffer.size()))));
        } else if (size > given && !rec_.userName) {
            std::vector<char> large(size);
            uint32_t largeSize = size;
            if (inner_.GetUserNameA(large, largeSize) != 0) rec_.userName = cutAtNul(std::span<const char>(large));
        }
        return ok;
    }

private:
    struct Place {
        HKEY root = 0;
        std::string path;
    };
    static bool isPredefined(HKEY key) { return key >= HKEY_CLASSES_ROOT && key <= HKEY_CURRENT_CONFIG; }
    static std::string trimBackslashes(std::string_view text) {
        while (!text.empty() && text.front() == '\\') text.remove_prefix(1);
        while (!text.empty() && text.back() == '\\') text.remove_suffix(1);
        return std::string(text);
    }

    Registry& inner_;
    Recording& rec_;
    std::map<HKEY, Place> paths_;
};

}  // namespace

std::unique_ptr<Registry> RecordRegistry(Registry& inner, Recording& rec) {
    return std::make_unique<RecordingRegistry>(inner, rec);
}

}  // namespace si32::capture
