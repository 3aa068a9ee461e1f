#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The settings file is read and written by the portable reader and writer on every
// system; here each sequence also goes through the system's own profile functions,
// and every read and every byte left behind must agree, but for the adjustments below.

namespace {

// Allowed differences, each a choice the portable writer makes on purpose.

// The system copies at most 79 characters into the launcher's 80-character buffer;
// the portable reader returns the whole value, since a cut game folder names
// another folder.
std::string cutAt79(std::string value) {
    return value.substr(0, 79);
}

// The system writes CR and LF of a value into the file, where they end the entry and
// start a line of the caller's choosing; the portable writer turns each into a blank.
// The system is handed the value as the portable writer stores it.
std::string lineBreaksAsBlanks(std::string value) {
    for (char& c : value) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return value;
}

// The system may put a blank line before a section it adds; the portable writer
// does not. Blank lines straight before a section line are dropped from both sides.
std::string withoutBlankLinesBeforeSections(const std::string& bytes) {
    std::string out;
    std::size_t pos = 0;
    std::string pending;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        end = end == std::string::npos ? bytes.size() : end + 1;
        const std::string line = bytes.substr(pos, end - pos);
        pos = end;
        if (line == "\r\n" || line == "\n") {
            pending += line;
            continue;
        }
        if (line.empty() || line[0] != '[') {
            out += pending;
        }
        pending.clear();
        out += line;
    }
    return out + pending;
}

// Where Wine's profile functions part from the system they stand in for; these
// adjustments apply only when the suite runs under Wine.
bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine loads the whole file and writes every line back with CR LF, a CR-only line too (and without
// the blanks around names, so the rows keep untouched lines free of them); Windows edits the file
// where the entry stands and leaves the other lines as they were.
std::string wineLineEnds(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool loneCr = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
            out += '\r';
        }
        out += bytes[i];
        if (loneCr) {
            out += '\n';
        }
    }
    return out;
}

// Wine drops the blanks at the start of a value it writes; Windows writes the value
// as given (both drop them again on reading). Under Wine both writers get the value
// without them.
std::string wineValue(const std::string& value) {
    return value.substr(std::min(value.find_first_not_of(" \t"), value.size()));
}

// The portable writer replaces the file through a new file renamed over it, so a
// failed write never leaves half a file; only the bytes are compared, never the
// file's identity, so this needs no adjustment here.

struct Op {
    enum Kind { Read, Write } kind;
    const char* section;
    const char* key;
    std::string value; // Write only
};

Op read(const char* section, const char* key) {
    return {Op::Read, section, key, {}};
}
Op write(const char* section, const char* key, std::string value) {
    return {Op::Write, section, key, std::move(value)};
}

struct Row {
    const char* name;
    std::optional<std::string> start; // nullopt: no file at first
    std::vector<Op> ops;
};

std::string systemRead(const std::string& path, const Op& op) {
    char buffer[80];
    const DWORD count =
        GetPrivateProfileStringA(op.section, op.key, "", buffer, sizeof buffer, path.c_str());
    return velo::platform::win::fromAnsi(std::string_view(buffer, count));
}

void systemWrite(const std::string& path, const Op& op) {
    const std::optional<std::string> value =
        velo::platform::win::toAnsi(lineBreaksAsBlanks(op.value));
    ASSERT_TRUE(value);
    ASSERT_TRUE(WritePrivateProfileStringA(op.section, op.key, value->c_str(), path.c_str()))
        << op.section << "/" << op.key;
}

std::string bytesOf(const velo::test::TempDir& dir, const char* name) {
    return std::filesystem::exists(dir.path() / name) ? dir.read(name) : std::string("<none>");
}

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

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
    for (std::size_t i = 0; i < row.ops.size(); ++i) {
        const Op& op = row.ops[i];
        SCOPED_TRACE("step " + std::to_string(i) + ": " + op.section + "/" + op.key);
        if (op.kind == Op::Read) {
            const velo::core::SettingsRead got = ours.ReadINI(op.section, op.key);
            ASSERT_FALSE(got.error) << got.error->message();
            EXPECT_EQ(cutAt79(got.value), systemRead(systemPath, op));
        } else {
            if (!velo::platform::win::toAnsi(op.value)) {
                GTEST_SKIP() << "the value has no place in this system's code page";
            }
            Op both = op;
            if (underWine()) {
                both.value = wineValue(op.value);
            }
            ASSERT_FALSE(ours.WriteINI(both.section, both.key, both.value));
            systemWrite(systemPath, both);
            std::string expected = bytesOf(dir, "ours.ini");
            if (underWine()) {
                expected = wineLineEnds(expected);
            }
            EXPECT_EQ(withoutBlankLinesBeforeSections(expected),
                      withoutBlankLinesBeforeSections(bytesOf(dir, "system.ini")));
        }
    }
}

std::vector<Op> firstLocatorRunThenModEditor() {
    std::vector<Op> ops = {read("Quake2", "RunSetup"), write("Quake2", "Path", "C:\\Games\\Quake2"),
                           write("Quake2", "RunSetup", "No"), read("Quake2", "Path")};
    const char* const keys[] = {"Mod0", "Mod1", "Mod2", "Mod3", "Mod4",
                                "Mod5", "Mod6", "Mod7", "Mod8", "Mod9"};
    const char* const mods[] = {"ctf", "", "rocket arena", "", "", "", "", "", "", "lox"};
    for (const char* key : keys) {
        ops.push_back(read("Mod", key));
    }
    for (int slot = 0; slot < 10; ++slot) {
        ops.push_back(write("Mod", keys[slot], mods[slot]));
    }
    for (const char* key : keys) {
        ops.push_back(read("Mod", key));
    }
    return ops;
}

