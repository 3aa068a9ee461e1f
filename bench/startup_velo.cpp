#include "first_paint.h"

#include "core/settings.h"
#include "platform/startup.h"
#include "ui/frmVelo/frmVelo.h"
#include "ui/toolkit/services.h"

#include <QApplication>

// The program's own start to its main window, over the settings folder given as argument.
// Its start-up steps are the program's own (src/app/main.cpp).
int main(int argc, char* argv[]) {
    velo::platform::useOneHeap();
    velo::platform::FontConfigLoad fonts;
    QApplication app(argc, argv);
    fonts.wait();
    velo::bench::FirstPaint probe(app);
    QApplication::setApplicationName(QStringLiteral("velo-start"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.velo_start"));
    if (argc < 2) {
        return 2;
    }
    velo::core::SettingsFile settings(velo::core::settingsPathIn(argv[1]));
    velo::ui::DesktopServices services;
    return velo::ui::runLauncher(settings, services);
}
