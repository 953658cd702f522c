// Regional settings, multimedia devices, printer and taskbar of the
// simulated machine.
#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "platform/run_time_error.h"
#include "tests/platform/sim/sim_test_support.h"

namespace si32::simtest {
namespace {

struct LocaleCase {
    const char* machine;
    LCTYPE type;
    size_t buffer;
    int32_t result;
    std::string stored;
};

void PrintTo(const LocaleCase& c, std::ostream* out) {
    *out << std::hex << "0x" << c.type << std::dec << "/" << c.buffer;
}

class LocaleSizes : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleSizes, CountIncludesTheNul) {
    TestMachine m(GetParam().machine);
    std::string buffer(GetParam().buffer, '#');
    EXPECT_EQ(GetParam().result, m.platform().regional.GetLocaleInfoA(GetParam().type, buffer));
    EXPECT_EQ(GetParam().stored, buffer);
}

constexpr const char* kGerman =
    R"({"regional": {"decimal": ",", "thousands": ".", "months": ["Jan","Feb","Mär","Apr","Mai","Jun","Jul","Aug","Sep","Okt","Nov","Dez"]}})";

INSTANTIATE_TEST_SUITE_P(
    Types, LocaleSizes,
    ::testing::Values(LocaleCase{"{}", LOCALE_SDECIMAL, 4, 2, std::string(".\0##", 4)},
                      LocaleCase{"{}", LOCALE_STHOUSAND, 2, 2, std::string(",\0", 2)},
                      LocaleCase{"{}", LOCALE_SABBREVMONTHNAME1 + 11, 0, 4, ""},          // empty: the size needed
                      LocaleCase{"{}", LOCALE_SABBREVMONTHNAME1 + 11, 3, 0, "###"},       // too small
                      LocaleCase{"{}", LOCALE_SABBREVMONTHNAME1 + 12, 8, 0, "########"},  // unknown type
                      LocaleCase{kGerman, LOCALE_SDECIMAL, 2, 2, std::string(",\0", 2)},
                      LocaleCase{kGerman, LOCALE_SABBREVMONTHNAME1 + 2, 5, 5, std::string("M\xC3\xA4r\0", 5)}));

TEST(Multimedia, DeviceCountsAndNamesCutTo31Characters) {
    TestMachine m(R"({"wave_devices": 2,
                      "midi_devices": ["MPU-401 Compatible", "A MIDI device name of forty characters!!"]})");
    Multimedia& mm = m.platform().multimedia;
    EXPECT_EQ(2u, mm.waveOutGetNumDevs());
    ASSERT_EQ(2u, mm.midiOutGetNumDevs());
    MidiOutCapsA caps;
    EXPECT_EQ(MMSYSERR_NOERROR, mm.midiOutGetDevCapsA(0, caps, 128));
    EXPECT_STREQ("MPU-401 Compatible", caps.szPname.data());
    EXPECT_EQ(MMSYSERR_NOERROR, mm.midiOutGetDevCapsA(1, caps, 128));
    EXPECT_EQ(std::string("A MIDI device name of forty cha"), caps.szPname.data());
    MidiOutCapsA untouched;
    untouched.szPname.fill('#');
    EXPECT_EQ(MMSYSERR_BADDEVICEID, mm.midiOutGetDevCapsA(2, untouched, 128));
    EXPECT_EQ('#', untouched.szPname[0]);
}

TEST(Multimedia, StatedRecordSizeCutsTheRecord) {
    TestMachine m(R"({"midi_devices": ["Synth"]})");
    MidiOutCapsA caps;
    caps.szPname.fill('#');
    caps.dwSupport = 0xABCD;
    // 8 bytes of header and the first 3 of the name.
    EXPECT_EQ(MMSYSERR_NOERROR, m.platform().multimedia.midiOutGetDevCapsA(0, caps, 11));
    EXPECT_EQ("Syn#", std::string(caps.szPname.data(), 4));
    EXPECT_EQ(0xABCDu, caps.dwSupport);
}

TEST(PrinterAndTaskbar, AnswerOrNameNoneOrRaise) {
    TestMachine described(R"({"printing_default": "Office Laser", "taskbar_state": 3})");
    AppBarData data;
    EXPECT_EQ("Office Laser", described.platform().printing.DefaultPrinter());
    EXPECT_EQ(3u, described.platform().shell.SHAppBarMessage(ABM_GETSTATE, data));
    TestMachine bare("{}");
    EXPECT_EQ("", bare.platform().printing.DefaultPrinter());
    EXPECT_THROW(bare.platform().shell.SHAppBarMessage(ABM_GETSTATE, data), RunTimeError);
}

}  // namespace
}  // namespace si32::simtest
