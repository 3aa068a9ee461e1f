#include "support/temp_dir.h"

#include "platform/file.h"
#include "platform/path.h"
#include "platform/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace velo::platform;
using velo::test::entries;
using velo::test::TempDir;
namespace fs = std::filesystem;

// A read-only file refuses the write on every system, for root too.
TEST(AtomicWrite, FailuresNameThePathAndLeaveNothingBehind) {
    TempDir dir;
    dir.write("plain", "old");
    dir.write("read-only", "old");
    fs::permissions(dir.path() / "read-only",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    for (const std::string& target :
         {joinNative(dir.file("missing"), "file.txt"), joinNative(dir.file("plain"), "file.txt"),
          dir.file("read-only")}) {
        const MaybeError error = writeTextFileAtomic(target, "new");
        ASSERT_TRUE(error.has_value()) << target;
        EXPECT_EQ(error->subject, target);
        EXPECT_FALSE(error->reason.empty());
    }
    EXPECT_EQ(dir.read("plain") + dir.read("read-only"), "oldold");
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"plain", "read-only"}));
}

// Links are written through and stay links; a crash's temporary file is cleared by the
// next write, but a folder of that name is no file of ours and stops the write.
TEST(AtomicWrite, WritesThroughLinksAndClearsOnlyItsOwnLeftovers) {
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    dir.write("real/q2velo.ini", "old");
    const std::string stale = temporaryFileFor(dir.file("real/q2velo.ini"));
    std::ofstream(stale) << "half";
    std::error_code noLinks;
    fs::create_symlink(fs::path("real") / "q2velo.ini", dir.path() / "hop", noLinks);
    fs::create_symlink(dir.path() / "hop", dir.path() / "q2velo.ini", noLinks);
    ASSERT_FALSE(writeTextFileAtomic(dir.file(noLinks ? "real/q2velo.ini" : "q2velo.ini"),
                                     "one\r\ntwo\r\n"));
    EXPECT_EQ(dir.read("real/q2velo.ini"), "one\r\ntwo\r\n");
    EXPECT_EQ(entries(dir.path() / "real"), std::vector<std::string>{"q2velo.ini"});
    EXPECT_EQ(fs::is_symlink(dir.path() / "q2velo.ini"), !noLinks) << noLinks.message();
    fs::create_directory(stale);
    const MaybeError error = writeTextFileAtomic(dir.file("real/q2velo.ini"), "three");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->subject, stale);
    EXPECT_TRUE(fs::is_directory(stale));
    EXPECT_EQ(dir.read("real/q2velo.ini"), "one\r\ntwo\r\n");
}

// A probe is no search: a pattern matches nothing but an entry of that name.
TEST(FileExists, FindsFilesAndFoldersByTheirExactName) {
    TempDir dir;
    dir.write("f", "");
    fs::create_directory(dir.path() / "d");
    for (const char* name : {"f", "d", "none", "?", "*"}) {
        EXPECT_EQ(FileExists(dir.file(name)), name[0] == 'f' || name[0] == 'd') << name;
    }
}

// Only an existing folder is writable; making one creates every missing step, and a file
// in the way is an error naming it. The probes leave nothing behind.
TEST(Folders, MadeStepByStepAndProbedForWriting) {
    TempDir dir;
    dir.write("x", "a file");
    const std::string deep = joinNative(joinNative(dir.file("a"), "b"), "c");
    EXPECT_FALSE(folderWritable(deep));
    EXPECT_FALSE(folderWritable(dir.file("x")));
    ASSERT_FALSE(makeFolders(deep));
    EXPECT_FALSE(makeFolders(deep)) << "an existing folder is no failure";
    EXPECT_TRUE(folderWritable(deep));
    EXPECT_TRUE(fs::is_empty(deep));
    const MaybeError error = makeFolders(joinNative(dir.file("x"), "y"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->subject, dir.file("x"));
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ(dir.read("x"), "a file");
}

// The program's early returns let the read-ahead go unwaited: that must join, not abort.
TEST(FontConfigLoad, JoinsWhetherWaitedForOnceTwiceOrNot) {
    useOneHeap();
    { FontConfigLoad unwaited; }
    FontConfigLoad load;
    load.wait();
    load.wait();
}
