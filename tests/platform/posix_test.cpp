#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/file.h"
#include "platform/game_search.h"
#include "platform/game_watch.h"
#include "platform/process.h"
#include "platform/shell.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace velo::platform;
using velo::test::entries;
using velo::test::TempDir;
namespace fs = std::filesystem;

namespace {
// Writes "new" to path, as nobody when asked and root (in a child that gives up root, so
// that the permission bits count). 0: written; 1: refused, naming path; 2: anything else.
int writeAs(bool nobody, const std::string& path) {
    const passwd* user = ::getpwnam("nobody");
    const pid_t child = ::fork();
    if (child == 0) {
        if (nobody && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) || ::setgid(user->pw_gid) || ::setuid(user->pw_uid))) {
            ::_exit(2);
        }
        const MaybeError error = writeTextFileAtomic(path, "new");
        ::_exit(!error ? 0 : error->subject == path && !error->reason.empty() ? 1 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

void put(const fs::path& file, const std::string& text = {}) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

struct GuardRow {
    const char* name;
    bool nobodysFile;
    mode_t fileMode;
    mode_t folderMode;
    bool byNobody;
    bool written;
};

class Protections : public testing::TestWithParam<GuardRow> {};

TEST_P(Protections, AWriteHonoursTheFilesOwnerAndMode) {
    const GuardRow& row = GetParam();
    const bool root = ::geteuid() == 0;
    if (!root && row.nobodysFile != row.byNobody) {
        GTEST_SKIP() << "needs a second user";
    }
    TempDir dir;
    const fs::path folder = dir.path() / "shared";
    const std::string file = (folder / "q2velo.ini").string();
    fs::create_directory(folder);
    dir.write("shared/q2velo.ini", "old");
    const uid_t owner = row.nobodysFile && root ? ::getpwnam("nobody")->pw_uid : ::geteuid();
    ASSERT_EQ(::chown(file.c_str(), owner, static_cast<gid_t>(-1)), 0);
    ::chmod(file.c_str(), row.fileMode);
    ::chmod(folder.c_str(), row.folderMode);
    EXPECT_EQ(writeAs(row.byNobody, file), row.written ? 0 : 1);
    ::chmod(folder.c_str(), 0700);
    EXPECT_EQ(dir.read("shared/q2velo.ini"), row.written ? "new" : "old");
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(info.st_uid, owner);
    EXPECT_EQ(info.st_mode & 07777, row.fileMode);
    EXPECT_EQ(entries(folder), std::vector<std::string>{"q2velo.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, Protections,
    testing::Values(GuardRow{"ReadOnlyFile", true, 0444, 0777, true, false},
                    GuardRow{"SomeoneElsesFileInAWritableFolder", false, 0644, 0777, true, false},
                    GuardRow{"ReadOnlyFolder", true, 0644, 0555, true, false},
                    GuardRow{"OwnerAndModeKept", true, 0640, 0755, false, true}),
    [](const testing::TestParamInfo<GuardRow>& row) { return std::string(row.param.name); });
} // namespace

// A writer killed at random moments never leaves half a file, and the next write
// clears the one temporary file a kill may leave (the lock file stays, for the next).
TEST(AtomicWrite, SurvivesKillsAndClearsWhatTheyLeave) {
    TempDir dir;
    velo::core::SettingsFile settings(dir.file("q2velo.ini"));
    const std::string a(3000, 'a');
    const std::string b(5000, 'b');
    ASSERT_FALSE(settings.WriteINI("Quake2", "Path", a));
    std::mt19937 random(std::random_device{}());
    int leftBehind = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = ::fork();
        for (bool flip = false; child == 0; flip = !flip) {
            static_cast<void>(settings.WriteINI("Quake2", "Path", flip ? a : b));
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = dir.read("q2velo.ini");
        ASSERT_TRUE(now == "[Quake2]\r\nPath=" + a + "\r\n" ||
                    now == "[Quake2]\r\nPath=" + b + "\r\n")
            << "after kill " << kill;
        leftBehind += entries(dir.path()).size() > 2;
        ASSERT_FALSE(settings.WriteINI("Quake2", "Path", a));
        ASSERT_EQ(entries(dir.path()),
                  (std::vector<std::string>{".q2velo.ini.lock", "q2velo.ini"}));
    }
    EXPECT_GT(leftBehind, 0) << "no kill fell inside a write";
}

// Two launchers writing at the same moment: each waits its turn, nothing fails, and
// every key of both is in the file.
TEST(SettingsWriters, TwoProcessesAtOnceLoseNoKey) {
    TempDir dir;
    const std::string path = dir.file("q2velo.ini");
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> children;
    for (const char prefix : {'a', 'b'}) {
        children.push_back(::fork());
        if (children.back() == 0) {
            ::close(go[1]);
            char byte = 0;
            [[maybe_unused]] const ssize_t started = ::read(go[0], &byte, 1);
            velo::core::SettingsFile settings(path);
            int failed = 0;
            for (int n = 0; n < 200; ++n) {
                failed += settings.WriteINI("Mod", prefix + std::to_string(n), "x").has_value();
            }
            ::_exit(std::min(failed, 100));
        }
    }
    ::close(go[0]);
    ::close(go[1]); // both start now
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writes failed";
    }
    velo::core::SettingsFile settings(path);
    int missing = 0;
    for (const char prefix : {'a', 'b'}) {
        for (int n = 0; n < 200; ++n) {
            missing += settings.ReadINI("Mod", prefix + std::to_string(n)).value != "x";
        }
    }
    EXPECT_EQ(missing, 0);
}

// A writer killed with -9 while it holds the lock leaves the file as it was and the next
// write free to go; one whose holder lives on waits, then fails naming the file and
// changing nothing.
TEST(SettingsWriters, AKilledHolderBlocksNobodyALiveOneFailsTheWaiterWhole) {
    TempDir dir;
    const std::string path = dir.file("q2velo.ini");
    velo::core::SettingsFile settings(path);
    ASSERT_FALSE(settings.WriteINI("Quake2", "Path", "/games/quake2"));
    int held[2];
    ASSERT_EQ(::pipe(held), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        static_cast<void>(settings.Edit([&](std::string_view) -> std::string {
            [[maybe_unused]] const ssize_t told = ::write(held[1], "h", 1);
            for (;;) {
                ::pause();
            }
        }));
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(held[0], &byte, 1), 1);
    const MaybeError busy = settings.WriteINI("Quake2", "RunSetup", "No");
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->subject, path);
    EXPECT_NE(busy->reason.find("locked"), std::string::npos) << busy->reason;
    EXPECT_EQ(dir.read("q2velo.ini"), "[Quake2]\r\nPath=/games/quake2\r\n");

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_FALSE(settings.WriteINI("Quake2", "RunSetup", "No"));
    EXPECT_EQ(dir.read("q2velo.ini"), "[Quake2]\r\nPath=/games/quake2\r\nRunSetup=No\r\n");
}

TEST(FindGameFolders, SteamLibrariesThenTheSystemsPackageEachOnceNeverARerelease) {
    TempDir home, root, disk, bare;
    const fs::path steam = home.path() / ".local/share/Steam";
    const fs::path library = disk.path() / "Steam Library";
    // The root's own library holds only the re-release; the second one the classic game, in
    // the spelling of the store's files.
    put(steam / "steamapps/common/Quake 2/rerelease/baseq2/pak0.pak");
    put(library / "steamapps/common/Quake 2/quake2.exe");
    put(library / "steamapps/common/Quake 2/BaseQ2/PAK0.PAK");
    put(steam / "steamapps/libraryfolders.vdf",
        "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam.string() +
            "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"2320\"\t\t\"0\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n"
            "\t\t\"path\"\t\t\"" +
            library.string() + "\"\n\t}\n}\n");
    // The usual link from ~/.steam/steam to the same root finds nothing new.
    fs::create_directories(home.path() / ".steam");
    fs::create_directory_symlink(steam, home.path() / ".steam/steam");
    put(home.path() / "Games/rerelease/baseq2/pak0.pak");
    put(root.path() / "usr/share/games/quake2/baseq2/pak0.pak");
    EXPECT_EQ(findGameFolders({home.path().string(), root.path().string()}),
              (std::vector<std::string>{(library / "steamapps/common/Quake 2").string(),
                                        (root.path() / "usr/share/games/quake2").string()}));
    EXPECT_TRUE(findGameFolders({bare.path().string(), bare.path().string()}).empty());
    // The older form, with a Windows path as the numbered entry's value.
    EXPECT_EQ(libraryFolders("\"LibraryFolders\" { \"ContentStatsID\" \"7\" "
                             "\"1\" \"D:\\\\Steam Library\" } // end"),
              std::vector<std::string>{"D:\\Steam Library"});
}

namespace {
// How a started game ended, as the launcher's watch sees it, waiting up to ten seconds.
std::optional<GameEnd> endOf(GameProcess& watch, const std::string& script,
                             const std::string& folder) {
    if (startGame({"/bin/sh", {"-c", script}, folder, {}}, &watch)) {
        return std::nullopt;
    }
    std::optional<GameEnd> end;
    for (int i = 0; i < 1000 && !(end = watch.ended()); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return end;
}

std::string waitFor(const char* marker) {
    return std::string("for i in $(seq 500); do [ -e ") + marker +
           " ] && break; sleep 0.01; done; ";
}
} // namespace

// A game that fails is seen failing, with the line that says why, whatever the launcher
// inherited and whatever an earlier game still writes.
TEST(GameWatch, ShowsAFailuresFirstErrorLineAndOnlyItsOwnOutput) {
    TempDir dir;
    const std::string log = dir.file("state/game.log");
    const std::string folder = dir.path().string();

    // Ignored by the parent, SIGCHLD would let the system reap the game unseen.
    struct sigaction before {};
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGCHLD, &ignore, &before);
    restoreChildSignal();
    GameProcess watch(log);
    std::optional<GameEnd> end = endOf(watch, "exit 3", folder);
    ::sigaction(SIGCHLD, &before, nullptr);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->status, "exit status 3");

