// The "Drive Info" frame on simulated drives: one table row per situation a
// user can meet, checked field by field.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "drives/drive_info.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"
#include "window/si9x.h"

namespace si32 {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

struct DriveCase {
    std::string name;
    std::string drive;         // the members of the one simulated drive C
    std::string os;            // what the "Operating System:" field reads
    std::string previousType;  // Label2(17) before the run
    Fields expected;
};

Control& field(Si9x& form, const std::string& key) {
    const auto open = key.find('(');
    if (open == std::string::npos) return form.control(key);
    return form.control(key.substr(0, open), std::stoi(key.substr(open + 1)));
}

const std::string kBlanks(255, ' ');

// A drive whose volume answers everything, for the rows about space alone.
std::string volume(const std::string& rest) {
    return R"("label": "DATA", "serial": 1234, "max_component": 255, "flags": 3, "file_system": "FAT32", )" + rest;
}

const std::vector<DriveCase> kCases = {
    {"LargeVolumeWorkedExample",
     volume(R"("type": 3, "sectors_per_cluster": 8, "bytes_per_sector": 512, "free_clusters": 1, "total_clusters": 1,
               "free_bytes_to_caller": 1024000000, "total_bytes": 80023826432, "total_free_bytes": 1024000000)"),
     "Microsoft Windows 98",
     "",
     {{"Label2(17)", "Fixed"},
      {"Label2(10)", "76,317  MB"},
      {"Label3(0)", "(74.53 GB)"},
      {"Label2(11)", "512"},
      {"Label2(12)", "8"},
      {"Label2(13)", "977  MB"},
      {"Label3(1)", "(0.95 GB)"}}},
    {"ClusterWorkedExample",
     volume(R"("type": 2, "sectors_per_cluster": 1, "bytes_per_sector": 256, "free_clusters": 5859375,
               "total_clusters": 8000000)"),
     "Microsoft Windows 98",
     "",
     {{"Label2(17)", "Removable"},
      {"Label2(10)", "2,000,000  KB"},
      {"Label3(0)", "(1,953.13 MB)"},
      {"Label2(11)", "256"},
      {"Label2(12)", "1"},
      {"Label2(13)", "1,464,844  KB"},
      {"Label3(1)", "(1,430.51 MB)"}}},
    // 64 GB overflowed a signed 32-bit byte count; it must show whole.
    {"UsbStickOfSixtyFourGigabytes",
     volume(R"("type": 2, "sectors_per_cluster": 64, "bytes_per_sector": 512, "free_clusters": 976562,
               "total_clusters": 1953125)"),
     "Microsoft Windows XP",
     "",
     {{"Label2(10)", "62,500,000  KB"},
      {"Label3(0)", "(61,035.16 MB)"},
      {"Label2(13)", "31,249,984  KB"},
      {"Label3(1)", "(30,517.56 MB)"},
      {"Label2(12)", "64"}}},
    // 3 TB is beyond 2^31 kilobytes.
    {"FixedDiskOfThreeTerabytes",
     volume(R"("type": 3, "sectors_per_cluster": 8, "bytes_per_sector": 512, "free_clusters": 1, "total_clusters": 1,
               "free_bytes_to_caller": 3000000000000, "total_bytes": 3000000000000, "total_free_bytes": 1)"),
     "Microsoft Windows XP",
     "",
     {{"Label2(10)", "2,861,023  MB"},
      {"Label3(0)", "(2,793.97 GB)"},
      {"Label2(13)", "2,861,023  MB"},
      {"Label3(1)", "(2,793.97 GB)"}}},
    {"FixedDiskUnderWindows95UsesClusters",
     volume(R"("type": 3, "sectors_per_cluster": 8, "bytes_per_sector": 512, "free_clusters": 50000,
               "total_clusters": 100000, "free_bytes_to_caller": 1, "total_bytes": 1, "total_free_bytes": 1)"),
     "Microsoft Windows 95",
     "",
     {{"Label2(17)", "Fixed"},
      {"Label2(10)", "400,000  KB"},
      {"Label3(0)", "(390.63 MB)"},
      {"Label2(13)", "200,000  KB"},
      {"Label3(1)", "(195.31 MB)"}}},
    {"NetworkDriveUsesClusters",
     volume(R"("type": 4, "sectors_per_cluster": 8, "bytes_per_sector": 512, "free_clusters": 50000,
               "total_clusters": 100000, "free_bytes_to_caller": 1, "total_bytes": 1, "total_free_bytes": 1)"),
     "Microsoft Windows XP",
     "",
     {{"Label2(17)", "Remote (Network)"}, {"Label2(10)", "400,000  KB"}, {"Label3(1)", "(195.31 MB)"}}},
    {"CdWithoutMedium",
     R"("type": 5, "volume_fails": true, "space_fails": true)",
     "Microsoft Windows XP",
     "Fixed",
     {{"Label2(17)", "CD"},
      {"Label2(10)", "Not available"},
      {"Label3(0)", ""},
      {"Label2(11)", ""},
      {"Label2(12)", ""},
      {"Label2(13)", ""},
      {"Label3(1)", ""}}},
    {"TypeZeroAfterFixedKeepsFixedAndLargeVolume",
     volume(R"("type": 0, "sectors_per_cluster": 8, "bytes_per_sector": 512, "free_clusters": 1, "total_clusters": 1,
               "free_bytes_to_caller": 1048576, "total_bytes": 2097152, "total_free_bytes": 1)"),
     "Microsoft Windows XP",
     "Fixed",
     {{"Label2(17)", "Fixed"}, {"Label2(10)", "2  MB"}, {"Label3(0)", "(. GB)"}, {"Label2(13)", "1  MB"}}},
    {"TypeZeroAfterRemovableKeepsRemovableAndClusters",
     volume(R"("type": 0, "sectors_per_cluster": 1, "bytes_per_sector": 512, "free_clusters": 2, "total_clusters": 4)"),
     "Microsoft Windows XP",
     "Removable",
     {{"Label2(17)", "Removable"}, {"Label2(10)", "2  KB"}}},
    {"UnknownTypeKeepsCaption",
     volume(R"("type": 7, "space_fails": true)"),
     "Microsoft Windows XP",
     "CD",
     {{"Label2(17)", "CD"}, {"Label2(10)", "Not available"}}},
    {"RootPathInvalid",
     volume(R"("type": 1, "space_fails": true)"),
     "Microsoft Windows XP",
     "Fixed",
     {{"Label2(17)", "Not Available"}, {"Label2(10)", "Not available"}}},
    {"RamdiskUsesClusters",
     volume(
         R"("type": 6, "sectors_per_cluster": 1, "bytes_per_sector": 1024, "free_clusters": 0, "total_clusters": 1)"),
     "Microsoft Windows XP",
     "",
     {{"Label2(17)", "Ramdisk"}, {"Label2(10)", "1  KB"}, {"Label2(13)", "0  KB"}, {"Label3(1)", "(0. MB)"}}},
    {"FailedLargeVolumeQueryShowsZeroRenderings",
     volume(R"("type": 3, "space_fails": true)"),
     "Microsoft Windows XP",
     "",
     {{"Label2(10)", "  MB"},
      {"Label3(0)", "(. GB)"},
      {"Label2(11)", ""},
      {"Label2(12)", ""},
      {"Label2(13)", "0  MB"},
      {"Label3(1)", "(0. GB)"}}},
    {"ZeroSectorsPerClusterShowEmpty",
     volume(R"("type": 3, "sectors_per_cluster": 0, "bytes_per_sector": 512, "free_clusters": 1, "total_clusters": 1,
               "free_bytes_to_caller": 0, "total_bytes": 0, "total_free_bytes": 0)"),
     "Microsoft Windows XP",
     "",
     {{"Label2(11)", "512"}, {"Label2(12)", ""}}},
    {"VolumeFields",
     R"("type": 3, "label": "SYSTEM", "serial": 123456, "max_component": 255, "flags": 3, "file_system": "NTFS")",
     "Microsoft Windows XP",
     "",
     {{"lblVolName", "SYSTEM"},
      {"lblSerial", "123456"},
      {"lblMaxFilenameLen", "255"},
      {"lblVolFlags", "FS_CASE_IS_PRESERVED\r\nFS_CASE_SENSITIVE"},
      {"lblFN", "NTFS"}}},
    {"UnlabelledVolume",
     R"("type": 3, "label": "", "file_system": "FAT")",
     "Microsoft Windows XP",
     "",
     {{"lblVolName", "{volume has no label}"}, {"lblFN", "FAT"}, {"lblSerial", "0"}, {"lblVolFlags", ""}}},
    {"SerialWithTopBitReadsNegative",
     R"("type": 3, "serial": 3000000000, "file_system": "FAT")",
     "Microsoft Windows XP",
     "",
     {{"lblSerial", "-1294967296"}}},
    {"EveryFlagInTableOrder",
     R"("type": 3, "flags": 32831, "file_system": "NTFS")",
     "Microsoft Windows XP",
     "",
     {{"lblVolFlags",
       "FS_CASE_IS_PRESERVED\r\nFS_CASE_SENSITIVE\r\nFS_UNICODE_STORED_ON_DISK\r\nFS_PERSISTENT_ACLS\r\n"
       "FS_VOL_IS_COMPRESSED\r\nFS_FILE_COMPRESSION"}}},
    {"FailedVolumeQueryShowsBlanks",
     R"("type": 3, "volume_fails": true, "space_fails": true)",
     "Microsoft Windows XP",
     "",
     {{"lblVolName", kBlanks},
      {"lblFN", kBlanks},
      {"lblSerial", "0"},
      {"lblMaxFilenameLen", "0"},
      {"lblVolFlags", ""}}},
};

void PrintTo(const DriveCase& c, std::ostream* out) { *out << c.name; }

class DriveInfo : public ::testing::TestWithParam<DriveCase> {};

TEST_P(DriveInfo, FillsTheFrame) {
    const DriveCase& c = GetParam();
    const std::string json = R"({"drives": [{"letter": "C", )" + c.drive + "}]}";
    testsupport::RecordingFrontend frontend;
    SimMachine machine(SimMachine::Text{json}, frontend);
    Si9x form;
    form.ShowDrive1({'C', "DATA"});
    // Whatever an earlier drive left must not survive the run, except the
    // type caption, which a type without a text keeps.
    for (const auto& [key, text] : c.expected) field(form, key).text = "stale";
    form.Label2(0).text = c.os;
    form.Label2(17).text = c.previousType;
    form.control("lblVolFlags").text = "FS_CASE_SENSITIVE";

    Drive1_Change(machine.platform(), form);

    for (const auto& [key, text] : c.expected) EXPECT_EQ(field(form, key).text, text) << key;
}

INSTANTIATE_TEST_SUITE_P(Drives, DriveInfo, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

// Calls that raise are skipped one by one; the run still ends with a frame.
TEST(DriveInfoFailures, CallsThatRaiseLeaveTheirFieldsAlone) {
    const std::string json = R"({"drives": [{"letter": "C", "type": 3, "label": "X", "file_system": "FAT"}],
        "failing_calls": ["GetVolumeInformationA", "GetDriveTypeA", "GetDiskFreeSpaceA", "GetDiskFreeSpaceExA"]})";
    testsupport::RecordingFrontend frontend;
    SimMachine machine(SimMachine::Text{json}, frontend);
    Si9x form;
    form.ShowDrive1({'C', "X"});
    form.Label2(17).text = "Removable";

    Drive1_Change(machine.platform(), form);

    EXPECT_EQ(form.control("lblVolName").text, kBlanks);
    EXPECT_EQ(form.Label2(17).text, "Removable");
    EXPECT_EQ(form.Label2(10).text, "Not available");
}

}  // namespace
}  // namespace si32
