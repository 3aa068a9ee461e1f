#pragma once

#include "core/game_start.h"
#include "core/launch_options.h"
#include "platform/engines.h"
#include "scripts/extra_script.h"
#include "ui/frmMouse/frmMouse.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace velo::core {
class SettingsFile;
}

namespace velo::ui {

class Services;
class TabControl;
class frmMod;

// The main window: five tab pages of launch options and the actions that use them.
class frmVelo : public QWidget {
    Q_OBJECT
public:
    frmVelo(core::SettingsFile& settings, Services& services, QWidget* parent = nullptr);
    ~frmVelo() override;

    // The start-up; false when the settings file could not be read and the program ends.
    bool Form_Load();

    // The shared state the other windows read and write.
    QString gameDirectory() const;
    // The mod box, made editable on first use: its page's first show or the first call here.
    QComboBox* modList() const;
    const core::LaunchOptions& keptOptions() const { return kept_; }
    // What a start with the window's choices and engine runs, or why none can; with a join,
    // the client's choices connecting to that server.
    core::StartPlan plan(const std::optional<core::Join>& join = std::nullopt);

    void cmdAbout_Click();
    void cmdClose_Click();
    void cmdCustom_Click();
    void cmdEdit_Click();
    void cmdExtra_Click();
    void cmdQDir_Click();
    void cmdRunQuake_Click();
    void cmdBatch_Click();
    void cmdInsert_Click();
    void Combo1_Click();
    void chkFreelook_Click();
    void HScroll1_Change();
    void cmbEngine_Click(int index);

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
    void connectLaunchOptions();

    void showIcon();
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

    std::vector<platform::Engine> engines_;
    std::string keptEngine_; // the player's choice, "" for the first found
    QString enginesFor_;     // the game folder engines_ were found for
    std::vector<std::string> mods_;
    std::string modsFor_; // the game folder and engine folder mods_ were found for
};

// Opens the main window over settings and runs until the program ends; its exit code.
int runLauncher(core::SettingsFile& settings, Services& services);

} // namespace velo::ui
