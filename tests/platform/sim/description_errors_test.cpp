// A description that cannot be used names its file, the member and what was
// expected, on one line.
#include <gtest/gtest.h>

#include <ostream>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "tests/platform/sim/sim_test_support.h"

namespace si32::simtest {
namespace {

struct BadDescription {
    const char* json;
    const char* message;  // the whole message after "test.json: "
};

void PrintTo(const BadDescription& c, std::ostream* out) { *out << c.message; }

class DescriptionErrors : public ::testing::TestWithParam<BadDescription> {};

TEST_P(DescriptionErrors, NameFileMemberAndExpectation) {
    try {
        TestMachine machine(GetParam().json);
        FAIL() << "accepted: " << GetParam().json;
    } catch (const MachineDescriptionError& error) {
        EXPECT_EQ(std::string("test.json: ") + GetParam().message, error.what());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Members, DescriptionErrors,
    ::testing::Values(
        BadDescription{"[]", "expected an object"},
        BadDescription{R"({"computer_nmae": "X"})", "computer_nmae: unknown member"},
        BadDescription{R"({"computer_name": 7})", "computer_name: expected a string"},
        BadDescription{R"({"drives": [{"letter": "C"}, {"letter": "D", "serial": -1}]})",
                       "drives[1].serial: expected an unsigned 32-bit integer"},
        BadDescription{R"({"drives": [{"letter": "C", "serial": 4294967296}]})",
                       "drives[0].serial: expected an unsigned 32-bit integer"},
        BadDescription{R"({"drives": [{"type": 3}]})", "drives[0].letter: expected a drive letter (missing)"},
        BadDescription{R"({"drives": [{"letter": "C"}, {"letter": "c"}]})",
                       "drives[1].letter: expected a letter not listed before"},
        BadDescription{R"({"drives": [{"letter": "C", "label": "A", "volume_fail": true}]})",
                       "drives[0].volume_fail: unknown member"},
        BadDescription{R"({"version": {"major": 4.5}})", "version.major: expected an unsigned 32-bit integer"},
        BadDescription{R"({"memory": {"load": 101}})", "memory.load: expected a percentage (an integer 0 to 100)"},
        BadDescription{R"({"previous_instance": 1})", "previous_instance: expected true or false"},
        BadDescription{R"({"midi_devices": ["a", 2]})", "midi_devices[1]: expected a string"},
        BadDescription{R"({"regional": {"months": ["Jan"]}})",
                       "regional.months: expected an array of 12 month abbreviations"},
        BadDescription{R"({"files": {"WINDOWS\\A.INI": {}}})",
                       "files.WINDOWS\\A.INI: expected a full Windows path (C:\\FOLDER\\NAME) as the member name"},
        BadDescription{R"({"files": {"C:\\A.INI": {"modified": "2005-13-01T00:00:00"}}})",
                       "files.C:\\A.INI.modified: expected a local date and time like 2005-12-07T14:10:00"},
        BadDescription{R"({"files": {"C:\\A.INI": {"attributes": ["readonly"]}}})",
                       "files.C:\\A.INI.attributes[0]: expected \"hidden\", \"system\" or \"directory\""},
        BadDescription{R"({"programs": {"a.exe": {"writes": {"x": 1}}}})",
                       "programs.a.exe.writes.x: expected a string"},
        BadDescription{R"({"display": {"metrics": {"zero": 1}}})",
                       "display.metrics.zero: expected a number as the member name (decimal or 0x hexadecimal)"},
        BadDescription{R"({"display": {"parameters": {"48": {"left": 0, "wide": 3}}}})",
                       "display.parameters.48.wide: unknown member"},
        BadDescription{R"({"display": {"parameters": {"31": [1, 2]}}})",
                       "display.parameters.31: expected an object or an array of 60 bytes"},
        BadDescription{R"({"display": {"parameters": {"31": {"face_name": "A face name longer than thirty-one"}}}})",
                       "display.parameters.31.face_name: expected a face name of at most 31 bytes"},
        BadDescription{R"({"display": {"parameters": {"4098": true}}})",
                       "display.parameters.4098: expected a 32-bit integer or an array of bytes"},
        BadDescription{R"({"failing_calls": ["GetVersionEx"]})",
                       "failing_calls[0]: expected the name of a platform call, not \"GetVersionEx\""},
        BadDescription{R"({"registry": "", "registry_file": "a.reg"})",
                       "registry_file: expected registry or registry_file, not both"},
        BadDescription{R"({"registry": "REGEDIT4\n\n[HKEY_NOWHERE\\X]\n"})",
                       "registry: line 3: unknown root key \"HKEY_NOWHERE\""},
        BadDescription{R"({"registry_file": "no-such-file.reg"})",
                       "registry_file: ./no-such-file.reg: No such file or directory"},
        // A description reads no file of the replaying machine.
        BadDescription{R"({"registry_file": "/dev/zero"})",
                       "registry_file: expected a file in the description's own folder, named without \"..\" or "
                       "an absolute path, not \"/dev/zero\""},
        BadDescription{R"({"registry_file": "../private/settings.reg"})",
                       "registry_file: expected a file in the description's own folder, named without \"..\" or "
                       "an absolute path, not \"../private/settings.reg\""},
        BadDescription{R"({"registry_file": "regs/../../settings.reg"})",
                       "registry_file: expected a file in the description's own folder, named without \"..\" or "
                       "an absolute path, not \"regs/../../settings.reg\""},
        BadDescription{R"({"registry_file": ".."})",
                       "registry_file: expected a file in the description's own folder, named without \"..\" or "
                       "an absolute path, not \"..\""},
        BadDescription{R"({"registry_file": ""})",
                       "registry_file: expected a file in the description's own folder, named without \"..\" or "
                       "an absolute path, not \"\""},
        BadDescription{R"({"computer_name": "A", "computer_name": "B"})", "computer_name: duplicate member"},
        BadDescription{R"({"registry_read_only_keys": ["HKEY_L!CAL_MACHINE\\X"]})",
                       "registry_read_only_keys[0]: expected a key under a predefined root (HKEY_LOCAL_MACHINE\\...)"},
        BadDescription{R"({"drives": [{"letter": "C"}, {"letter": "D", "letter": "E"}]})",
                       "drives[1].letter: duplicate member"},
        BadDescription{R"({"display": {"width_twips": 1e400}})",
                       "display.width_twips: expected valid JSON: number overflow parsing '1e400'"},
        BadDescription{
            R"({"ansi_code_page": 12345})",
            "ansi_code_page: expected a code page this system can convert (1252, 1250, 1251, 932, 65001, ...)"},
        BadDescription{
            R"({"midi_devices": [[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]})",
            "midi_devices[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0...: "
            "expected at most 64 levels of nesting"}));

// n copies of item, joined by commas.
std::string repeated(const std::string& item, std::size_t n) {
    std::string list;
    list.reserve((item.size() + 1) * n);
    for (std::size_t i = 0; i < n; ++i) list += (i == 0 ? "" : ",") + item;
    return list;
}

// Files made to cost memory or time out of all proportion to their size are
// refused at the limit they cross, naming where.
TEST(DescriptionErrorsInFiles, SizeBombsAreRefusedWhereTheyCrossALimit) {
    std::string manyMembers = "{";
    for (int i = 0; i < 400000; ++i) manyMembers += (i == 0 ? "\"C:\\\\F" : ",\"C:\\\\F") + std::to_string(i) + "\":{}";
    manyMembers += "}";
    std::string manyArrays;
    for (int i = 0; i < 10; ++i)
        manyArrays += (i == 0 ? "\"" : ",\"") + std::to_string(i) + "\":[" + repeated("0", 60000) + "]";
    struct Bomb {
        const char* what;
        std::string json;
        std::string message;  // after "test.json: "
    };
    const Bomb bombs[] = {
        {"a million brackets deep", R"({"midi_devices":)" + std::string(1000000, '[') + std::string(1000000, ']') + "}",
         "midi_devices[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0...: "
         "expected at most 64 levels of nesting"},
        {"400,000 empty objects in an array", R"({"drives":[)" + repeated("{}", 400000) + "]}",
         "drives: expected at most 65536 elements"},
        {"400,000 empty objects as members", R"({"files":)" + manyMembers + "}",
         "files: expected at most 65536 members"},
        {"ten million numbers", R"({"midi_devices":[)" + repeated("0", 10000000) + "]}",
         "midi_devices: expected at most 65536 elements"},
        {"arrays within the limit, values beyond it", R"({"display":{"parameters":{)" + manyArrays + "}}}",
         "display.parameters.4[22136]: expected at most 262144 values in the description"},
    };
    for (const Bomb& bomb : bombs) {
        SCOPED_TRACE(bomb.what);
        try {
            TestMachine machine(bomb.json);
            ADD_FAILURE() << "accepted";
        } catch (const MachineDescriptionError& error) {
            EXPECT_EQ(error.what(), "test.json: " + bomb.message);
        }
    }
}

TEST(DescriptionErrorsInFiles, InvalidJsonNamesTheFileOnOneLine) {
    std::string path = ::testing::TempDir() + "/broken_machine.json";
    std::ofstream(path) << "{\n  \"computer_name\": \"A\",\n  oops\n}\n";
    try {
        RecordingFrontend frontend;
        SimMachine machine(path, frontend);
        FAIL() << "accepted invalid JSON";
    } catch (const MachineDescriptionError& error) {
        std::string message = error.what();
        EXPECT_EQ(0u, message.rfind(path + ": expected valid JSON: ", 0)) << message;
        EXPECT_NE(std::string::npos, message.find("line 3")) << message;
        EXPECT_EQ(std::string::npos, message.find('\n')) << message;
    }
    std::remove(path.c_str());
}

TEST(DescriptionErrorsInFiles, QuotedInputIsCapped) {
    const std::string name(50000, 'x');
    try {
        TestMachine machine("{\"" + name + "\": 1}");
        FAIL() << "accepted an unknown member";
    } catch (const MachineDescriptionError& error) {
        EXPECT_EQ(error.what(), "test.json: " + std::string(77, 'x') + "...: unknown member");
    }
}

TEST(DescriptionErrorsInFiles, OnlyRegularFilesAreRead) {
    const std::string dir = ::testing::TempDir();
    const std::string fifo = dir + "/machine_fifo_" + std::to_string(::getpid());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {fifo, "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {dir, "a directory, not a file"},
    };
    for (const auto& [path, why] : cases) {
        try {
            RecordingFrontend frontend;
            SimMachine machine(path, frontend);
            ADD_FAILURE() << "accepted " << path;
        } catch (const MachineDescriptionError& error) {
            EXPECT_EQ(error.what(), path + ": cannot read the machine description: " + why);
        }
    }
    ::unlink(fifo.c_str());
}

// What a registry file in the description's folder may be: a regular file,
// in a subfolder too; never a FIFO or device (refused without waiting for
// a writer) and never a link out of the folder.
TEST(DescriptionErrorsInFiles, RegistryFileStaysInTheDescriptionsFolder) {
    const std::string top = ::testing::TempDir() + "/registry_folder_" + std::to_string(::getpid());
    const std::string dir = top + "/machine";
    ASSERT_EQ(::mkdir(top.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((dir + "/regs").c_str(), 0700), 0);
    const std::string registry = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Bench]\n\"Owner\"=\"Ann\"\n";
    std::ofstream(dir + "/regs/inside.reg") << registry;
    std::ofstream(top + "/private.reg") << registry;
    ASSERT_EQ(::mkfifo((dir + "/pipe.reg").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("../private.reg", (dir + "/out.reg").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir + "/zero.reg").c_str()), 0);
    ASSERT_EQ(::symlink("regs/inside.reg", (dir + "/near.reg").c_str()), 0);

    struct Case {
        const char* name;
        std::string refusal;  // after "registry_file: <path>: "; empty: read
    };
    const Case cases[] = {
        {"regs/inside.reg", ""},
        {"./regs/inside.reg", ""},
        {"near.reg", ""},
        {"pipe.reg", "not a regular file"},
        {"regs", "a directory, not a file"},
        {"out.reg", "leads out of its folder"},
        {"zero.reg", "leads out of its folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string json = std::string(R"({"registry_file": ")") + c.name + "\"}";
        try {
            RecordingFrontend frontend;
            SimMachine machine(SimMachine::Text{json, "test.json", dir}, frontend);
            EXPECT_TRUE(c.refusal.empty()) << "read " << c.name;
        } catch (const MachineDescriptionError& error) {
            EXPECT_EQ(error.what(), "test.json: registry_file: " + dir + "/" + c.name + ": " + c.refusal);
        }
    }
    for (const char* name : {"/regs/inside.reg", "/pipe.reg", "/out.reg", "/zero.reg", "/near.reg"})
        ::unlink((dir + name).c_str());
    ::rmdir((dir + "/regs").c_str());
    ::rmdir(dir.c_str());
    ::unlink((top + "/private.reg").c_str());
    ::rmdir(top.c_str());
}

TEST(DescriptionErrorsInFiles, MissingFileIsADescriptionError) {
    RecordingFrontend frontend;
    EXPECT_THROW(SimMachine("/nonexistent/machine.json", frontend), MachineDescriptionError);
}

TEST(DescriptionErrorsInFiles, ExampleMachineAndItsRegistryFileLoad) { EXPECT_NO_THROW(TestMachine()); }

}  // namespace
}  // namespace si32::simtest
