#include "services.h"

#include "platform/game_search.h"
#include "platform/process.h"
#include "platform/shell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QTimer>

namespace velo::ui {

namespace {
std::optional<QString> chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(path);
}

QString startPath(const FileDialogRequest& request) {
    if (request.startFolder.isEmpty()) {
        return request.suggestedName;
    }
    return QDir(request.startFolder).filePath(request.suggestedName);
}
} // namespace

int titleRoom(const QWidget& window) {
    // The title bar's font is the desktop's; the window's own, a little larger, stands in.
    QFont font = window.font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    // Room beside the title for the window's icon and its buttons.
    constexpr int kTitleBarControls = 160;
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + kTitleBarControls;
}

DesktopServices::DesktopServices(std::string gameLog, std::chrono::milliseconds watchTime)
    : game_(std::move(gameLog)), watchTime_(watchTime) {}

std::optional<QString> DesktopServices::openFile(QWidget* parent,
                                                 const FileDialogRequest& request) {
    return chosen(QFileDialog::getOpenFileName(parent, QString(), startPath(request),
                                               request.filters.join(QLatin1String(";;"))));
}

std::optional<QString> DesktopServices::saveFile(QWidget* parent,
                                                 const FileDialogRequest& request) {
    return chosen(QFileDialog::getSaveFileName(parent, QString(), startPath(request),
                                               request.filters.join(QLatin1String(";;"))));
}

void DesktopServices::message(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QLatin1String(kAppTitle), text, QMessageBox::Ok, parent);
    // Paths and addresses in a message are there to be copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // A short text would leave the title cut down to its first and last letters.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(titleRoom(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

std::vector<platform::Engine> DesktopServices::findEngines(const std::string& gameDir) {
    return platform::findEngines(platform::searchHere(gameDir));
}

platform::EngineLookup DesktopServices::engineAt(const std::string& program) {
    return platform::engineAt(program, platform::searchHere({}).pathEnv);
}

platform::MaybeError DesktopServices::startGame(const platform::LaunchPlan& plan) {
    return platform::startGame(plan, &game_);
}

std::optional<platform::GameEnd> DesktopServices::watchGame() {
    // Polled from an event loop, so whatever the windows still have to do gets done.
    std::optional<platform::GameEnd> end;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        end = game_.ended();
        if (end || clock.hasExpired(watchTime_.count())) {
            loop.quit();
        }
    });
    poll.start(20);
    loop.exec();
    return end;
}

bool DesktopServices::openAddress(QWidget*, const QString& address) {
    return platform::shellOpen(address.toStdString());
}

std::vector<std::string> DesktopServices::findGames() {
    return platform::findGameFolders(platform::searchRoots());
}

void DesktopServices::quit(int exitCode) {
    QApplication::exit(exitCode);
}

QString describe(const platform::Error& error) {
    return QString::fromStdString(error.subject) + QLatin1String("\n") +
           QString::fromStdString(error.reason);
}

void warn(Services& services, QWidget* parent, const QString& headline,
          const platform::Error& error) {
    services.message(parent, MessageKind::Warning,
                     headline + QLatin1String("\n\n") + describe(error));
}

} // namespace velo::ui
