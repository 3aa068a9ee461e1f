#include "path.h"
#include "process.h"

namespace velo::platform {

namespace {
std::vector<std::string> splitAtBlanks(std::string_view text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(' ', start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop > start) {
            pieces.emplace_back(text.substr(start, stop - start));
        }
        start = stop + 1;
    }
    return pieces;
}
} // namespace

LaunchPlan splitCommandLine(const std::string& gameDir, const std::string& line) {
    const std::string prefix = gameDir + "\\Quake2.exe";
    LaunchPlan plan{nativePath(prefix), {}};
    // A line that does not start with the game is still started as the game, with every
    // piece of the line as an argument.
    const std::string_view rest = line.compare(0, prefix.size(), prefix) == 0
                                      ? std::string_view(line).substr(prefix.size())
                                      : std::string_view(line);
    plan.arguments = splitAtBlanks(rest);
    return plan;
}

} // namespace velo::platform
