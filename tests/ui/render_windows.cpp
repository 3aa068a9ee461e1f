// Renders the real windows offscreen into PNG files for the README.
#include "fake_services.h"
#include "support/temp_dir.h"

#include "core/settings.h"
#include "ui/frmAbout/frmAbout.h"
#include "ui/frmExtra/frmExtra.h"
#include "ui/frmKeys/frmKeys.h"
#include "ui/frmMod/frmMod.h"
#include "ui/frmMouse/frmMouse.h"
#include "ui/frmVelo/frmVelo.h"
#include "ui/toolkit/widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTabWidget>

#include <cstdio>

namespace {
bool save(QWidget* window, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name + QLatin1String(".png"));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);

    velo::test::TempDir home;
    velo::core::SettingsFile settings(home.file("q2velo.ini"));
    settings.WriteINI("Quake2", "Path", "/home/player/games/quake2");
    settings.WriteINI("Quake2", "RunSetup", "No");
    const char* mods[] = {"ctf", "rocketarena", "lox", "xatrix", "rogue"};
    for (int i = 0; i < 5; ++i) {
        settings.WriteINI("Mod", "Mod" + std::to_string(i), mods[i]);
    }
    velo::test::FakeServices services;
    velo::ui::frmVelo main(settings, services);
    main.Form_Load();
    main.show();

    bool ok = true;
    auto* tabs = main.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    const char* names[] = {"main-welcome", "main-mods", "main-deathmatch", "main-server",
                           "main-run"};
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        ok = save(&main, folder, QLatin1String(names[i])) && ok;
    }

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
        window->show();
        ok = save(window, folder, QLatin1String(name)) && ok;
        window->hide();
    }
    return ok ? 0 : 1;
}
