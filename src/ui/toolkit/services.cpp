#include "services.h"

#include "platform/game_search.h"
#include "platform/path.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/udp.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

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
    // Paths and addresses in a message are there to be copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A short text would leave the title cut down to its first and last letters.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(titleRoom(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

bool DesktopServices::confirm(QWidget* parent, const QString& question, const QString& yes) {
    QMessageBox box(QMessageBox::Question, QLatin1String(kAppTitle), question,
                    QMessageBox::NoButton, parent);
    QPushButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.clickedButton() == accept;
}

std::optional<SetupNameAnswer> DesktopServices::askSetupName(QWidget* parent,
                                                             const QString& suggested,
                                                             bool offerMenu, bool menuTicked) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgSetupName"));
    dialog.setWindowTitle(QLatin1String(kAppTitle));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(QObject::tr("&Name of the setup:"), &dialog);
    auto* name = new QLineEdit(suggested, &dialog);
    name->setObjectName(QStringLiteral("txtSetupName"));
    label->setBuddy(name);
    layout->addWidget(label);
    layout->addWidget(name);
    auto* menu = new QCheckBox(QObject::tr("Add to the Games menu"), &dialog);
    menu->setObjectName(QStringLiteral("chkGamesMenu"));
    menu->setChecked(menuTicked);
    menu->setVisible(offerMenu);
    layout->addWidget(menu);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    name->selectAll();
    dialog.setFixedSize(dialog.sizeHint().expandedTo(QSize(320, 0)));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return SetupNameAnswer{name->text(), offerMenu && menu->isChecked()};
}

std::string DesktopServices::menuFolder() {
    return platform::menuFolder();
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

std::function<std::vector<std::string>()> DesktopServices::gameSearch() {
    return [] { return platform::findGameFolders(platform::searchRoots()); };
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

void warnLeftOut(Services& services, QWidget* parent, const QString& script,
                 const std::vector<scripts::Refusal>& refused) {
    QString text = QApplication::translate(
                       "Services", "These keys were left out of %1: the game would run more "
                                   "than their binding.")
                       .arg(script) +
                   QLatin1Char('\n');
    for (const scripts::Refusal& one : refused) {
        QString character;
        switch (one.character) {
        case ' ':
            character = QApplication::translate("Services", "a blank");
            break;
        case ';':
            character = QApplication::translate("Services", "a semicolon (;)");
            break;
        case '"':
            character = QApplication::translate("Services", "a double quote (\")");
            break;
        case '\r':
        case '\n':
            character = QApplication::translate("Services", "a line break");
            break;
        default:
            character = QStringLiteral("\"%1\"").arg(QLatin1Char(one.character));
            break;
        }
        text += QLatin1Char('\n') + QApplication::translate("Services", "\"%1\" holds %2.")
                                        .arg(QString::fromStdString(one.box), character);
    }
    services.message(parent, MessageKind::Warning, text);
}

std::optional<QString> DesktopServices::askPassword(QWidget* parent, const QString& server) {
    bool ok = false;
    const QString password = QInputDialog::getText(
        parent, QLatin1String(kAppTitle),
        QCoreApplication::translate("Services", "The server %1 asks for a password:").arg(server),
        QLineEdit::Password, QString(), &ok);
    return ok ? std::optional<QString>(password) : std::nullopt;
}

std::vector<std::uint32_t> DesktopServices::broadcastAddresses() {
    return platform::broadcastAddresses();
}

} // namespace velo::ui
