#include "core/arguments.h"
#include "core/settings.h"
#include "core/setup.h"
#include "platform/game_watch.h"
#include "platform/path.h"
#include "platform/startup.h"
#include "ui/frmVelo/frmVelo.h"
#include "ui/toolkit/services.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {
int usageFault(const std::string& fault) {
    std::fprintf(stderr, "velo-start: %s\nTry \"velo-start --help\".\n", fault.c_str());
    return velo::core::kUsageExitStatus;
}

std::vector<std::string> argumentsOf(const QStringList& all) {
    std::vector<std::string> args;
    for (qsizetype i = 1; i < all.size(); ++i) {
        args.push_back(all[i].toStdString());
    }
    return args;
}
} // namespace

int main(int argc, char* argv[]) {
    using velo::core::Arguments;
    velo::platform::useOneHeap();
    const std::vector<std::string> given(argv + (argc > 0 ? 1 : 0), argv + argc);
    const Arguments early = velo::core::parseArguments(given);
    // Help, a wrong option and an unknown setup need no display: answered before the
    // toolkit looks for one, unless the line holds options the toolkit takes first.
    if (early.action == Arguments::Action::Help) {
        std::fputs(velo::core::usageText(), stdout);
        return 0;
    }
    if (early.action == Arguments::Action::Fault && !velo::core::holdsToolkitOption(given)) {
        return usageFault(early.fault);
    }
    velo::platform::restoreChildSignal();
    // A window's first text needs the font configuration: read while the toolkit starts.
    velo::platform::FontConfigLoad fonts;

    // Chosen once: every read, write and probe of the settings file goes to this one path.
    const velo::platform::SettingsFolder folder = velo::platform::settingsFolder();
    if (folder.error) {
        // Not fatal: the first write to the settings file shows the reason in a window.
        std::fprintf(stderr, "velo-start: %s\n", folder.error->message().c_str());
    }
    velo::core::SettingsFile settings(velo::core::settingsPathIn(folder.path));
    if (early.action == Arguments::Action::Run) {
        if (const auto missing = velo::core::missingSetup(settings, early.setup)) {
            return usageFault(*missing);
        }
    }

    QApplication app(argc, argv);
    fonts.wait();
    QApplication::setApplicationName(QStringLiteral("velo-start"));
    // Not a display name: the toolkit would append it to every window's caption.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.velo_start"));
    // What is left once the toolkit has taken its own options.
    const Arguments args = velo::core::parseArguments(argumentsOf(QApplication::arguments()));
    if (args.action == Arguments::Action::Fault) {
        return usageFault(args.fault);
    }
    velo::ui::DesktopServices services(velo::platform::gameLogPath());
    if (args.action == Arguments::Action::Run) {
        return velo::ui::runSetup(settings, services, args.setup);
    }
    return velo::ui::runLauncher(settings, services);
}
