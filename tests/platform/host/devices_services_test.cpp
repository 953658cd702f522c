// The host's device services over fakes of their libraries: MIDI and wave
// devices from ALSA, the default printer from CUPS, the taskbar state from
// the desktop's panels.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <future>

#include "platform/host/common/host_ui_x11.h"
#include "platform/host/devices/host_alsa.h"
#include "platform/host/devices/host_cups.h"
#include "platform/host/devices/host_taskbar.h"
#include "platform/host/host_backend.h"
#include "platform/run_time_error.h"
#include "platform/text_helpers.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

constexpr unsigned kOut = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr unsigned kIn = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;

class FakeAlsa final : public AlsaDevices {
public:
    FakeAlsa(uint32_t pcms, std::vector<AlsaSequencerPort> ports) : pcms_(pcms), ports_(std::move(ports)) {}
    uint32_t PlaybackPcmCount() override { return pcms_; }
    std::vector<AlsaSequencerPort> SequencerPorts() override { return ports_; }

private:
    uint32_t pcms_;
    std::vector<AlsaSequencerPort> ports_;
};

AlsaSequencerPort port(int client, int number, std::string name, unsigned capability, unsigned type = 0) {
    return {client, number, "client " + std::to_string(client), std::move(name), capability, type};
}

// As the sequencer lists them on a machine with a software synthesizer, a
// USB keyboard and a private port, deliberately out of order.
std::vector<AlsaSequencerPort> machinePorts() {
    return {
        port(128, 0, "Synth input port (1234:0)", kOut,
             SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_SYNTHESIZER | SND_SEQ_PORT_TYPE_SOFTWARE),
        port(0, 0, "Timer", kOut | kIn),
        port(0, 1, "Announce", kIn),
        port(24, 0, "USB Keyboard MIDI 1", kIn | kOut, SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE),
        port(24, 1, "USB Keyboard capture", kIn),
        port(24, 2, "Write without subscription", SND_SEQ_PORT_CAP_WRITE),
        port(30, 0, "Private", kOut | SND_SEQ_PORT_CAP_NO_EXPORT),
        port(14, 0, "Midi Through Port-0", kOut | kIn, SND_SEQ_PORT_TYPE_MIDI_GENERIC),
    };
}

TEST(HostAlsa, MidiDevicesArePortsThatAcceptOutputInClientOrder) {
    HostMultimedia multimedia(std::make_unique<FakeAlsa>(3, machinePorts()));
    EXPECT_EQ(multimedia.waveOutGetNumDevs(), 3u);
    ASSERT_EQ(multimedia.midiOutGetNumDevs(), 3u);
    const std::pair<const char*, uint16_t> expected[] = {
        {"Midi Through Port-0", 1}, {"USB Keyboard MIDI 1", 1}, {"Synth input port (1234:0)", 7}};
    for (uint32_t id = 0; id < 3; ++id) {
        MidiOutCapsA caps;
        ASSERT_EQ(multimedia.midiOutGetDevCapsA(id, caps, sizeof caps), MMSYSERR_NOERROR);
        EXPECT_STREQ(caps.szPname.data(), expected[id].first);
        EXPECT_EQ(caps.wTechnology, expected[id].second) << expected[id].first;
        EXPECT_EQ(caps.wChannelMask, 0xFFFF);
    }
    MidiOutCapsA caps;
    EXPECT_EQ(multimedia.midiOutGetDevCapsA(3, caps, sizeof caps), MMSYSERR_BADDEVICEID);
}

TEST(HostAlsa, AMachineWithoutSoundHasNoDevices) {
    HostMultimedia multimedia(std::make_unique<FakeAlsa>(0, std::vector<AlsaSequencerPort>{}));
    EXPECT_EQ(multimedia.waveOutGetNumDevs(), 0u);
    EXPECT_EQ(multimedia.midiOutGetNumDevs(), 0u);
    MidiOutCapsA caps;
    EXPECT_EQ(multimedia.midiOutGetDevCapsA(0, caps, sizeof caps), MMSYSERR_BADDEVICEID);
}

TEST(HostAlsa, TheRecordIsFilledNoFurtherThanTheCallerSays) {
    HostMultimedia multimedia(std::make_unique<FakeAlsa>(0, std::vector{port(14, 0, "Midi Through", kOut)}));
    MidiOutCapsA caps;
    caps.szPname.fill('#');
    caps.wChannelMask = 0x1234;
    ASSERT_EQ(multimedia.midiOutGetDevCapsA(0, caps, 12), MMSYSERR_NOERROR);
    EXPECT_EQ(std::string(caps.szPname.data(), 4), "Midi");
    EXPECT_EQ(caps.szPname[4], '#') << "byte 12 and beyond belong to the caller";
    EXPECT_EQ(caps.wChannelMask, 0x1234);
}