    const std::string shutdown = "for i in $(seq 12); do echo shutdown $i; done";
    const struct {
        const char* name;
        std::string script;
        const char* errorLine;
    } rows[] = {
        {"far above the last lines",
         "echo Loading; echo \"Couldn't load pics/colormap.pcx\" >&2; echo ERROR: late; " +
             shutdown + "; exit 1",
         "Couldn't load pics/colormap.pcx"},
        {"any case", "echo ok; echo 'R_Init: FATAL no renderer'; kill $$",
         "R_Init: FATAL no renderer"},
        {"none", "echo Loading; exit 2", ""},
    };
    for (const auto& row : rows) {
        end = endOf(watch, row.script, folder);
        ASSERT_TRUE(end) << row.name;
        EXPECT_TRUE(end->failed) << row.name;
        EXPECT_EQ(end->errorLine, row.errorLine) << row.name;
    }
    EXPECT_EQ(end->lastLines, "Loading");

    // A game from an earlier start runs on and writes after the next start began; the log is
    // a new file, so none of its lines are taken for the new game's.
    GameProcess earlier(log);
    ASSERT_FALSE(startGame({"/bin/sh",
                            {"-c", "echo old; " + waitFor("go") + "echo late old; touch old.done"},
                            folder,
                            {}},
                           &earlier));
    end = endOf(watch, "touch go; " + waitFor("old.done") + "echo new; exit 1", folder);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lastLines, "new");
    EXPECT_EQ(dir.read("state/game.log"), "new\n");
    std::optional<GameEnd> old;
    for (int i = 0; i < 1000 && !(old = earlier.ended()); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The game reads nothing the launcher was handed: started watched or not, its standard
// input is the null device, even when the launcher's holds something to read.
TEST(StartGame, TheGamesInputIsTheNullDevice) {
    TempDir dir;
    int input[2];
    ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
    ASSERT_EQ(::write(input[1], "leak\n", 5), 5);
    ::close(input[1]);
    const int saved = ::dup(STDIN_FILENO);
    ::dup2(input[0], STDIN_FILENO);
    GameProcess watch(dir.file("game.log"));
    for (GameProcess* watched : {static_cast<GameProcess*>(nullptr), &watch}) {
        const std::string seen = dir.file(watched ? "watched.txt" : "detached.txt");
        const std::string script = "readlink /proc/self/fd/0 > '" + seen + ".tmp'; cat >> '" +
                                   seen + ".tmp'; mv '" + seen + ".tmp' '" + seen + "'";
        EXPECT_FALSE(startGame({"/bin/sh", {"-c", script}, dir.path().string(), {}}, watched));
        for (int i = 0; i < 1000 && !fs::exists(seen); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(fs::exists(seen) ? dir.read(fs::path(seen).filename().string()) : "none",
                  "/dev/null\n")
            << seen;
    }
    ::dup2(saved, STDIN_FILENO);
    ::close(saved);
    ::close(input[0]);
}

namespace {
// Sets an environment variable (unsets it for nullptr) until the end of the scope.
struct ScopedEnv {
    ScopedEnv(const char* key, const char* value) : name(key) {
        if (const char* was = std::getenv(key)) {
            old = was;
        }
        value ? ::setenv(key, value, 1) : ::unsetenv(key);
    }
    ~ScopedEnv() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
    const char* name;
    std::optional<std::string> old;
};
} // namespace

// An address no program is set up for is refused, so the window can say so; one that a
// program is set up for reaches it.
TEST(ShellOpen, RefusesAnAddressNoProgramIsSetUpFor) {
    if (::access("/usr/bin/xdg-mime", X_OK) != 0 || ::access("/usr/bin/xdg-open", X_OK) != 0) {
        GTEST_SKIP() << "xdg-utils is not installed: the desktop has no way to open addresses";
    }
    TempDir dir;
    const std::string config = dir.file("config");
    const std::string data = dir.file("data");
    const std::string none = dir.file("none");
    const ScopedEnv env[] = {{"XDG_CONFIG_HOME", config.c_str()},
                             {"XDG_DATA_HOME", data.c_str()},
                             {"XDG_CONFIG_DIRS", none.c_str()},
                             {"XDG_DATA_DIRS", none.c_str()},
                             {"XDG_CURRENT_DESKTOP", nullptr},
                             {"DESKTOP_SESSION", nullptr},
                             {"BROWSER", nullptr},
                             // The opener asks the programs set up only on a display; none
                             // is needed by the one set up here.
                             {"DISPLAY", ":velo-none"}};
    const std::string address = "mailto:kai.lind@example.org";
    EXPECT_FALSE(shellOpen(address));

    put(dir.path() / "mail.sh", "#!/bin/sh\necho \"$1\" > \"$0.got\"\n");
    fs::permissions(dir.path() / "mail.sh", fs::perms::owner_all);
    put(dir.path() / "data/applications/velo-mail.desktop",
        "[Desktop Entry]\nType=Application\nName=Mail\nExec=" + dir.file("mail.sh") +
            " %u\nMimeType=x-scheme-handler/mailto;\n");
    put(dir.path() / "config/mimeapps.list",
        "[Default Applications]\nx-scheme-handler/mailto=velo-mail.desktop\n");
    EXPECT_TRUE(shellOpen(address));
    std::string got;
    for (int i = 0; i < 500 && got != address + "\n"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        got = fs::exists(dir.path() / "mail.sh.got") ? dir.read("mail.sh.got") : "";
    }
    EXPECT_EQ(got, address + "\n");
}
