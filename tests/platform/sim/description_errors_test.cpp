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
        BadDescription{R"({"registry_file": "/dev/zero"})", "registry_file: /dev/zero: not a regular file"},
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

TEST(DescriptionErrorsInFiles, MissingFileIsADescriptionError) {
    RecordingFrontend frontend;
    EXPECT_THROW(SimMachine("/nonexistent/machine.json", frontend), MachineDescriptionError);
}

TEST(DescriptionErrorsInFiles, ExampleMachineAndItsRegistryFileLoad) { EXPECT_NO_THROW(TestMachine()); }

}  // namespace
}  // namespace si32::simtest
