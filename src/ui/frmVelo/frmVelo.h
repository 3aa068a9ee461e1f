#pragma once

#include "core/game_start.h"
#include "core/launch_options.h"
#include "core/settings.h"
#include "core/setup.h"
#include "platform/engines.h"
#include "scripts/extra_script.h"
#include "ui/frmMouse/frmMouse.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace velo::ui {

class Services;
class TabControl;
class frmMod;
class frmServers;

// The main window: five tab pages of launch options and the actions that use them.
class frmVelo : public QWidget {
    Q_OBJECT
public:
    frmVelo(core::SettingsFile& settings, Services& services, QWidget* parent = nullptr);
    ~frmVelo() override;

    // The start-up, before any page but "Welcome" is made; false when the settings file
    // could not be read and the program ends.
    bool Form_Load();

    // Makes the pages that are otherwise made when first shown or first needed.
    void buildPages() const;

    // The shared state the other windows read and write.
    QString gameDirectory() const;
    // The mod box, made editable on first use: its page's first show or the first call here.
    QComboBox* modList() const;
    const core::LaunchOptions& keptOptions() const { return kept_; }
    // What a start with these options and the chosen engine runs, or why none can; with a
    // join, the client's choices connecting to that server.
    core::StartPlan plan(const core::LaunchOptions& options,
                         const std::optional<core::Join>& join = std::nullopt);

    void cmdAbout_Click();
    void cmdClose_Click();
    void cmdCustom_Click();
    void cmdEdit_Click();
    void cmdExtra_Click();
    void cmdQDir_Click();
    void cmdRunQuake_Click();
    void cmdJoin_Click();
    // Starts the engine on the server at address, in the server's game folder, as
    // "Run Quake II" starts it.
    void joinServer(const QString& address, const QString& password, const QString& gameDir);
    void cmdBatch_Click();
    void cmdInsert_Click();
    void Combo1_Click();
    void chkFreelook_Click();
    void HScroll1_Change();
    void cmbEngine_Click(int index);
    void cmbSetup_Click(int index);
    void cmdSaveSetup_Click();
    void cmdDeleteSetup_Click();

    // After the start-up: lists the saved setups of file (the settings file's text, read
    // once) and shows the one named, else the one picked last. False when a setup was
    // named and is not there. What was damaged in it is told to the player, or, where
    // faults is given, left there for the caller.
    bool showSetups(const core::SettingsRead& file, const std::string& named = {},
                    std::vector<core::SetupFault>* faults = nullptr);
    // True once "Run Quake II" started a game and left it running.
    bool gameStarted() const { return gameStarted_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWelcome(QWidget* page);
    void buildModSettings(QWidget* page);
    void buildDeathmatchOptions(QWidget* page);
    void buildServerSettings(QWidget* page);
    void buildRun(QWidget* page);
    void buildSetupRow();
    void connectLaunchOptions();

    // The one place where a setup's fields meet the controls.
    template <class Visit> void eachSetupField(core::Setup& setup, Visit&& visit);
    core::Setup setupFromControls();
    void showSetup(const core::Setup& setup);
    void fillSetupList(const core::SetupIndex& index, const std::string& current);
    // Tells the player once which parts of a setup were left at their start values.
    void tellFaults(const std::string& name, const std::vector<core::SetupFault>& faults);
    // The settings file's text for a change; on a read failure, tells the player.
    std::optional<std::string> readForSetups();

    void showIcon();
    // Starts the chosen engine and watches it: the windows go, and come back with the
    // engine's last lines when it fails at once; a running game ends the launcher.
    void startEngine(const core::LaunchOptions& options, const std::optional<core::Join>& join);
    // Runs the locator modally; the folder its "&Okay" chose, saved or not.
    std::optional<QString> runLocator();
    // The kept fields and the window fields read from the controls, in the line's order.
    core::LaunchOptions currentOptions() const;
    // What a button would run, as its tooltip shows it.
    QString lineFor(const QObject* button);
    // The mods found for the game folder and the chosen engine, looked for once for each.
    const std::vector<std::string>& installedMods();
    // Offers the kept names, then the mods found.
    void cmbMod_ListOpening();
    // The maps the game has for the mod in the box, as txtMap completes them.
    void txtMap_GotFocus();
    // True when the mod is there to run, or the player asked to start it anyway.
    bool modStarts(const std::string& mod);
    // Finds the engines for the game folder once, when first needed: never at start-up.
    void findEngines();
    void fillEngineList();
    // The engine a start uses: the kept choice, else the first found.
    platform::EngineLookup chosenEngine();
    // A settings value; on a read failure, tells the user and returns nothing.
    std::optional<std::string> read(const char* section, const char* key);

    core::SettingsFile& settings_;
    Services& services_;
    core::LaunchOptions kept_;
    // Kept for the run and handed to the windows that use them.
    MouseSetup mouse_;
    scripts::ExtraLines extraLines_;
    QPointer<frmMod> modEditor_;
    QPointer<frmServers> servers_;

    // What Form_Load read for "Mod Settings", shown when that page is made.
    QString loadedFolder_;
    QStringList loadedMods_;

    TabControl* SSTab1_ = nullptr;
    QLineEdit* txtQDir_ = nullptr;
    QComboBox* cmbMod_ = nullptr;
    QCheckBox* chkFreelook_ = nullptr;
    QScrollBar* HScroll1_ = nullptr;
    QLineEdit* txtFreelook_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    QPushButton* cmdCustom_ = nullptr;
    QCheckBox* chkDedicated_ = nullptr;
    QLineEdit* txtMap_ = nullptr;
    QLineEdit* txtMaxPlayers_ = nullptr;
    QLineEdit* txtHostName_ = nullptr;
    QLineEdit* txtTime_ = nullptr;
    QLineEdit* txtFrag_ = nullptr;
    QPushButton* cmdRunQuake_ = nullptr;
    QPushButton* cmdBatch_ = nullptr;
    QComboBox* cmbEngine_ = nullptr;
    QComboBox* cmbSetup_ = nullptr;

    std::vector<platform::Engine> engines_;
    std::string keptEngine_;       // the player's choice, "" for the first found
    QString enginesFor_;           // the game folder engines_ were found for
    bool engineFromSetup_ = false; // keptEngine_ came with a setup, not from the file
    bool gameStarted_ = false;
    std::vector<std::string> mods_;
    // The game folder and the engine's folder mods_ were found in.
    std::pair<std::string, std::string> modsFor_;
};

// Opens the main window over settings and runs until the program ends; its exit code.
int runLauncher(core::SettingsFile& settings, Services& services);

// Starts the saved setup as "Run Quake II" would, showing the main window only when the
// start fails; 2 when there is no such setup, after saying so on standard error.
int runSetup(core::SettingsFile& settings, Services& services, const std::string& name);

} // namespace velo::ui
