#include "menu_entry.h"

#include "platform/file.h"
#include "platform/path.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace velo::core {

namespace {

// A value of the entry file: backslashes and control characters as its escapes.
std::string escapedValue(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// One argument of Exec in double quotes: the four characters the rules reserve inside
// quotes get a backslash, and "%" is doubled so it is not taken for a field code.
std::string quotedArgument(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            out += '\\';
        }
        out += c;
        if (c == '%') {
            out += '%';
        }
    }
    return out + '"';
}

std::string entryPath(const std::string& folder, std::string_view setup) {
    return platform::joinNative(folder, menuEntryFileName(setup));
}

} // namespace

std::string menuEntryFileName(std::string_view setup) {
    // Letters and digits as they are, a blank as "-", anything else by its code: names
    // that differ only in letter case are one setup and get one entry, others never share.
    std::string slug;
    for (const char c : setup) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            slug += c;
        } else if (c >= 'A' && c <= 'Z') {
            slug += static_cast<char>(c - 'A' + 'a');
        } else if (c == ' ') {
            slug += '-';
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "_%02x", byte);
            slug += code;
        }
    }
    return "velo-start-" + slug + ".desktop";
}

std::string menuEntryText(std::string_view setup) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quake II: " +
           escapedValue(setup) +
           "\n"
           "Comment=Starts Quake II with this setup of Quake II Velo Start\n"
           "Exec=velo-start --run " +
           escapedValue(quotedArgument(setup)) +
           "\n"
           "Icon=velo-start\n"
           "Terminal=false\n"
           "Categories=Game;\n";
}

platform::MaybeError writeMenuEntry(const std::string& folder, std::string_view setup) {
    if (auto error = platform::makeFolders(folder)) {
        return error;
    }
    return platform::writeTextFileAtomic(entryPath(folder, setup), menuEntryText(setup));
}

platform::MaybeError removeMenuEntry(const std::string& folder, std::string_view setup) {
    const std::string path = entryPath(folder, setup);
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) {
        return platform::Error{path, error.message()};
    }
    return std::nullopt;
}

bool hasMenuEntry(const std::string& folder, std::string_view setup) {
    return platform::FileExists(entryPath(folder, setup));
}

} // namespace velo::core
