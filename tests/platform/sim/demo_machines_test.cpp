// The demo machines by name: which value names a file and which a demo
// machine, and the list --list-machines prints.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/platform.h"
#include "platform/sim/demo_machines.h"
#include "tests/support/source_dir.h"

namespace si32 {
namespace {

namespace fs = std::filesystem;

class DemoFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/si32-demo-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directory(root / "machines");
        old = fs::current_path();
        fs::current_path(root);
    }
    void TearDown() override {
        fs::current_path(old);
        fs::remove_all(root);
    }
    void write(const fs::path& relative, const std::string& text) const { std::ofstream(root / relative) << text; }
    std::string folder() const { return (root / "machines").string(); }

    fs::path root, old;
};

TEST_F(DemoFolder, ABareNameIsADemoMachineAndAnythingElseAPath) {
    write("machines/win98se.json", "{}");
    write("mine", "{}");
    const struct {
        const char* value;
        std::string file;
    } cases[] = {
        {"win98se", folder() + "/win98se.json"},
        {"machines/win98se.json", "machines/win98se.json"},
        {"win98se.json", "win98se.json"},  // a path here, although missing: the loader says so
        {"./win98se", "./win98se"},
        {"mine", "mine"},  // a file of that name here wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(sim::ResolveMachine(c.value, folder()), c.file);
    }
    try {
        sim::ResolveMachine("win99", folder());
        ADD_FAILURE() << "a name no demo machine has";
    } catch (const MachineDescriptionError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("win99"), std::string::npos) << message;
        EXPECT_NE(message.find("--list-machines"), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}

TEST_F(DemoFolder, TheListHasEveryDescriptionOnOneLineAndSaysWhichCannotBeUsed) {
    write("machines/b.json", "{\"description\": \"two\\nlines\"}");
    write("machines/a.json", "{\"version\": {}}");
    write("machines/c.json", "[not json");
    write("machines/a.reg", "REGEDIT4\n");
    fs::create_directory(root / "machines" / "d.json");
    const auto machines = sim::ListDemoMachines(folder());
    ASSERT_EQ(machines.size(), 3u);
    EXPECT_EQ(machines[0].name, "a");
    EXPECT_EQ(machines[0].description, "");
    EXPECT_EQ(machines[1].name, "b");
    EXPECT_EQ(machines[1].description, "two lines");
    EXPECT_EQ(machines[2].name, "c");
    EXPECT_EQ(machines[2].description, "(not a machine description)");
    EXPECT_TRUE(sim::ListDemoMachines(folder() + "/missing").empty());
}

TEST(DemoMachines, EveryMachineOfTheTreeIsListedWithADescription) {
    const std::string folder = testsupport::sourceDir() + "/machines";
    std::set<std::string> expected;
    for (const auto& file : fs::directory_iterator(folder))
        if (file.path().extension() == ".json") expected.insert(file.path().stem().string());
    std::set<std::string> listed;
    for (const DemoMachine& machine : sim::ListDemoMachines(folder)) {
        listed.insert(machine.name);
        EXPECT_FALSE(machine.description.empty()) << machine.name;
        EXPECT_LE(machine.description.size(), 80u) << machine.name;
    }
    EXPECT_EQ(listed, expected);
    EXPECT_FALSE(listed.empty());
}

}  // namespace
}  // namespace si32
