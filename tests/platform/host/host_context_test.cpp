// Which directory the host takes for the Windows side: the user's own only
// when it holds one, whatever else an installation has put beside it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/host/host_backend.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

TEST(HostPrefix, TheUsersDirectoryCountsOnlyWithAWindowsSide) {
    struct Case {
        const char* what;
        std::vector<std::string> dirs;
        std::vector<std::string> files;
        bool theUsers;
    };
    const Case cases[] = {
        {"nothing there", {}, {}, false},
        {"an empty directory", {""}, {}, false},
        {"an installation's data only", {"prefix/drive_c/WINDOWS", "machines"}, {"machines/win98.json"}, false},
        {"registry.reg that is a directory", {"registry.reg"}, {}, false},
        {"a C: drive", {"drive_c"}, {}, true},
        {"drive links only", {"dosdevices"}, {}, true},
        {"a registry only", {}, {"registry.reg"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hosttest::ScratchDir home;
        const std::string user = home.path() + "/share/si32";
        for (const std::string& dir : c.dirs) home.mkdir("share/si32/" + dir);
        for (const std::string& file : c.files) home.write("share/si32/" + file, "REGEDIT4\n");
        for (const char* variable : {"SI32_PREFIX", "XDG_DATA_HOME"}) {
            SCOPED_TRACE(variable);
            const std::string value = std::string(variable) == "SI32_PREFIX" ? user : home.path() + "/share";
            hosttest::ScopedEnv chosen(variable, value);
            hosttest::ScopedEnv other(std::string(variable) == "SI32_PREFIX" ? "XDG_DATA_HOME" : "SI32_PREFIX",
                                      std::nullopt);
            const HostContext context = makeHostContext();
            EXPECT_EQ(context.prefix == user, c.theUsers) << context.prefix;
            EXPECT_EQ(context.environment.Get(variable), value) << "what the services are given";
            if (!c.theUsers) {
                EXPECT_FALSE(context.prefixWritable) << "the installation's prefix is never written";
            }
        }
    }
}

}  // namespace
}  // namespace si32
