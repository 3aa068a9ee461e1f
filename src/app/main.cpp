#include "core/settings.h"
#include "platform/path.h"
#include "ui/frmVelo/frmVelo.h"
#include "ui/toolkit/services.h"
#include "ui/toolkit/widgets.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velo-start"));
    QApplication::setApplicationDisplayName(QLatin1String(velo::ui::kAppTitle));

    velo::core::SettingsFile settings(
        velo::core::settingsPathIn(velo::platform::programDirectory()));
    velo::ui::DesktopServices services;
    velo::ui::frmVelo window(settings, services);
    if (!window.Form_Load()) {
        return 1;
    }
    window.show();
    velo::ui::centreOnScreen(&window);
    return QApplication::exec();
}
