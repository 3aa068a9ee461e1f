#include "core/menu_entry.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace velo::core {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a command prints on standard output, and its exit status.
std::pair<std::string, int> run(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    return {out, ::pclose(pipe)};
}

std::string quotedForShell(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// The Exec line as a desktop reads it: the value's escapes undone, "%%" made "%".
std::string execOf(const std::string& entry) {
    const std::size_t begin = entry.find("\nExec=") + 6;
    const std::string value = entry.substr(begin, entry.find('\n', begin) - begin);
    std::string exec;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            exec += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else if (value[i] == '%' && i + 1 < value.size() && value[i + 1] == '%') {
            exec += value[++i];
        } else {
            exec += value[i];
        }
    }
    return exec;
}

const std::vector<std::string> kNames{
    "LAN CTF", "Tom's \"best\" $HOME `x`", "100% \\ back", "Ä, tab\tand;", "lan-ctf", "LAN_CTF"};

// Every entry is one the desktop's checker accepts, and its Exec line gives the program
// the name back exactly, read by the shell's rules for double quotes, which the entry's
// rules share.
TEST(MenuEntries, ValidAndStartTheSetupByItsExactName) {
    test::TempDir dir;
    const bool validator = std::system("command -v desktop-file-validate >/dev/null") == 0;
    if (!validator && std::getenv("CI") != nullptr) {
        FAIL() << "desktop-file-validate is missing";
    }
    for (const std::string& name : kNames) {
        ASSERT_FALSE(writeMenuEntry(dir.file("applications"), name));
        const std::string file = (dir.path() / "applications" / menuEntryFileName(name)).string();
        const std::string entry = slurp(file);
        EXPECT_NE(entry.find("\nCategories=Game;\n"), std::string::npos);
        EXPECT_NE(entry.find("\nIcon=velo-start\n"), std::string::npos);
        std::string exec = execOf(entry);
        ASSERT_EQ(exec.rfind("velo-start --run ", 0), 0u) << exec;
        exec.replace(0, 10, "printf '%s|'");
        EXPECT_EQ(run("sh -c " + quotedForShell(exec)).first, "--run|" + name + "|");
        if (validator) {
            const auto [said, status] = run("desktop-file-validate " + file + " 2>&1");
            EXPECT_EQ(status, 0) << said;
            EXPECT_EQ(said, "") << name;
        }
    }
}

// One entry per setup whatever the spelling; names that differ otherwise never share.
TEST(MenuEntries, OneFilePerSetupRewrittenAndRemovedWithIt) {
    EXPECT_EQ(menuEntryFileName("LAN CTF"), "velo-start-lan-ctf.desktop");
    EXPECT_EQ(menuEntryFileName("lan ctf"), menuEntryFileName("LAN CTF"));
    std::vector<std::string> files;
    for (const std::string& name : kNames) {
        files.push_back(menuEntryFileName(name));
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(std::unique(files.begin(), files.end()), files.end());

    test::TempDir dir;
    const std::string folder = dir.file("deep/applications");
    EXPECT_FALSE(hasMenuEntry(folder, "LAN CTF"));
    EXPECT_FALSE(removeMenuEntry(folder, "LAN CTF"));
    ASSERT_FALSE(writeMenuEntry(folder, "LAN CTF"));
    ASSERT_FALSE(writeMenuEntry(folder, "lan ctf"));
    EXPECT_TRUE(hasMenuEntry(folder, "LAN CTF"));
    EXPECT_EQ(test::entries(folder), std::vector<std::string>{"velo-start-lan-ctf.desktop"});
    EXPECT_NE(slurp(folder + "/velo-start-lan-ctf.desktop").find("\nName=Quake II: lan ctf\n"),
              std::string::npos);
    ASSERT_FALSE(removeMenuEntry(folder, "Lan Ctf"));
    EXPECT_TRUE(test::entries(folder).empty());

    dir.write("blocked", "a file where the folder should be");
    const platform::MaybeError error = writeMenuEntry(dir.file("blocked"), "LAN CTF");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->subject.rfind(dir.file("blocked"), 0), 0u);
}

} // namespace
} // namespace velo::core
