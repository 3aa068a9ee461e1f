#include "core/settings.h"
#include "platform/game_watch.h"
#include "platform/path.h"
#include "ui/frmVelo/frmVelo.h"
#include "ui/toolkit/services.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    velo::platform::restoreChildSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velo-start"));
    // Not a display name: the toolkit would append it to every window's caption.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.velo_start"));

    // Chosen once: every read, write and probe of the settings file goes to this one path.
    const velo::platform::SettingsFolder folder = velo::platform::settingsFolder();
    if (folder.error) {
        // Not fatal: the first write to the settings file shows the reason in a window.
        std::fprintf(stderr, "velo-start: %s\n", folder.error->message().c_str());
    }
    velo::core::SettingsFile settings(velo::core::settingsPathIn(folder.path));
    velo::ui::DesktopServices services(velo::platform::gameLogPath());
    return velo::ui::runLauncher(settings, services);
}
