#include "batch_file.h"

#include "platform/file.h"

namespace velo::core {

std::string suggestedBatchName(std::string_view modName) {
    if (modName.empty() || modName == "baseq2") {
        return "Mod.bat";
    }
    std::string name(modName);
    name += ".bat";
    return name;
}

std::string batchLine(std::string_view line, std::string_view gameDir) {
    std::string program(gameDir);
    program += "\\Quake2.exe";
    std::string text;
    text.reserve(line.size() + 4);
    const bool splitsAtBlank = gameDir.find(' ') != std::string_view::npos;
    if (splitsAtBlank && line.substr(0, program.size()) == program) {
        text += '"';
        text += program;
        text += '"';
        text += line.substr(program.size());
    } else {
        text += line;
    }
    return text;
}

std::string batchEscaped(std::string_view command) {
    std::string text;
    text.reserve(command.size() + 8);
    bool quoted = false;
    for (const char c : command) {
        switch (c) {
        case '"':
            quoted = !quoted;
            break;
        case '%':
            text += '%';
            break;
        case '&':
        case '|':
        case '<':
        case '>':
        case '^':
            if (!quoted) {
                text += '^';
            }
            break;
        default:
            break;
        }
        text += c;
    }
    return text;
}

std::string batchFileText(std::string_view line, std::string_view gameDir) {
    return batchEscaped(batchLine(line, gameDir)) + "\r\n";
}

platform::MaybeError writeBatchFile(const std::string& path, std::string_view line,
                                    std::string_view gameDir) {
    return platform::writeTextFileAtomic(path, batchFileText(line, gameDir));
}

} // namespace velo::core
