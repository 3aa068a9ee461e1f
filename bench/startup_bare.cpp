#include "first_paint.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QWidget>

// The yardstick: a bare window of the main window's size with five empty tabs.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    velo::bench::FirstPaint probe(app);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(622, 485);
    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(0, 0, 611, 449);
    for (const char* caption :
         {"Welcome", "Mod Settings", "Deathmatch Options", "Server Settings", "Run Quake II"}) {
        tabs->addTab(new QWidget, QString::fromLatin1(caption));
    }
    window.show();
    QRect frame = window.frameGeometry();
    frame.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
    window.move(frame.topLeft());
    return QApplication::exec();
}
