#include "arguments.h"

#include <algorithm>
#include <string_view>

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

bool holdsToolkitOption(const std::vector<std::string>& args) {
    static constexpr std::string_view kToolkit[] = {"platform",      "platformpluginpath",
                                                    "platformtheme", "plugin",
                                                    "display",       "style",
                                                    "stylesheet",    "qwindowgeometry",
                                                    "qwindowtitle",  "qwindowicon",
                                                    "reverse",       "session",
                                                    "geometry",      "title",
                                                    "name",          "sync",
                                                    "widgetcount",   "nograb",
                                                    "dograb",        "visual"};
    return std::any_of(args.begin(), args.end(), [](std::string_view arg) {
        if (arg.rfind('-', 0) != 0) {
            return false;
        }
        arg.remove_prefix(arg.rfind("--", 0) == 0 ? 2 : 1);
        arg = arg.substr(0, arg.find('='));
        return std::find(std::begin(kToolkit), std::end(kToolkit), arg) != std::end(kToolkit);
    });
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
