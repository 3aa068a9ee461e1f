#pragma once

#include "platform/engines.h"
#include "platform/error.h"
#include "platform/game_watch.h"
#include "platform/process.h"
#include "scripts/binding.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace velo::ui {

inline constexpr const char* kAppTitle = "Quake II Velo Start";

// How a file dialog is set up; made afresh for every use.
struct FileDialogRequest {
    QStringList filters;   // "Batch File(*.bat)", "All Files(*.*)"; the first is selected
    QString startFolder;   // empty: the platform's choice
    QString suggestedName; // the name box's start text
};

// What a save dialog gave: the path as typed or picked, and the file type chosen.
struct SavedFile {
    QString path;
    int filter = 0; // index into the request's filters
};

enum class MessageKind { Plain, Warning };

// What the player typed into the setup name question.
struct SetupNameAnswer {
    QString name;
    bool addToMenu = false;
};

// Everything a window asks of the desktop and a test must answer or observe.
class Services {
public:
    virtual ~Services() = default;

    // The chosen file's full path; nullopt on cancel.
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Asks before replacing an existing file; nullopt on cancel.
    virtual std::optional<SavedFile> saveFile(QWidget* parent,
                                              const FileDialogRequest& request) = 0;
    // A modal message titled with the application's title.
    virtual void message(QWidget* parent, MessageKind kind, const QString& text) = 0;
    // A modal question with the answer yes and "Cancel", the default; true for yes.
    virtual bool confirm(QWidget* parent, const QString& question, const QString& yes) = 0;
    // Asks for a setup's name, starting at suggested; offers "Add to the Games menu",
    // ticked as menuTicked, only where offerMenu. nullopt on cancel.
    virtual std::optional<SetupNameAnswer> askSetupName(QWidget* parent, const QString& suggested,
                                                        bool offerMenu, bool menuTicked) = 0;
    // The folder of this user's desktop menu entries; empty where there is no such menu.
    virtual std::string menuFolder() = 0;
    // The engines that can start the game in gameDir, the default first.
    virtual std::vector<platform::Engine> findEngines(const std::string& gameDir) = 0;
    // The engine a program the player named is, or why it cannot start the game.
    virtual platform::EngineLookup engineAt(const std::string& program) = 0;
    virtual platform::MaybeError startGame(const platform::LaunchPlan& plan) = 0;
    // Waits a short while for the game last started to end; how it ended, if it did.
    virtual std::optional<platform::GameEnd> watchGame() = 0;
    // False when no program takes the address; a program that then fails is the
    // desktop's to report.
    virtual bool openAddress(QWidget* parent, const QString& address) = 0;
    // A search for the game folders on this machine, best first, to run off the UI thread.
    // It holds all it needs, so a search left running may outlive this object.
    virtual std::function<std::vector<std::string>()> gameSearch() = 0;
    // Ends the program at once: no window's closing handlers run.
    virtual void quit(int exitCode) = 0;
    // The password for server, asked in a modal dialog; nullopt on cancel.
    virtual std::optional<QString> askPassword(QWidget* parent, const QString& server) = 0;
    // Where a LAN search is sent: each IPv4 interface's broadcast address, host byte order.
    virtual std::vector<std::uint32_t> broadcastAddresses() = 0;
};

// The services of a real desktop session.
class DesktopServices final : public Services {
public:
    // gameLog: where each started game's output goes; watchTime: how long a start is watched.
    explicit DesktopServices(std::string gameLog = {},
                             std::chrono::milliseconds watchTime = std::chrono::seconds(5));
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<SavedFile> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    void message(QWidget* parent, MessageKind kind, const QString& text) override;
    bool confirm(QWidget* parent, const QString& question, const QString& yes) override;
    std::optional<SetupNameAnswer> askSetupName(QWidget* parent, const QString& suggested,
                                                bool offerMenu, bool menuTicked) override;
    std::string menuFolder() override;
    std::vector<platform::Engine> findEngines(const std::string& gameDir) override;
    platform::EngineLookup engineAt(const std::string& program) override;
    platform::MaybeError startGame(const platform::LaunchPlan& plan) override;
    std::optional<platform::GameEnd> watchGame() override;
    bool openAddress(QWidget* parent, const QString& address) override;
    std::function<std::vector<std::string>()> gameSearch() override;
    void quit(int exitCode) override;
    std::optional<QString> askPassword(QWidget* parent, const QString& server) override;
    std::vector<std::uint32_t> broadcastAddresses() override;

private:
    platform::GameProcess game_;
    std::chrono::milliseconds watchTime_;
};

// The width a window needs to show its whole title in the desktop's title bar.
int titleRoom(const QWidget& window);

// A platform error as the user reads it: the file or program, then the reason.
QString describe(const platform::Error& error);

// A warning: what could not be done, then the file or program and the reason.
void warn(Services& services, QWidget* parent, const QString& headline,
          const platform::Error& error);

// A warning naming each binding left out of a game script: its box and the character that
// would have let the game run more than the binding.
void warnLeftOut(Services& services, QWidget* parent, const QString& script,
                 const std::vector<scripts::Refusal>& refused);

} // namespace velo::ui
