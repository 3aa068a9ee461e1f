#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <vector>

// The settings file is read and written by the portable reader and writer on every
// system; here each sequence also goes through the system's own profile functions,
// and every read and every byte left behind must agree, but for the adjustments below.
// The portable writer renames a new file over the old one; only bytes are compared.

namespace {

// The system may put a blank line before a section it adds; the portable writer
// does not. Blank lines straight before a section line are dropped from both sides.
std::string withoutBlankLinesBeforeSections(const std::string& bytes) {
    return std::regex_replace(bytes, std::regex("\n(\r?\n)+\\["), "\n[");
}

// Where Wine's profile functions part from the system they stand in for; these
// adjustments apply only when the suite runs under Wine.
bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine loads the whole file and writes every line back with CR LF, a CR-only line too (and without
// the blanks around names and values, so the rows keep untouched lines free of them); Windows
// edits the file where the entry stands and leaves the other lines as they were.
std::string wineLineEnds(const std::string& bytes) {
    return std::regex_replace(bytes, std::regex("\r?\n|\r"), "\r\n");
}

struct Row {
    const char* name;
    std::optional<std::string> start; // nullopt: no file at first
    // "Section/Key" reads the key; "Section/Key=value" writes the value.
    std::vector<std::string> steps;
};

class ProfileConformance : public testing::TestWithParam<Row> {};

TEST_P(ProfileConformance, ReadsAndBytesAgreeWithTheSystem) {
    const Row& row = GetParam();
    velo::test::TempDir dir;
    if (row.start) {
        dir.write("ours.ini", *row.start);
        dir.write("system.ini", *row.start);
    }
    velo::core::SettingsFile ours(dir.file("ours.ini"));
    const std::string systemPath = dir.file("system.ini");
    for (const std::string& step : row.steps) {
        SCOPED_TRACE(step);
        const std::size_t slash = step.find('/');
        const std::size_t equals = step.find('=');
        const std::string section = step.substr(0, slash);
        const std::string key = step.substr(slash + 1, equals - slash - 1);
        if (equals == std::string::npos) {
            const velo::core::SettingsRead got = ours.ReadINI(section, key);
            ASSERT_FALSE(got.error) << got.error->message();
            char buffer[80];
            const DWORD count = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                         sizeof buffer, systemPath.c_str());
            // The system copies at most 79 characters into the launcher's 80-character
            // buffer; the portable reader returns the whole value, since a cut game folder
            // names another folder.
            EXPECT_EQ(got.value.substr(0, 79),
                      velo::platform::win::fromAnsi(std::string_view(buffer, count)));
            continue;
        }
        // Wine drops the blanks at the start of a value it writes; Windows writes the
        // value as given (both drop them again on reading). Under Wine both writers get
        // the value without them.
        std::string value = step.substr(equals + 1);
        if (underWine()) {
            value.erase(0, std::min(value.find_first_not_of(" \t"), value.size()));
        }
        ASSERT_FALSE(ours.WriteINI(section, key, value));
        // The system writes CR and LF of a value into the file, where they end the entry
        // and start a line of the caller's choosing; the portable writer turns each into a
        // blank. The system is handed the value as the portable writer stores it.
        std::replace_if(
            value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        const std::optional<std::string> ansi = velo::platform::win::toAnsi(value);
        if (!ansi) {
            GTEST_SKIP() << "the value has no place in this system's code page";
        }
        ASSERT_TRUE(WritePrivateProfileStringA(section.c_str(), key.c_str(), ansi->c_str(),
                                               systemPath.c_str()));
        const std::string expected = dir.read("ours.ini");
        EXPECT_EQ(withoutBlankLinesBeforeSections(underWine() ? wineLineEnds(expected) : expected),
                  withoutBlankLinesBeforeSections(dir.read("system.ini")));
    }
}

std::vector<std::string> locatorRunsAndModEditor() {
    std::vector<std::string> steps = {"Quake2/RunSetup", "Quake2/Path=C:\\Games\\Quake2",
                                      "Quake2/RunSetup=No", "Quake2/Path"};
    const char* const mods[] = {"ctf", "", "rocket arena", "", "", "", "", "", "", "lox"};
    for (int pass = 0; pass < 3; ++pass) { // read, write, read back
        for (int slot = 0; slot < 10; ++slot) {
            const std::string key = "Mod/Mod" + std::to_string(slot);
            steps.push_back(pass == 1 ? key + "=" + mods[slot] : key);
        }
    }
    // A second locator run rewrites its keys in place, before the mod section.
    steps.insert(steps.end(),
                 {"Quake2/Path=D:\\Quake2", "Quake2/RunSetup=Yes", "Quake2/RunSetup", "Mod/Mod0"});
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ProfileConformance,
    testing::Values(
        Row{"LocatorRunsAndModEditor", std::nullopt, locatorRunsAndModEditor()},
        Row{"NamesInAnyCaseAndBlanksAroundAReplacedName",
            "[QUAKE2]\r\n path = C:\\Quake2 \r\nRUNSETUP=Yes\r\n",
            {"Quake2/Path", "quake2/runsetup", "Quake2/Path=D:\\Q", "Quake2/RunSetup=No",
             "QUAKE2/PATH"}},
        Row{"BlanksAndQuotes",
            "[Mod]\r\nMod0=  ctf \t\r\nMod1=\"ctf\"\r\nMod2= 'rocket arena' \r\n"
            "Mod3=\"ctf'\r\nMod4=\"\r\nMod5=\" ctf \"\r\n Mod6 = x \r\n",
            {"Mod/Mod0", "Mod/Mod1", "Mod/Mod2", "Mod/Mod3", "Mod/Mod4", "Mod/Mod5", "Mod/Mod6"}},
        Row{"EmptyValues",
            "[Mod]\r\nMod0=\r\nMod1=ctf\r\n",
            {"Mod/Mod0", "Mod/Mod1=", "Mod/Mod2=", "Mod/Mod1", "Mod/Mod2"}},
        Row{"CommentsAndANewKeyAfterClosingComments",
            "; made by hand\r\n[Mod]\r\nMod0=a\r\n; spare slots\r\n\r\n[Quake2]\r\n"
            "; Path=C:\\Old\r\nPath=C:\\Quake2\r\n",
            {"Quake2/Path", "Quake2/Path=D:\\Quake2", "Quake2/RunSetup=No", "Quake2/Path",
             "Mod/Mod1=b", "Mod/Mod1"}},
        Row{"DuplicateKeysAndSections",
            "[Mod]\r\nMod0=a\r\nMod0=b\r\n[Quake2]\r\nPath=C:\\Q\r\n[Mod]\r\nMod0=b\r\nMod1=x\r\n",
            {"Mod/Mod0", "Mod/Mod1", "Mod/Mod0=c", "Mod/Mod1=d", "Mod/Mod0", "Mod/Mod1"}},
        Row{"CrOnly",
            "[Quake2]\rPath=C:\\Quake2\rRunSetup=Yes\r",
            {"Quake2/Path", "Quake2/RunSetup", "Quake2/RunSetup=No", "Mod/Mod0=ctf",
             "Quake2/RunSetup"}},
        Row{"LfOnly",
            "[Quake2]\nPath=C:\\Quake2\n\n[Other]\nkept=1\n",
            {"Quake2/Path", "Quake2/RunSetup=No", "Mod/Mod0=ctf", "Quake2/RunSetup=Yes",
             "Quake2/RunSetup"}},
        Row{"Utf8ByteOrderMark",
            "\xEF\xBB\xBF[Quake2]\r\nPath=C:\\Quake2\r\n",
            {"Quake2/Path", "Quake2/RunSetup=No", "Quake2/RunSetup", "Mod/Mod0=ctf",
             "Quake2/Path"}},
        Row{"MissingLastLineEnd",
            "[Quake2]\r\nPath=C:\\Quake2",
            {"Quake2/Path", "Quake2/RunSetup=No", "Quake2/RunSetup"}},
        Row{"NewKeysAndSections",
            "[Quake2]\r\nPath=C:\\Quake2\r\n\r\n[Other]\r\nkept=1\r\n",
            {"Quake2/RunSetup=No", "Mod/Mod0=ctf", "Mod/Mod1=lox", "Other/kept"}},
        // Wine trims the values of a file it loads and writes back: this row writes once.
        Row{"BlanksInAWrittenValueAreKept", std::nullopt, {"Mod/Mod0= rocket arena ", "Mod/Mod0"}},
        // Letters outside ASCII last: a code page without them skips the rest.
        Row{"WrittenValues",
            std::nullopt,
            {"Quake2/Path=C:\\" + std::string(100, 'x'), "Quake2/Path",
             "Quake2/Path=C:\\Q\r\nRunSetup=Yes", "Quake2/RunSetup", "Quake2/Path",
             "Mod/Mod0=caf\xC3\xA9 cr\xC3\xA8me", "Mod/Mod0"}}),
    [](const testing::TestParamInfo<Row>& row) { return std::string(row.param.name); });

} // namespace
