#pragma once
// A simulated machine for the query routines, described in JSON built from
// C++ values (so registry text needs no double escaping), with a frontend
// that records every message box and a registry that records every open.
#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"
#include "si32mod/si32mod.h"
#include "tests/support/recording_frontend.h"

namespace si32::modtest {

using testsupport::Message;
using testsupport::RecordingFrontend;

struct Open {
    HKEY root;
    std::string path;
    uint32_t access;
};

// Passes every call on, keeping the opens and the value names asked for.
class RecordingRegistry : public Registry {
public:
    explicit RecordingRegistry(Registry& inner) : inner_(inner) {}
    int32_t RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t sam, HKEY& result) override {
        opens.push_back({key, std::string(subKey), sam});
        return inner_.RegOpenKeyExA(key, subKey, options, sam, result);
    }
    int32_t RegQueryValueExA(HKEY key, std::string_view name, uint32_t& type, std::span<char> data,
                             uint32_t& size) override {
        queries.emplace_back(name);
        bufferSizes.push_back(size);
        return inner_.RegQueryValueExA(key, name, type, data, size);
    }
    int32_t RegCloseKey(HKEY key) override {
        ++closes;
        return inner_.RegCloseKey(key);
    }
    int32_t RegConnectRegistryA(std::string_view machine, HKEY key, HKEY& result) override {
        return inner_.RegConnectRegistryA(machine, key, result);
    }
    int32_t GetUserNameA(std::span<char> buffer, uint32_t& size) override { return inner_.GetUserNameA(buffer, size); }

    std::vector<Open> opens;
    std::vector<std::string> queries;
    std::vector<uint32_t> bufferSizes;
    int closes = 0;

private:
    Registry& inner_;
};

struct SimHarness {
    explicit SimHarness(nlohmann::json description)
        : json(description.dump()),
          machine(SimMachine::Text{json, "test.json", "."}, frontend),
          registry(machine.platform().registry),
          platform(withRegistry(machine.platform(), registry)),
          mod(platform) {}

    // A machine named OFFICE-PC whose registry is the given REGEDIT4 body.
    static nlohmann::json withRegistryText(std::string_view body) {
        return {{"computer_name", "OFFICE-PC"}, {"registry", "REGEDIT4\r\n\r\n" + std::string(body)}};
    }

    std::vector<std::string> started() const { return machine.started(); }

    std::string json;
    RecordingFrontend frontend;
    SimMachine machine;
    RecordingRegistry registry;
    Platform platform;
    Si32Mod mod;

private:
    static Platform withRegistry(Platform& p, Registry& registry) {
        return Platform{p.kernel, registry, p.shell, p.ui, p.multimedia, p.files, p.printing, p.regional};
    }
};

}  // namespace si32::modtest
