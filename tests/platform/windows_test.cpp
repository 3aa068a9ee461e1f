#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/engines.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

// The program's folder, and the settings file in it, are run for real by the start tests
// in a folder and at a drive root. At any root the settings file is the one file in it.
TEST(SettingsPathIn, OneSeparatorAfterARoot) {
    for (const std::string root : {"C:\\", "\\\\server\\share\\"}) {
        EXPECT_EQ(velo::core::settingsPathIn(root), root + "q2velo.ini");
    }
}

// Two writers at once, each with its own hold on the lock file as two launchers have: each
// waits its turn, nothing fails, and every key of both is in the file.
TEST(SettingsWriters, TwoAtOnceLoseNoKey) {
    velo::test::TempDir dir;
    const std::string path = velo::core::settingsPathIn(dir.path().string());
    std::atomic<int> failed{0};
    const auto writer = [&](char prefix) {
        velo::core::SettingsFile settings(path);
        for (int n = 0; n < 200; ++n) {
            failed += settings.WriteINI("Mod", prefix + std::to_string(n), "x").has_value();
        }
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    EXPECT_EQ(failed, 0);
    const velo::core::SettingsFile settings(path);
    int missing = 0;
    for (const char prefix : {'a', 'b'}) {
        for (int n = 0; n < 200; ++n) {
            missing += settings.ReadINI("Mod", prefix + std::to_string(n)).value != "x";
        }
    }
    EXPECT_EQ(missing, 0);
}

// Yamagi's build brings a quake2.exe that starts its yquake2.exe: the engine comes first and
// the starter is Yamagi's too; "Other…" refuses a file that is no Windows program.
TEST(FindEngines, YamagisOwnQuake2ExeIsYamagisAndItsEngineComesFirst) {
    velo::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "yamagi");
    std::filesystem::create_directory(dir.path() / "id");
    for (const char* program : {"yamagi/quake2.exe", "yamagi/yquake2.exe", "id/Quake2.exe"}) {
        dir.write(program, "MZ\x90");
    }
    dir.write("hostname.txt", "quake-box\r\n");
    using velo::platform::Family;
    const std::vector<velo::platform::Engine> yamagi =
        velo::platform::findEngines({dir.file("yamagi"), "", ""});
    ASSERT_EQ(yamagi.size(), 2u);
    EXPECT_EQ(yamagi[0].program, dir.file("yamagi\\yquake2.exe"));
    EXPECT_EQ(yamagi[1].family, Family::Yamagi);
    const std::vector<velo::platform::Engine> id =
        velo::platform::findEngines({dir.file("id"), "", ""});
    ASSERT_EQ(id.size(), 1u);
    EXPECT_EQ(id[0].family, Family::Original);
    EXPECT_EQ(velo::platform::engineAt(dir.file("yamagi\\quake2.exe"), "").engine->family,
              Family::Yamagi);
    EXPECT_EQ(velo::platform::engineAt(dir.file("hostname.txt"), "").error->reason,
              "not a program");
}