TEST(HostAlsa, LongNamesAreCutTo31BytesOnACharacterBoundary) {
    struct Case {
        std::string name;
        std::string shown;
    };
    const std::string umlauts = "\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC";  // 16 bytes
    const Case cases[] = {
        {std::string(40, 'x'), std::string(31, 'x')},
        {umlauts + umlauts, umlauts + umlauts.substr(0, 14)},  // 30 bytes: 31 would split a character
        {"a" + umlauts + umlauts, "a" + umlauts + umlauts.substr(0, 14)},
        {std::string(28, 'k') + "\xF0\x9F\x8E\xB9", std::string(28, 'k')},  // a 4-byte character at 28
        {std::string(27, 'k') + "\xF0\x9F\x8E\xB9", std::string(27, 'k') + "\xF0\x9F\x8E\xB9"},
    };
    for (const Case& c : cases) {
        const MidiOutCapsA caps = midiOutCaps(port(20, 0, c.name, kOut));
        EXPECT_EQ(std::string(caps.szPname.data()), c.shown);
        EXPECT_EQ(caps.szPname[31], '\0');
    }
    // A port without a name of its own is shown by its client's name.
    EXPECT_STREQ(midiOutCaps(port(20, 0, "", kOut)).szPname.data(), "client 20");
}

class FakeCups final : public CupsDestinations {
public:
    explicit FakeCups(std::function<std::string()> answer) : answer_(std::move(answer)) {}
    std::string DefaultDestination() override { return answer_(); }

private:
    std::function<std::string()> answer_;
};

TEST(HostCups, DefaultPrinterIsTheDefaultDestination) {
    for (const char* name : {"Office_Laser", "Office_Laser/duplex", ""}) {
        HostPrinting printing(std::make_shared<FakeCups>([name] { return std::string(name); }),
                              std::chrono::milliseconds(5000));
        EXPECT_EQ(printing.DefaultPrinter(), name);
    }
    HostPrinting failing(std::make_shared<FakeCups>([]() -> std::string { throw std::runtime_error("cups"); }),
                         std::chrono::milliseconds(5000));
    EXPECT_EQ(failing.DefaultPrinter(), "");
}

TEST(HostCups, AServerThatNeverAnswersMeansNoPrinter) {
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    auto calls = std::make_shared<std::atomic<int>>(0);
    HostPrinting printing(std::make_shared<FakeCups>([released, calls] {
                              ++*calls;
                              released.wait();
                              return std::string("Late");
                          }),
                          std::chrono::milliseconds(50));
    EXPECT_EQ(printing.DefaultPrinter(), "");
    // Still stuck: the next question is not even put to the server.
    EXPECT_EQ(printing.DefaultPrinter(), "");
    EXPECT_EQ(calls->load(), 1);
    release->set_value();
}

class FakePanels final : public DesktopPanels {
public:
    explicit FakePanels(std::optional<std::vector<DockWindow>> docks) : docks_(std::move(docks)) {}
    std::optional<std::vector<DockWindow>> Docks() override { return docks_; }

private:
    std::optional<std::vector<DockWindow>> docks_;
};

// The services open their libraries at run time; a misspelt or missing
// function would leave a machine silently without sound, printer or screen.
TEST(HostLibraries, EachLoadsWithEveryFunctionItsServiceCalls) {
    const std::pair<const char*, bool (*)()> libraries[] = {
        {"libasound", alsaLibraryLoads}, {"libcups", cupsLibraryLoads}, {"libX11", x11::libraryLoads}};
    for (const auto& [name, loads] : libraries) EXPECT_TRUE(loads()) << name;
}

TEST(HostCups, ANamedServerThatIsNotThereMeansNoPrinter) {
    // libcups reads the variable itself; the backend reads it from the context.
    hosttest::ScopedEnv server("CUPS_SERVER", "/nonexistent/si32-cups.sock");
    HostPrinting printing(makeCupsLibrary(kCupsConnectLimit, processEnvironment()), kCupsQueryLimit);
    EXPECT_EQ(printing.DefaultPrinter(), "");
}

TEST(HostTaskbar, PanelStateFromTheDocks) {
    struct Case {
        const char* name;
        std::vector<DockWindow> docks;
        uint32_t state;
    };
    const Case cases[] = {
        {"a panel that reserves space", {{true, false}}, ABS_ALWAYSONTOP},
        {"an auto-hiding panel", {{false, false}}, ABS_AUTOHIDE | ABS_ALWAYSONTOP},
        {"an auto-hiding panel kept below", {{false, true}}, ABS_AUTOHIDE},
        {"a panel kept below", {{true, true}}, 0},
        {"a fixed panel and a hiding dock", {{true, true}, {false, false}}, ABS_ALWAYSONTOP},
    };
    for (const Case& c : cases) {
        HostShell shell(std::make_unique<FakePanels>(c.docks));
        AppBarData data;
        EXPECT_EQ(shell.SHAppBarMessage(ABM_GETSTATE, data), c.state) << c.name;
    }
}

TEST(HostTaskbar, ADesktopThatTellsNothingFailsTheCall) {
    for (auto docks : {std::optional<std::vector<DockWindow>>{}, std::optional(std::vector<DockWindow>{})}) {
        HostShell shell(std::make_unique<FakePanels>(docks));
        AppBarData data;
        EXPECT_THROW(shell.SHAppBarMessage(ABM_GETSTATE, data), RunTimeError);
    }
}

TEST(HostX11, XftDpiFromTheDesktopsResources) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"Xft.dpi:\t96\n", 96},
        {"Xft.antialias:\t1\nXft.dpi:  120.5\nXft.hinting:\t1\n", 120.5},
        {"Xft.dpi:\tabc\n", std::nullopt},
        {"Xft.dpi:\t0\n", std::nullopt},
        {"Xcursor.size:\t24\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [resources, dpi] : cases) EXPECT_EQ(x11::xftDpi(resources), dpi) << resources;
}

}  // namespace
}  // namespace si32