const std::string k100(100, 'x');

INSTANTIATE_TEST_SUITE_P(
    Sequences, ProfileConformance,
    testing::Values(
        Row{"FirstLocatorRunThenModEditor", std::nullopt, firstLocatorRunThenModEditor()},
        Row{"SecondLocatorRunRewritesInPlace",
            "[Quake2]\r\nPath=C:\\Quake2\r\nRunSetup=Yes\r\n[Mod]\r\nMod0=ctf\r\n",
            {write("Quake2", "Path", "D:\\Quake2"), write("Quake2", "RunSetup", "No"),
             read("Quake2", "RunSetup"), read("Mod", "Mod0")}},
        Row{"CaseInsensitiveNames",
            "[QUAKE2]\r\npath=C:\\Quake2\r\nRUNSETUP=Yes\r\n",
            {read("Quake2", "Path"), read("quake2", "runsetup"), write("Quake2", "Path", "D:\\Q"),
             write("Quake2", "RunSetup", "No"), read("QUAKE2", "PATH")}},
        Row{"BlanksAndQuotes",
            "[Mod]\r\nMod0=  ctf \t\r\nMod1=\"ctf\"\r\nMod2= 'rocket arena' \r\n"
            "Mod3=\"ctf'\r\nMod4=\"\r\nMod5=\" ctf \"\r\n Mod6 = x \r\n",
            {read("Mod", "Mod0"), read("Mod", "Mod1"), read("Mod", "Mod2"), read("Mod", "Mod3"),
             read("Mod", "Mod4"), read("Mod", "Mod5"), read("Mod", "Mod6")}},
        Row{"BlanksInAWrittenValueAreKept",
            std::nullopt,
            {write("Mod", "Mod0", " rocket arena "), read("Mod", "Mod0")}},
        Row{"EmptyValues",
            "[Mod]\r\nMod0=\r\nMod1=ctf\r\n",
            {read("Mod", "Mod0"), write("Mod", "Mod1", ""), write("Mod", "Mod2", ""),
             read("Mod", "Mod1"), read("Mod", "Mod2")}},
        Row{"Comments",
            "; made by hand\r\n[Quake2]\r\n; Path=C:\\Old\r\nPath=C:\\Quake2\r\n",
            {read("Quake2", "Path"), write("Quake2", "Path", "D:\\Quake2"),
             write("Quake2", "RunSetup", "No"), read("Quake2", "Path")}},
        Row{"BlanksAroundAReplacedName",
            "[QUAKE2]\r\n path = old \r\n",
            {write("Quake2", "Path", "x"), read("Quake2", "Path")}},
        Row{"LfOnlyNewKeyAndSection",
            "[Quake2]\nPath=x\n\n[Other]\nkept=1\n",
            {write("Quake2", "RunSetup", "No"), write("Mod", "Mod0", "ctf")}},
        Row{"DuplicateKeys",
            "[Mod]\r\nMod0=a\r\nMod0=b\r\n",
            {read("Mod", "Mod0"), write("Mod", "Mod0", "c"), read("Mod", "Mod0")}},
        Row{"DuplicateSections",
            "[Mod]\r\nMod0=a\r\n[Quake2]\r\nPath=C:\\Q\r\n[Mod]\r\nMod0=b\r\nMod1=x\r\n",
            {read("Mod", "Mod0"), read("Mod", "Mod1"), write("Mod", "Mod0", "c"),
             write("Mod", "Mod1", "d"), read("Mod", "Mod0"), read("Mod", "Mod1")}},
        Row{"CrOnly",
            "[Quake2]\rPath=C:\\Quake2\rRunSetup=Yes\r",
            {read("Quake2", "Path"), read("Quake2", "RunSetup"), write("Quake2", "RunSetup", "No"),
             write("Mod", "Mod0", "ctf"), read("Quake2", "RunSetup")}},
        Row{"NewKeyAfterClosingComments",
            "[Mod]\r\nMod0=a\r\n; spare slots\r\n\r\n[Quake2]\r\nPath=C:\\Q\r\n",
            {write("Mod", "Mod1", "b"), read("Mod", "Mod1")}},
        Row{"LfOnly",
            "[Quake2]\nPath=C:\\Quake2\nRunSetup=Yes\n",
            {read("Quake2", "Path"), read("Quake2", "RunSetup"), write("Quake2", "RunSetup", "No"),
             read("Quake2", "RunSetup")}},
        Row{"MissingLastLineEnd",
            "[Quake2]\r\nPath=C:\\Quake2",
            {read("Quake2", "Path"), write("Quake2", "RunSetup", "No"),
             read("Quake2", "RunSetup")}},
        Row{"NewKeysAndSections",
            "[Quake2]\r\nPath=C:\\Quake2\r\n\r\n[Other]\r\nkept=1\r\n",
            {write("Quake2", "RunSetup", "No"), write("Mod", "Mod0", "ctf"),
             write("Mod", "Mod1", "lox"), read("Other", "kept")}},
        Row{"LettersOutsideAscii",
            std::nullopt,
            {write("Mod", "Mod0", "caf\xC3\xA9 cr\xC3\xA8me"), read("Mod", "Mod0")}},
        Row{"LongValue",
            std::nullopt,
            {write("Quake2", "Path", "C:\\" + k100), read("Quake2", "Path")}},
        Row{"LineBreaksInAValue",
            std::nullopt,
            {write("Quake2", "Path", "C:\\Q\r\nRunSetup=Yes"), read("Quake2", "RunSetup"),
             read("Quake2", "Path")}}),
    [](const testing::TestParamInfo<Row>& row) { return std::string(row.param.name); });

} // namespace
