#include "arguments.h"

namespace velo::core {

Arguments parseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    const auto fault = [](std::string text) {
        return Arguments{Arguments::Action::Fault, {}, std::move(text)};
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return {Arguments::Action::Help, {}, {}};
        }
        if (parsed.action == Arguments::Action::Run) {
            return fault("only one setup can be started: \"" + arg + "\" is one too many");
        }
        if (arg == "--run") {
            if (i + 1 == args.size()) {
                return fault("--run needs the name of a saved setup");
            }
            parsed = {Arguments::Action::Run, args[++i], {}};
        } else if (arg.rfind("--run=", 0) == 0) {
            parsed = {Arguments::Action::Run, arg.substr(6), {}};
        } else {
            return fault("unknown option \"" + arg + "\"");
        }
    }
    return parsed;
}

const char* usageText() {
    return "Usage: velo-start [--run NAME]\n"
           "Sets up and starts Quake II.\n"
           "\n"
           "  --run NAME   start the saved setup NAME as \"Run Quake II\" would, without\n"
           "               showing the window unless the start fails\n"
           "  -h, --help   show this help and end\n"
           "\n"
           "With no option the launcher's window opens. An unknown option or setup ends\n"
           "with exit status 2.\n";
}

} // namespace velo::core
