// Captures of texts in any bytes: a machine whose names, folders, labels and
// registry hold bytes in its code page, or bytes no code page decodes, is
// captured without a fault and replays with the very same bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/capture.h"
#include "app/report.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/guarded.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"
#include "tests/support/run_report.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/source_dir.h"

namespace si32 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every control as the model holds it (bytes in the machine's code page),
// then the text report.
std::string shownBytes(Backend& machine, const std::string& letter) {
    Session session(machine.platform());
    Form_Load(session);
    Form_Activate(session);
    guarded([&] { session.form.SetDrive1(letter); });
    std::string out;
    for (const Control& c : session.form.controls()) out += c.key() + "=" + c.text + "|" + c.tooltip + "\n";
    return out + ReportText(session, {});
}

class CaptureBytes : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir.path().empty()); }

    // win98 with members changed, its registry file beside it, with an owner
    // (bytes as they are) when one is given.
    fs::path machine(const std::string& name, const Json& members, const std::string& owner) const {
        Json description = Json::parse(fileText(testsupport::sourceFile("machines/win98.json")));
        description.update(members);
        std::ofstream registry(dir / (name + ".reg"), std::ios::binary);
        registry << fileText(testsupport::sourceFile("machines/win98.reg"));
        if (!owner.empty())
            registry << "\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
                        "\"RegisteredOwner\"=\""
                     << owner << "\"\r\n";
        description["registry_file"] = name + ".reg";
        std::ofstream(dir / (name + ".json")) << description.dump(2);
        return dir / (name + ".json");
    }

    testsupport::ScratchDir dir{"si32-bytes"};
};

Json trvwin(const std::string& productDir) {
    return "\"" + productDir +
           "\",\"C:\",1,\"2005.20\",0,\"Main\",\"a\",\"b\",\"c\",\"d\",\"e\",\"f\",\"g\",\"h\",1024,768\r\n";
}

TEST_F(CaptureBytes, ReplayShowsTheSameBytes) {
    const struct {
        const char* what;
        Json members;
        std::string owner;
        const char* described;  // what the description must say about its texts
    } cases[] = {
        {"Windows-1252, with a byte it leaves undefined",
         {{"ansi_code_page", 1252},
          {"computer_name", "CAF\u00c9-PC"},
          {"user_name", "ren\u00e9"},
          {"directories",
           {{"windows", "C:\\WINDOWS"}, {"system", "C:\\WINDOWS\\SYSTEM"}, {"temp", "C:\\\u00c9T\u00c9\\"}}},
          {"files",
           {{"C:\\WINDOWS\\SYSTEM\\TRVWIN.INI", {{"text", trvwin("C:\\PRODUIT\u00c9")}}},
            {"C:\\PRODUIT\u00c9\\tarvello.exe", {{"modified", "2005-12-07T14:10:00"}}}}},
          {"drives", Json::array({{{"letter", "C"}, {"type", 3}, {"label", "DONN\u00c9ES"}, {"serial", 1}}})}},
         "Ren\xe9"
         "e \x80 \x81 100%",
         "\"ansi_code_page\": 1252"},
        {"Latin-1 bytes on a UTF-8 machine", Json::object(),
         "Ren\xe9"
         "e 100%",
         "\"escaped_bytes\": true"},
        {"a description that escapes its bytes",
         {{"escaped_bytes", true},
          {"computer_name", "PC%E9"},
          {"directories", {{"windows", "C:\\WINDOWS"}, {"system", "C:\\WINDOWS\\SYSTEM"}, {"temp", "C:\\T%E9MP\\"}}},
          {"files",
           {{"C:\\WINDOWS\\SYSTEM\\TRVWIN.INI", {{"text", trvwin("C:\\CAF%C9")}}},
            {"C:\\CAF%C9\\tarvello.exe", {{"modified", "2005-12-07T14:10:00"}}}}},
          {"drives", Json::array({{{"letter", "C"}, {"type", 3}, {"label", "L%FF%25"}, {"serial", 1}}})}},
         "",
         "%E9"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        const fs::path original = machine("machine" + std::to_string(i), c.members, c.owner);
        testsupport::RecordingFrontend frontend;
        SimMachine recorded(original.string(), frontend);
        std::string description;
        ASSERT_NO_THROW(description = capture::DescriptionText(CaptureMachine(recorded, {})));
        EXPECT_NE(description.find(c.described), std::string::npos) << description;
        SimMachine replayed(SimMachine::Text{description, "captured.json", "."}, frontend);
        for (const char* letter : {"C", "D"}) {
            SimMachine shown(original.string(), frontend);
            EXPECT_EQ(shownBytes(replayed, letter), shownBytes(shown, letter)) << letter;
        }
    }
}

TEST_F(CaptureBytes, AMalformedEscapeIsRefusedWithItsMember) {
    const fs::path bad = machine("bad", {{"escaped_bytes", true}, {"computer_name", "100%"}}, "");
    testsupport::RecordingFrontend frontend;
    try {
        SimMachine machine(bad.string(), frontend);
        FAIL() << "read";
    } catch (const MachineDescriptionError& e) {
        EXPECT_NE(std::string(e.what()).find("computer_name"), std::string::npos) << e.what();
    }
}

// On the host: a folder name in Latin-1 as the current directory and as
// TMPDIR, as a user with an old archive has them.
TEST_F(CaptureBytes, AHostWithLatin1FoldersIsCapturedAndReplayed) {
    const fs::path latin1 = dir / "caf\xe9";
    fs::create_directory(latin1);
    std::vector<std::string> env = testsupport::environmentWithout({"SI32_MACHINE", "TMPDIR"});
    env.push_back("TMPDIR=" + latin1.string());
    const fs::path here = fs::current_path();
    fs::current_path(latin1);
    const auto captured = testsupport::runReport({"--capture", (dir / "host.json").string()}, env);
    const auto host = testsupport::runReport({"--json"}, env);
    fs::current_path(here);
    ASSERT_EQ(captured.status, 0) << captured.err;
    env.push_back("SI32_MACHINE=" + (dir / "host.json").string());
    const auto replayed = testsupport::runReport({"--json"}, env);
    ASSERT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_NE(fileText(dir / "host.json").find("caf%E9"), std::string::npos);
    const std::string temp = "Label2(7)";
    EXPECT_EQ(Json::parse(replayed.out)["controls"][temp], Json::parse(host.out)["controls"][temp]);
}

}  // namespace
}  // namespace si32
