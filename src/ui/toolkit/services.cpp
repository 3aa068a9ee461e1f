#include "services.h"

#include "platform/game_search.h"
#include "platform/process.h"
#include "platform/shell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

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

DesktopServices::DesktopServices(std::string gameLog, std::chrono::milliseconds watchTime)
    : game_(std::move(gameLog)), watchTime_(watchTime) {}

std::optional<QString> DesktopServices::openFile(QWidget* parent,
                                                 const FileDialogRequest& request) {
    return chosen(QFileDialog::getOpenFileName(parent, QString(), startPath(request),
                                               request.filters.join(QLatin1String(";;"))));
}

std::optional<SavedFile> DesktopServices::saveFile(QWidget* parent,
                                                   const FileDialogRequest& request) {
    QString filter = request.filters.value(0);
    const std::optional<QString> path = chosen(QFileDialog::getSaveFileName(
        parent, QString(), startPath(request), request.filters.join(QLatin1String(";;")), &filter));
    if (!path) {
        return std::nullopt;
    }
    return SavedFile{*path, std::max(0, static_cast<int>(request.filters.indexOf(filter)))};
}

void DesktopServices::message(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QLatin1String(kAppTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

bool DesktopServices::ask(QWidget* parent, const QString& text, const QString& yes) {
    QMessageBox box(QMessageBox::Warning, QLatin1String(kAppTitle), text, QMessageBox::NoButton,
                    parent);
    QPushButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == accept;
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

void DesktopServices::openAddress(QWidget*, const QString& address) {
    platform::shellOpen(address.toStdString());
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
