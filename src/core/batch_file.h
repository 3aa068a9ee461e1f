#pragma once

#include "platform/error.h"

#include <string>
#include <string_view>

namespace velo::core {

// "Mod.bat" for the mod "baseq2" or an empty mod, else mod + ".bat".
std::string suggestedBatchName(std::string_view modName);

// The batch file's command: when the game directory holds a blank, the program path
// at the start of the line is put in double quotes so the command interpreter does
// not cut it there; otherwise the line as given.
std::string batchLine(std::string_view line, std::string_view gameDir);

// The command as the command interpreter must read it to hand the game line exactly:
// outside double quotes & | < > ^ get a ^ before them, and every % is doubled (the
// interpreter expands % inside quotes too). A line with none of them is unchanged.
std::string batchEscaped(std::string_view command);

// The batch file's bytes: its command, escaped, and CR LF.
std::string batchFileText(std::string_view line, std::string_view gameDir);

// Writes the batch file at path (a native path chosen in a save dialog).
platform::MaybeError writeBatchFile(const std::string& path, std::string_view line,
                                    std::string_view gameDir);

} // namespace velo::core
