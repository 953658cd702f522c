// Whatever a machine gives, start-up and both reports go through: texts in
// any code page (and bytes in none) come out decoded, never as a crash;
// numbers that cannot be computed with leave their field alone.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "app/report.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"

namespace si32 {
namespace {

using nlohmann::json;

// A plain machine: the registry names its owner.
json machineWith(const json& members) {
    json machine = {
        {"version", {{"platform_id", 2}, {"major", 5}, {"minor", 1}, {"build", 2600}}},
        {"computer_name", "FRONTDESK"},
        {"directories", {{"windows", "C:\\WINDOWS"}, {"system", "C:\\WINDOWS\\SYSTEM32"}, {"temp", "C:\\TEMP\\"}}},
        {"display",
         {{"width_twips", 15360}, {"height_twips", 11520}, {"twips_per_pixel_x", 15}, {"twips_per_pixel_y", 15}}},
        {"drives", json::array({{{"letter", "C"}, {"type", 3}, {"label", "SYSTEM"}}})},
    };
    machine.update(members);
    return machine;
}

// The bytes written to a scratch file beside the descriptions; its name there.
std::string scratchFile(const std::string& name, const std::string& bytes) {
    const std::string file = std::to_string(::getpid()) + "_" + name;
    std::ofstream(::testing::TempDir() + "/" + file, std::ios::binary) << bytes;
    return file;
}

struct StartedMachine {
    explicit StartedMachine(const json& description) : text(description.dump()) {
        machine = std::make_unique<SimMachine>(SimMachine::Text{text, "hostile.json", ::testing::TempDir()}, frontend);
        session = std::make_unique<Session>(machine->platform());
        Form_Load(*session);
        Form_Activate(*session);
        session->form.SetDrive1("c");
        session->mod.Command2_Click();
    }
    std::string shown(const std::string& key) const {
        return ReportJson(*session, {})["controls"][key]["text"].get<std::string>();
    }

    std::string text;
    testsupport::RecordingFrontend frontend;
    std::unique_ptr<SimMachine> machine;
    std::unique_ptr<Session> session;
};

std::string ownerRegistry(const std::string& owner) {
    return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
           "\"RegisteredOwner\"=\"" +
           owner + "\"\r\n";
}

std::string utf16le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(HostileInput, TextsInAnyCodePageAreShownDecoded) {
    const std::string latin1 = scratchFile("latin1.reg", ownerRegistry("Ren\xE9"
                                                                       "e"));
    const std::string version5 =
        scratchFile("version5.reg", utf16le(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                            u"[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
                                            u"\"RegisteredOwner\"=\"Ren\u00E9e \u0160\"\r\n"));
    struct Case {
        const char* name;
        json members;
        std::string owner;  // as the report shows it
    };
    const Case cases[] = {
        {"Windows-1252 text", {{"ansi_code_page", 1252}, {"registry", ownerRegistry("Ren\u00E9e")}}, "Ren\u00E9e"},
        {"Latin-1 file", {{"ansi_code_page", 1252}, {"registry_file", latin1}}, "Ren\u00E9e"},
        {"Latin-1 file on a UTF-8 machine", {{"registry_file", latin1}}, "Ren\uFFFDe"},
        {"version 5 export, 1250", {{"ansi_code_page", 1250}, {"registry_file", version5}}, "Ren\u00E9e \u0160"},
        {"version 5 export, 1252 lacks one letter",
         {{"ansi_code_page", 1252}, {"registry_file", version5}},
         "Ren\u00E9e \u0160"},
        {"version 5 export, 1251 lacks both", {{"ansi_code_page", 1251}, {"registry_file", version5}}, "Ren?e ?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartedMachine run(machineWith(c.members));
        EXPECT_EQ(run.shown("Label2(26)"), c.owner);
        // Both reports come out as valid UTF-8 whatever the bytes were.
        EXPECT_NO_THROW((void)ReportJson(*run.session, {}).dump());
        EXPECT_NE(ReportText(*run.session, {}).find(c.owner), std::string::npos);
    }
    for (const std::string& file : {latin1, version5}) std::remove((::testing::TempDir() + "/" + file).c_str());
}

TEST(HostileInput, DeviceNamesAreCutBetweenCharacters) {
    std::string accents;
    for (int i = 0; i < 40; ++i) accents += "\u00E9";
    const std::pair<json, std::string> cases[] = {
        // 31 bytes hold fifteen two-byte characters in UTF-8, 31 in 1252.
        {json::object(), std::string(15 * 2, ' ')},
        {{{"ansi_code_page", 1252}}, std::string(31 * 2, ' ')},
    };
    for (const auto& [members, room] : cases) {
        json machine = machineWith(members);
        machine["midi_devices"] = {accents};
        StartedMachine run(machine);
        std::string expected;
        for (size_t i = 0; i < room.size() / 2; ++i) expected += "\u00E9";
        EXPECT_EQ(run.shown("MidiDevs"), expected + " (default)") << members.dump();
    }
}

TEST(HostileInput, NumbersThatCannotBeComputedLeaveTheirFieldAlone) {
    const json cases[] = {
        {{"width_twips", INT32_MIN}, {"height_twips", 100}, {"twips_per_pixel_x", -1}, {"twips_per_pixel_y", 1}},
        {{"width_twips", 100}, {"height_twips", 100}, {"twips_per_pixel_x", 0}, {"twips_per_pixel_y", 0}},
    };
    for (const json& display : cases) {
        StartedMachine run(machineWith({{"display", display}}));
        EXPECT_EQ(run.shown("Label2(15)"), "") << display.dump();
    }
}

TEST(HostileInput, RemoteRegistryConnectsOnlyToThisMachine) {
    // A name too long for the buffer reads back as something else: no such
    // machine, so the processor line cannot be read through the connection.
    const std::string longName(40, 'X');
    const json registry = {
        {"registry",
         "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Hardware\\Description\\System]\r\n\"Identifier\"=\"AT\"\r\n"
         "[HKEY_LOCAL_MACHINE\\Hardware\\Description\\System\\CentralProcessor\\0]\r\n"
         "\"VendorIdentifier\"=\"GenuineIntel\"\r\n\"ProcessorNameString\"=\"Pentium\"\r\n"}};
    json own = machineWith(registry);
    json foreign = machineWith(registry);
    foreign["computer_name"] = longName;
    EXPECT_NE(StartedMachine(own).shown("Label2(8)").find("GenuineIntel"), std::string::npos);
    EXPECT_EQ(StartedMachine(foreign).shown("Label2(8)").find("GenuineIntel"), std::string::npos);
}

}  // namespace
}  // namespace si32
