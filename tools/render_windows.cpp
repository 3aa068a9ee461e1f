// Shows each window on the X display it is given, as a window manager frames it, and saves
// what the screen shows of it (title bar and buttons included) into PNG files for the README.
#include "core/settings.h"
#include "ui/frmAbout/frmAbout.h"
#include "ui/frmExtra/frmExtra.h"
#include "ui/frmKeys/frmKeys.h"
#include "ui/frmMod/frmMod.h"
#include "ui/frmMouse/frmMouse.h"
#include "ui/frmVelo/frmVelo.h"
#include "ui/toolkit/services.h"
#include "ui/toolkit/widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {
void settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool save(QWidget* window, const QString& folder, const char* name) {
    const QString path = QDir(folder).filePath(QLatin1String(name) + QLatin1String(".png"));
    const QRect frame = window->frameGeometry();
    const QPixmap shot =
        window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (!shot.save(path)) {
        std::fprintf(stderr, "render_windows: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Shown centred, framed by the window manager, and the only window on the screen.
void present(QWidget* window) {
    window->show();
    velo::ui::centreOnScreen(window);
    window->activateWindow();
    settle(700);
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "render_windows: run it on an X display with a window manager\n");
        return 2;
    }
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);

    QTemporaryDir home;
    velo::core::SettingsFile settings(
        QDir(home.path()).filePath(QStringLiteral("q2velo.ini")).toStdString());
    settings.WriteINI("Quake2", "Path", "/home/player/games/quake2");
    settings.WriteINI("Quake2", "RunSetup", "No");
    const char* mods[] = {"ctf", "rocketarena", "lox", "xatrix", "rogue"};
    for (int i = 0; i < 5; ++i) {
        settings.WriteINI("Mod", "Mod" + std::to_string(i), mods[i]);
    }
    // Nothing here is clicked, so the desktop's services are never asked.
    velo::ui::DesktopServices services;
    velo::ui::frmVelo main(settings, services);
    main.Form_Load();
    present(&main);

    bool ok = true;
    auto* tabs = main.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    const char* names[] = {"main-welcome", "main-mods", "main-deathmatch", "main-server",
                           "main-run"};
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        settle(200);
        ok = save(&main, folder, names[i]) && ok;
    }
    main.hide();

    using namespace velo::ui;
    const QString gameDir = QStringLiteral("/home/player/games/quake2");
    MouseSetup mouse;
    frmKeys keys(gameDir, mouse, services);
    frmMouse mouseWindow;
    velo::scripts::ExtraLines lines;
    frmExtra extra(gameDir, lines, services);
    frmMod mod(settings, services, *main.modList());
    mod.Form_Load();
    frmAbout about(services);
    frmHalvern credits(services);
    const std::pair<QWidget*, const char*> windows[] = {
        {&keys, "keys"},    {&mouseWindow, "mouse"}, {&extra, "extra"},
        {&mod, "mod-list"}, {&about, "about"},       {&credits, "credits"},
    };
    for (const auto& [window, name] : windows) {
        present(window);
        ok = save(window, folder, name) && ok;
        window->hide();
    }
    return ok ? 0 : 1;
}
