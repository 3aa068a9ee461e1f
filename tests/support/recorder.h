#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace velo::test {

// Writes an executable /bin/sh script at program that runs commands: a stand-in engine.
// A script that cannot be written leaves no file, so setting its mode throws.
inline void writeEngine(const std::filesystem::path& program, const std::string& commands) {
    std::ofstream(program, std::ios::binary | std::ios::trunc) << "#!/bin/sh\n" << commands << "\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

// Writes a stand-in engine at program that, when run, records each of its arguments on a
// line of record (written whole, then renamed into place) and stays up a moment, as a game
// would. It calls nothing through PATH, so a test may set any. withFolder: the first line is
// the folder it was started in.
inline void writeRecorder(const std::filesystem::path& program, const std::filesystem::path& record,
                          bool withFolder = false) {
    writeEngine(program, std::string(withFolder ? "set -- \"$(/bin/pwd -P)\" \"$@\"\n" : "") +
                             "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                             record.string() + ".tmp'\n/bin/mv '" + record.string() + ".tmp' '" +
                             record.string() + "'\n/bin/sleep 1");
}

// The lines a recorder wrote, waiting up to ten seconds for them; empty when none came.
inline std::vector<std::string> recordedArguments(const std::filesystem::path& record) {
    for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::ifstream in(record);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace velo::test
