#include "core/profile.h"
#include "core/settings.h"
#include "core/setup.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

namespace velo::core {
namespace {

// A process killed at any moment of a save leaves the old setup or the new one, whole,
// and every other line of the file as it was.
TEST(SetupSaves, SurviveKillsAtRandomMoments) {
    test::TempDir dir;
    SettingsFile settings(settingsPathIn(dir.path().string()));
    core::Setup before;
    core::Setup after;
    after.Mod = "ctf";
    after.HostName = std::string(3000, 'h'); // a longer file, so kills land inside writes
    after.FlagBoxes.fill(true);
    after.Handedness = Hand::Right;
    const std::string others =
        "[Quake2]\r\nPath=/games/Quake 2\r\nRunSetup=No\r\n[Mod]\r\nMod0=ctf\r\n";
    const std::string initial = withSetup(withSetup(others, "Duel", after), "LAN CTF", before);
    dir.write("q2velo.ini", initial);
    const std::string rest = profileRemoveSection(initial, "Setup LAN CTF");

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> moment(0, 4000);
    int changed = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            for (bool flip = true;; flip = !flip) {
                settings.Edit([&](std::string_view text) -> std::string {
                    return withSetup(text, "LAN CTF", flip ? after : before);
                });
            }
        }
        ::usleep(static_cast<useconds_t>(moment(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ::waitpid(saver, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string text = dir.read("q2velo.ini");
        const SetupLoad load = loadSetup(text, "LAN CTF");
        ASSERT_TRUE(load.faults.empty()) << "after kill " << kill << ": " << load.faults[0].key;
        ASSERT_TRUE(load.setup == before || load.setup == after) << "after kill " << kill;
        ASSERT_EQ(profileRemoveSection(text, "Setup LAN CTF"), rest) << "after kill " << kill;
        changed += load.setup == after ? 1 : 0;
    }
    // Otherwise no kill fell after a save, and the test proved nothing.
    EXPECT_GT(changed, 0);
}

} // namespace
} // namespace velo::core
