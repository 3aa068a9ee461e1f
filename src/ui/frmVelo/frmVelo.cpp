#include "frmVelo.h"

#include "core/arguments.h"
#include "core/batch_file.h"
#include "core/game_content.h"
#include "core/game_start.h"
#include "core/launch_script.h"
#include "core/menu_entry.h"
#include "core/settings.h"
#include "platform/engines.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/process.h"
#include "scripts/game_files.h"
#include "scripts/presets.h"
#include "ui/frmAbout/frmAbout.h"
#include "ui/frmExtra/frmExtra.h"
#include "ui/frmKeys/frmKeys.h"
#include "ui/frmMod/frmMod.h"
#include "ui/frmQ2Dir/frmQ2Dir.h"
#include "ui/frmServers/frmServers.h"
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/services.h"
#include "ui/toolkit/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cstdio>

namespace velo::ui {

namespace {
QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
std::string ss(const QString& text) {
    return text.toStdString();
}

// The mod box's text at the start.
constexpr char kFirstMod[] = "baseq2";

// The engine, how it ended and, where it wrote any, its last words and where the rest is.
QString failedStart(const platform::GameEnd& end) {
    QString text = frmVelo::tr("Quake II ended right after its start.") + QLatin1String("\n\n") +
                   describe(platform::Error{end.program, "ended with " + end.status + "."});
    if (!end.errorLine.empty()) {
        text += frmVelo::tr("\n\nThe first error it reported:\n") + qs(end.errorLine);
    }
    if (!end.lastLines.empty()) {
        text += frmVelo::tr("\n\nThe last lines of its output:\n") + qs(end.lastLines);
    }
    if (!end.log.empty()) {
        text += frmVelo::tr("\n\nThe whole output is kept in %1").arg(qs(end.log));
    }
    return text;
}

// Where each deathmatch flag box sits on "Server Settings", top to bottom.
struct FlagPlace {
    int box;
    Twips place;
};
constexpr std::array<FlagPlace, 16> kFlagPlaces{{
    {4, {6720, 840, 1695, 255}},
    {3, {6720, 1200, 1935, 255}},
    {5, {6720, 1560, 1695, 255}},
    {2, {6720, 1920, 1935, 255}},
    {1, {6720, 2280, 1935, 255}},
    {16, {6720, 2640, 1815, 195}},
    {9, {6720, 3000, 2175, 195}},
    {7, {6720, 3360, 1935, 195}},
    {17, {6720, 3720, 1935, 255}},
    {11, {6720, 4080, 2055, 195}},
    {10, {6720, 4440, 2055, 195}},
    {15, {6720, 4800, 1695, 195}},
    {12, {6720, 5160, 1575, 195}},
    {13, {6720, 5520, 1215, 195}},
    {14, {6720, 5880, 1215, 195}},
    {8, {6720, 6240, 1815, 195}},
}};
} // namespace

frmVelo::frmVelo(core::SettingsFile& settings, Services& services, QWidget* parent)
    : QWidget(parent), settings_(settings), services_(services) {
    loadArtwork();
    fixWindow(this, "frmVelo", tr("Quake II Velo Start v1.0"), 9330, 7275);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // The icon is drawn after the first paint (paintEvent): the window comes up without it.

    SSTab1_ = new TabControl(this);
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    SSTab1_->setGeometry(toPixels(Twips{0, 0, 9165, 6735}));
    buildWelcome(SSTab1_->addPage(tr("Welcome")));
    // The first window shows none of these: each is made when first shown or first read.
    SSTab1_->addPage(tr("Mod Settings"), [this](QWidget* page) { buildModSettings(page); });
    SSTab1_->addPage(tr("Deathmatch Options"),
                     [this](QWidget* page) { buildDeathmatchOptions(page); });
    SSTab1_->addPage(tr("Server Settings"), [this](QWidget* page) { buildServerSettings(page); });
    QWidget* run = SSTab1_->addPage(tr("Run Quake II"), [this](QWidget* page) { buildRun(page); });
    SSTab1_->setCurrentIndex(0);
    connect(SSTab1_, &QTabWidget::currentChanged, this, [this, run](int index) {
        if (SSTab1_->widget(index) == run) {
            findEngines();
        }
    });

    buildSetupRow();
    auto* cmdAbout = makeButton(this, "cmdAbout", tr("&About"), {6840, 6840, 1095, 375});
    auto* cmdClose = makeButton(this, "cmdClose", tr("&Close"), {8040, 6840, 1095, 375});
    connect(cmdAbout, &QPushButton::clicked, this, &frmVelo::cmdAbout_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmVelo::cmdClose_Click);
}

frmVelo::~frmVelo() = default;

void frmVelo::buildWelcome(QWidget* page) {
    makePicture(page, "Image5", QStringLiteral(":/art/welcome.picture"), {1200, 720, 6930, 5280});
}

void frmVelo::buildModSettings(QWidget* page) {
    makeLabel(page, "lblQPath", tr("Quake II Path"), {2760, 480, 2895, 255}, true);
    txtQDir_ = makeEdit(page, "txtQDir", loadedFolder_, {2760, 840, 2175, 285}, 0, true);
    auto* cmdQDir = makeButton(page, "cmdQDir", QStringLiteral("..."), {4980, 840, 375, 285});
    cmdQDir->setToolTip(tr("Choose another game directory"));
    makeLabel(page, "lblModSel", tr("Quake II MODs"), {5760, 480, 1815, 255}, true);
    // Made editable and named only when first used (modList): a line edit and its
    // completer are not worth their memory at start-up on a page not yet opened.
    auto* mods = makeListCombo(page, "", loadedMods_, QString(), {5760, 840, 2775, 315}, false);
    cmbMod_ = mods;
    cmbMod_->installEventFilter(this);
    connect(mods, &ListCombo::listOpening, this, &frmVelo::cmbMod_ListOpening);
    auto* cmdEdit = makeButton(page, "cmdEdit", tr("Edit List"), {5760, 1320, 1215, 375});
    makePicture(page, "Image2", QStringLiteral(":/art/mods.picture"), {120, 1200, 5265, 5340});

    connect(cmdQDir, &QPushButton::clicked, this, &frmVelo::cmdQDir_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmVelo::cmdEdit_Click);
}

void frmVelo::buildDeathmatchOptions(QWidget* page) {
    makeLabel(page, "Label4", tr("Control Settings"), {240, 480, 1575, 255}, true);
    chkFreelook_ = makeCheck(page, "chkFreelook", tr("Freelook"), {240, 840, 1335, 255}, true);
    makeCheck(page, "chkRun", tr("Always Run"), {240, 1200, 1695, 255}, true);
    makeCheck(page, "Check6", tr("Crosshair"), {240, 1560, 1455, 255}, true);
    makeLabel(page, "Label5", tr("Sensitivity"), {1920, 960, 2175, 255});
    HScroll1_ = makeHScroll(page, "HScroll1", 1, 13, 3, {1920, 1200, 2055, 255});
    txtFreelook_ =
        makeEdit(page, "txtFreelook", qs(kept_.Sensitivity), {4080, 1200, 375, 285}, 2, true);
    makeLabel(page, "Label9", tr("Handness"), {6360, 480, 1335, 255}, true);
    makeOption(page, "optLeft", tr("Left Handed"), {6360, 960, 1575, 195}, false);
    makeOption(page, "OptRight", tr("Right Handed"), {6360, 1320, 1455, 195}, false);
    makeOption(page, "OptCenter", tr("Off (Centered)"), {6360, 1680, 1815, 195}, true);
    makeLabel(page, "Label8", tr("Key Setup"), {6480, 4200, 1335, 255}, true);
    Combo1_ =
        makeCombo(page, "Combo1",
                  {QStringLiteral("ESDF"), QStringLiteral("Standard"), QStringLiteral("Custom")},
                  tr("Choose Key Setup"), {6480, 4560, 2295, 315}, /*editable*/ false);
    cmdCustom_ = makeButton(page, "cmdCustom", tr("C&ustom"), {6480, 5040, 1335, 375});
    cmdCustom_->setEnabled(false);
    auto* cmdExtra = makeButton(page, "cmdExtra", tr("Extra Settings"), {6480, 5640, 1335, 375});
    makePicture(page, "Image1", QStringLiteral(":/art/deathmatch.picture"),
                {120, 3360, 4665, 3345});

    connect(Combo1_, &QComboBox::activated, this, &frmVelo::Combo1_Click);
    connect(cmdCustom_, &QPushButton::clicked, this, &frmVelo::cmdCustom_Click);
    connect(cmdExtra, &QPushButton::clicked, this, &frmVelo::cmdExtra_Click);
    connectLaunchOptions();
}

void frmVelo::buildServerSettings(QWidget* page) {
    makeLabel(page, "Label6", tr("Server Commands"), {240, 480, 2055, 255}, true);
    chkDedicated_ = makeCheck(page, "chkDedicated", tr("Dedicated"), {240, 840, 1455, 255}, false);
    makeLabel(page, "Label7", tr("Maps"), {2400, 480, 1575, 255}, true);
    txtMap_ = makeEdit(page, "txtMap", QStringLiteral("None"), {2400, 840, 1815, 285});
    txtMap_->installEventFilter(this);
    auto* cmdInsert = makeButton(page, "cmdInsert", tr("Insert"), {2400, 1200, 975, 375});
    makeLabel(page, "Label10", tr("Game Setup"), {4560, 4920, 1935, 255}, true);
    sizeToText(makeLabel(page, "Label11", tr("Hostname"), {3600, 5280, 855, 195}, true));
    txtHostName_ =
        makeEdit(page, "txtHostName", QStringLiteral("Unnamed"), {4560, 5280, 1695, 285});
    sizeToText(makeLabel(page, "Label12", tr("Timelimit"), {3720, 5760, 750, 195}, true));
    txtTime_ = makeEdit(page, "txtTime", QStringLiteral("0"), {4560, 5760, 495, 285}, 3);
    sizeToText(makeLabel(page, "Label13", tr("Fraglimit"), {3720, 6240, 720, 195}, true));
    txtFrag_ = makeEdit(page, "txtFrag", QStringLiteral("0"), {4560, 6240, 495, 285}, 3);
    sizeToText(makeLabel(page, "lblMaxPlayers", tr("Max Players"), {5160, 5760, 1035, 195}, true));
    txtMaxPlayers_ =
        makeEdit(page, "txtMaxPlayers", QStringLiteral("8"), {6240, 5760, 420, 285}, 3);
    makeLabel(page, "Label3", tr("Deathmatch Flags"), {6840, 480, 1935, 255}, true);
    for (const FlagPlace& flag : kFlagPlaces) {
        const core::FlagBox& box = *core::findFlagBox(flag.box);
        const QByteArray name = "Check" + QByteArray::number(flag.box);
        makeCheck(page, name.constData(), tr(box.caption), flag.place, box.checkedAtStart);
    }
    makePicture(page, "Image3", QStringLiteral(":/art/server.picture"), {120, 2760, 3825, 3780});

    connect(cmdInsert, &QPushButton::clicked, this, &frmVelo::cmdInsert_Click);
    // Made with their start states, which the start total already holds.
    for (const core::FlagBox& box : core::flagBoxes()) {
        const QString name = QStringLiteral("Check%1").arg(box.box);
        connect(page->findChild<QCheckBox*>(name), &QCheckBox::toggled, this,
                [this, n = box.box](bool checked) { core::flagBoxClicked(kept_, n, checked); });
    }
}

void frmVelo::buildRun(QWidget* page) {
    makePicture(page, "Image4", QStringLiteral(":/art/run.picture"), {720, 360, 7575, 5790});
    auto* cmdJoin = makeButton(page, "cmdJoin", tr("&Join Game…"), {240, 5280, 1335, 495});
    connect(cmdJoin, &QPushButton::clicked, this, &frmVelo::cmdJoin_Click);
    cmdRunQuake_ = makeButton(page, "cmdRunQuake", tr("Run Quake II"), {240, 5880, 1335, 495});
    cmdBatch_ = makeButton(page, "cmdBatch", tr("Create .BAT File"), {7440, 5880, 1455, 495});
    auto* lblEngine = makeLabel(page, "lblEngine", tr("&Engine"), {1800, 6240, 735, 255}, true);
    cmbEngine_ = makeCombo(page, "cmbEngine", {}, QString(), {2520, 6195, 4800, 315}, false);
    lblEngine->setBuddy(cmbEngine_);
    connect(cmbEngine_, &QComboBox::activated, this, &frmVelo::cmbEngine_Click);

    connect(cmdRunQuake_, &QPushButton::clicked, this, &frmVelo::cmdRunQuake_Click);
    connect(cmdBatch_, &QPushButton::clicked, this, &frmVelo::cmdBatch_Click);
    // Composed when shown, so the tooltip follows every change on the pages.
    cmdRunQuake_->installEventFilter(this);
    cmdBatch_->installEventFilter(this);
}

void frmVelo::buildSetupRow() {
    // In the regular face, as the buttons beside it: a bold one is not worth loading for the
    // first window.
    auto* lblSetup = makeLabel(this, "lblSetup", tr("&Setup"), {120, 6915, 615, 255});
    cmbSetup_ = makeCombo(this, "cmbSetup", {tr("Start values")}, QString(), {720, 6870, 3255, 315},
                          /*editable*/ false);
    cmbSetup_->setCurrentIndex(0);
    lblSetup->setBuddy(cmbSetup_);
    auto* cmdSave = makeButton(this, "cmdSaveSetup", tr("Sa&ve…"), {4080, 6840, 1095, 375});
    auto* cmdDelete = makeButton(this, "cmdDeleteSetup", tr("&Delete"), {5280, 6840, 1095, 375});
    connect(cmbSetup_, &QComboBox::activated, this, &frmVelo::cmbSetup_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmVelo::cmdSaveSetup_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmVelo::cmdDeleteSetup_Click);
}

void frmVelo::connectLaunchOptions() {
    connect(findChild<QCheckBox*>(QStringLiteral("Check6")), &QCheckBox::toggled, this,
            [this](bool checked) { core::crosshairClicked(kept_, checked); });
    connect(findChild<QCheckBox*>(QStringLiteral("chkRun")), &QCheckBox::toggled, this,
            [this](bool checked) { core::alwaysRunClicked(kept_, checked); });
    connect(chkFreelook_, &QCheckBox::toggled, this, &frmVelo::chkFreelook_Click);
    // valueChanged follows the thumb while it is dragged, as well as every step.
    connect(HScroll1_, &QScrollBar::valueChanged, this, &frmVelo::HScroll1_Change);

    const std::array<std::pair<const char*, core::Hand>, 3> hands{{
        {"optLeft", core::Hand::Left},
        {"OptRight", core::Hand::Right},
        {"OptCenter", core::Hand::Centered},
    }};
    for (const auto& [name, hand] : hands) {
        connect(findChild<QRadioButton*>(QLatin1String(name)), &QRadioButton::toggled, this,
                [this, h = hand](bool selected) {
                    if (selected) {
                        core::handSelected(kept_, h);
                    }
                });
    }
}

std::optional<std::string> frmVelo::read(const char* section, const char* key) {
    core::SettingsRead result = settings_.ReadINI(section, key);
    if (result.error) {
        services_.message(nullptr, MessageKind::Plain,
                          tr("INI File error") + QLatin1String("\n\n") + describe(*result.error));
        return std::nullopt;
    }
    return std::move(result.value);
}

bool frmVelo::Form_Load() {
    const auto runSetup = read("Quake2", "RunSetup");
    if (!runSetup) {
        return false;
    }
    // The probe looks where the settings file is kept, whatever the current directory.
    std::optional<QString> chosen;
    if (*runSetup == "Yes" || !platform::FileExists(settings_.path())) {
        chosen = runLocator();
    }
    // The folder just chosen counts for this run even where it could not be saved.
    if (!chosen) {
        const auto path = read("Quake2", "Path");
        if (!path) {
            return false;
        }
        chosen = qs(*path);
    }
    loadedFolder_ = *chosen;
    loadedMods_.clear();
    for (char slot = '0'; slot <= '9'; ++slot) {
        const std::string key = std::string("Mod") + slot;
        const auto mod = read("Mod", key.c_str());
        if (!mod) {
            return false;
        }
        loadedMods_ << qs(*mod);
    }
    core::setStartValues(kept_);
    return true;
}

std::optional<QString> frmVelo::runLocator() {
    showIcon(); // the locator comes first and shows the main window's icon
    frmQ2Dir locator(settings_, services_, this);
    locator.setAtStartUp(true);
    locator.lookForGame();
    centreOnScreen(&locator);
    if (locator.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return locator.chosenFolder();
}

QComboBox* frmVelo::modList() const {
    buildPages();
    if (!cmbMod_->isEditable()) {
        makeEditable(cmbMod_, QLatin1String(kFirstMod));
        cmbMod_->setObjectName(QStringLiteral("cmbMod"));
    }
    return cmbMod_;
}

QString frmVelo::gameDirectory() const {
    buildPages();
    return txtQDir_->text();
}

void frmVelo::buildPages() const {
    SSTab1_->buildAll();
}

core::LaunchOptions frmVelo::currentOptions() const {
    buildPages();
    core::LaunchOptions options = kept_;
    options.GameDir = ss(gameDirectory());
    options.ModName = ss(modList()->currentText());
    options.Sensitivity = ss(txtFreelook_->text());
    options.Dedicated = chkDedicated_->isChecked();
    options.MapName = ss(txtMap_->text());
    options.HostName = ss(txtHostName_->text());
    options.FragLimit = ss(txtFrag_->text());
    options.TimeLimit = ss(txtTime_->text());
    options.MaxPlayers = ss(txtMaxPlayers_->text());
    return options;
}

void frmVelo::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (windowIcon().isNull()) {
        QTimer::singleShot(0, this, &frmVelo::showIcon);
    }
}

void frmVelo::showIcon() {
    if (windowIcon().isNull()) {
        setWindowIcon(drawnIcon(QStringLiteral(":/art/app-icon.picture")));
    }
}

void frmVelo::closeEvent(QCloseEvent* event) {
    event->accept();
    services_.quit(0);
}

void frmVelo::cmdClose_Click() {
    close();
}

void frmVelo::cmdAbout_Click() {
    frmAbout about(services_, this);
    centreOnScreen(&about);
    about.exec();
}

void frmVelo::cmdCustom_Click() {
    frmKeys keys(gameDirectory(), mouse_, services_, this);
    centreOnScreen(&keys);
    keys.exec();
}

void frmVelo::cmdEdit_Click() {
    if (modEditor_) {
        modEditor_->raise();
        modEditor_->activateWindow();
        return;
    }
    modEditor_ = new frmMod(settings_, services_, *modList(), this);
    connect(modEditor_, &QDialog::finished, modEditor_, &QObject::deleteLater);
    modEditor_->Form_Load();
    centreOnScreen(modEditor_);
    modEditor_->show();
}

void frmVelo::cmdExtra_Click() {
    frmExtra extra(gameDirectory(), extraLines_, services_, this);
    centreOnScreen(&extra);
    extra.exec();
}

void frmVelo::cmdQDir_Click() {
    frmQ2Dir locator(settings_, services_, this);
    // Without a game folder of its own, the locator goes looking as at the first start.
    if (!locator.openOn(txtQDir_->text())) {
        locator.lookForGame();
    }
    centreOnScreen(&locator);
    if (locator.exec() == QDialog::Accepted) {
        txtQDir_->setText(locator.chosenFolder());
    }
}

void frmVelo::chkFreelook_Click() {
    HScroll1_->setEnabled(chkFreelook_->isChecked());
}

void frmVelo::HScroll1_Change() {
    txtFreelook_->setText(QString::number(HScroll1_->value()));
}

void frmVelo::Combo1_Click() {
    const std::string layout = ss(Combo1_->currentText());
    if (const auto script = scripts::presetScript(layout)) {
        const std::string path = scripts::mainScriptPath(ss(gameDirectory()));
        if (auto error = scripts::writeScript(path, *script)) {
            warn(services_, this, tr("The key layout could not be written."), *error);
        }
    }
    cmdCustom_->setEnabled(layout == "Custom");
}

void frmVelo::findEngines() {
    buildPages();
    // Nothing found is looked for again: Wine or an engine may have come since.
    if (!engines_.empty() && enginesFor_ == gameDirectory()) {
        return;
    }
    enginesFor_ = gameDirectory();
    engines_ = services_.findEngines(ss(enginesFor_));
    // An unreadable file leaves the choice to the first engine found.
    if (!engineFromSetup_) {
        keptEngine_ = settings_.ReadINI("Quake2", "Engine").value;
    }
    fillEngineList();
}

void frmVelo::fillEngineList() {
    cmbEngine_->clear();
    QStyleOptionComboBox box;
    box.initFrom(cmbEngine_);
    const int room =
        cmbEngine_->style()
            ->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, cmbEngine_)
            .width();
    // A long path loses its middle, not the program's name; the whole label is its tooltip.
    const auto add = [&](const QString& label, const std::string& program) {
        cmbEngine_->addItem(cmbEngine_->fontMetrics().elidedText(label, Qt::ElideMiddle, room),
                            qs(program));
        cmbEngine_->setItemData(cmbEngine_->count() - 1, label, Qt::ToolTipRole);
    };
    int chosen = -1;
    for (const platform::Engine& engine : engines_) {
        if (engine.program == keptEngine_) {
            chosen = cmbEngine_->count();
        }
        add(qs(platform::engineLabel(engine)), engine.program);
    }
    if (!keptEngine_.empty() && chosen < 0) {
        // A kept engine elsewhere ("Other…") or gone: shown by name, never replaced.
        const platform::EngineLookup kept = services_.engineAt(keptEngine_);
        chosen = cmbEngine_->count();
        add(kept.engine ? qs(platform::engineLabel(*kept.engine))
                        : tr("Not found: %1").arg(qs(keptEngine_)),
            keptEngine_);
    } else if (engines_.empty()) {
        add(tr("No engine found"), {});
    }
    add(tr("Other…"), {});
    cmbEngine_->setCurrentIndex(std::max(chosen, 0));
    cmbEngine_->setToolTip(cmbEngine_->currentData(Qt::ToolTipRole).toString());
}

platform::EngineLookup frmVelo::chosenEngine() {
    findEngines();
    if (keptEngine_.empty()) {
        if (engines_.empty()) {
            return {std::nullopt,
                    platform::Error{ss(gameDirectory()),
                                    ss(tr("no engine was found in this folder, on the PATH or "
                                          "among the system's engines: install one (on "
                                          "Linux, Quake2.exe needs Wine), or pick a program "
                                          "with \"Other…\" on the \"Run Quake II\" page"))}};
        }
        return {engines_.front(), std::nullopt};
    }
    for (const platform::Engine& engine : engines_) {
        if (engine.program == keptEngine_) {
            return {engine, std::nullopt};
        }
    }
    return services_.engineAt(keptEngine_);
}

void frmVelo::cmbEngine_Click(int index) {
    std::string program = ss(cmbEngine_->itemData(index).toString());
    if (index == cmbEngine_->count() - 1) {
        FileDialogRequest request;
        request.filters = QStringList{tr("All Files(*)")};
        request.startFolder = gameDirectory();
        const auto path = services_.openFile(this, request);
        const platform::EngineLookup lookup =
            path ? services_.engineAt(ss(*path)) : platform::EngineLookup{};
        if (lookup.error) {
            warn(services_, this, tr("This program cannot start Quake II."), *lookup.error);
        }
        if (!lookup.engine) {
            fillEngineList();
            return;
        }
        program = lookup.engine->program;
    }
    if (program.empty()) {
        fillEngineList();
        return;
    }
    keptEngine_ = program;
    if (auto error = settings_.WriteINI("Quake2", "Engine", program)) {
        warn(services_, this, tr("The engine choice could not be kept."), *error);
    }
    fillEngineList();
}

core::StartPlan frmVelo::plan(const core::LaunchOptions& options,
                              const std::optional<core::Join>& join) {
    const platform::EngineLookup engine = chosenEngine();
    if (!engine.engine) {
        return {{}, {}, engine.error};
    }
    return core::planStart(*engine.engine, options, join);
}

void frmVelo::cmdRunQuake_Click() {
    startEngine(currentOptions(), std::nullopt);
}

void frmVelo::startEngine(const core::LaunchOptions& options,
                          const std::optional<core::Join>& join) {
    const core::StartPlan start = plan(options, join);
    platform::MaybeError error = start.error;
    if (!error) {
        // A server names its own mod; one that is missing here is the game's to fetch.
        if (!join && !modStarts(options.ModName)) {
            return;
        }
        error = services_.startGame(start.plan);
    }
    if (error) {
        warn(services_, this, tr("Quake II could not be started."), *error);
        return;
    }
    // Gone at once; back as they were only when the game fails right away.
    QToolTip::hideText();
    QWidgetList shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            shown << window;
            window->hide();
        }
    }
    const std::optional<platform::GameEnd> end = services_.watchGame();
    if (!end || !end->failed) {
        gameStarted_ = true;
        services_.quit(0);
        return;
    }
    for (QWidget* window : shown) {
        window->show();
    }
    services_.message(this, MessageKind::Warning, failedStart(*end));
}

void frmVelo::cmdJoin_Click() {
    if (servers_ != nullptr) {
        servers_->raise();
        servers_->activateWindow();
        return;
    }
    servers_ = new frmServers(settings_, services_, {}, this);
    servers_->setAttribute(Qt::WA_DeleteOnClose);
    connect(servers_, &frmServers::joinRequested, this, &frmVelo::joinServer);
    centreOnScreen(servers_);
    servers_->show();
}

void frmVelo::joinServer(const QString& address, const QString& password, const QString& gameDir) {
    core::LaunchOptions options = currentOptions();
    options.ModName = ss(gameDir);
    startEngine(options, core::Join{ss(address), ss(password)});
}

void frmVelo::cmdBatch_Click() {
    const bool scriptsRun = platform::shellScriptsRun();
    FileDialogRequest request;
    request.filters = QStringList{tr("Batch File(*.bat)")};
    if (scriptsRun) {
        request.filters << tr("Shell Script(*.sh)");
    }
    request.filters << tr("All Files(*.*)");
    request.suggestedName = qs(core::suggestedBatchName(ss(modList()->currentText())));
    const auto saved = services_.saveFile(this, request);
    if (!saved) {
        return;
    }
    const std::string file = ss(saved->path);
    // The type picked decides; with "All Files", a name ending in ".sh" asks for a script.
    const QString type = request.filters.value(saved->filter);
    const bool script =
        scriptsRun && (type == tr("Shell Script(*.sh)") ||
                       (type == tr("All Files(*.*)") && core::isShellScriptName(file)));
    // Either runs what "Run Quake II" would; with nothing to run, neither is written.
    const core::StartPlan start = plan(currentOptions());
    platform::MaybeError error = start.error;
    if (!error) {
        error = script ? core::writeLaunchScript(file, start.plan)
                       : core::writeBatchFile(file, start.plan.commandLine, ss(gameDirectory()));
    }
    if (error) {
        warn(services_, this,
             script ? tr("The shell script could not be written.")
                    : tr("The batch file could not be written."),
             *error);
    }
}

QString frmVelo::lineFor(const QObject* button) {
    const core::StartPlan start = plan(currentOptions());
    if (start.error) {
        return qs(start.error->message());
    }
    if (button == cmdBatch_) {
        return qs(core::batchLine(start.plan.commandLine, ss(gameDirectory())));
    }
    return qs(start.shown);
}

bool frmVelo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmbMod_ && event->type() == QEvent::Show) {
        modList();
    }
    if (watched == txtMap_ && event->type() == QEvent::FocusIn) {
        txtMap_GotFocus();
    }
    if (event->type() == QEvent::ToolTip && (watched == cmdRunQuake_ || watched == cmdBatch_)) {
        static_cast<QWidget*>(watched)->setToolTip(lineFor(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void frmVelo::cmdInsert_Click() {
    FileDialogRequest request;
    request.filters = QStringList{tr("Quake 2 Maps(*.bsp)")};
    // The mod's maps folder, else the base game's, else the game folder itself.
    const QString game = gameDirectory();
    const std::string base = platform::baseFolder(platform::nativePath(ss(game)));
    request.startFolder = game;
    for (const QString& folder : {QDir(game).filePath(modList()->currentText()), qs(base)}) {
        const QString maps = QDir(folder).filePath(QStringLiteral("maps"));
        if (!game.isEmpty() && QFileInfo(maps).isDir()) {
            request.startFolder = QDir::toNativeSeparators(maps);
            break;
        }
    }
    const auto path = services_.openFile(this, request);
    if (!path) {
        return;
    }
    // A name typed without any "." is taken whole.
    const QString name = QFileInfo(*path).fileName();
    txtMap_->setText(name.left(name.indexOf(QLatin1Char('.'))));
}

const std::vector<std::string>& frmVelo::installedMods() {
    const platform::EngineLookup engine = chosenEngine();
    const std::string game = platform::nativePath(ss(gameDirectory()));
    const std::string beside =
        engine.engine ? ss(QFileInfo(qs(engine.engine->program)).absolutePath()) : std::string();
    if (modsFor_ != std::pair{game, beside}) {
        modsFor_ = {game, beside};
        mods_ = core::findMods(game, beside);
    }
    return mods_;
}

void frmVelo::cmbMod_ListOpening() {
    QComboBox* box = modList();
    const QString text = box->currentText();
    while (box->count() > kModSlots) {
        box->removeItem(box->count() - 1);
    }
    QStringList kept;
    for (int slot = 0; slot < box->count(); ++slot) {
        kept << box->itemText(slot);
    }
    for (const std::string& mod : installedMods()) {
        if (!kept.contains(qs(mod))) {
            box->addItem(qs(mod));
        }
    }
    box->setEditText(text);
}

void frmVelo::txtMap_GotFocus() {
    QStringList maps;
    for (const std::string& map :
         core::findMaps(platform::nativePath(ss(gameDirectory())), ss(modList()->currentText()))) {
        maps << qs(map);
    }
    if (txtMap_->completer() == nullptr) {
        auto* completer = new QCompleter(txtMap_);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setModel(new QStringListModel(completer));
        txtMap_->setCompleter(completer);
    }
    static_cast<QStringListModel*>(txtMap_->completer()->model())->setStringList(maps);
}

bool frmVelo::modStarts(const std::string& mod) {
    if (mod.empty() || mod == kFirstMod) {
        return true;
    }
    const std::vector<std::string>& mods = installedMods();
    if (std::find(mods.begin(), mods.end(), mod) != mods.end()) {
        return true;
    }
    const QString game = qs(modsFor_.first);
    const QString beside = qs(modsFor_.second);
    const QString where = beside.isEmpty() || beside == game
                              ? tr("it is not in %1").arg(game)
                              : tr("it is in neither %1 nor %2").arg(game, beside);
    return services_.confirm(this,
                             tr("The mod \"%1\" is not installed: %2. The game would run the base "
                                "game instead.\n\nStart it anyway?")
                                 .arg(qs(mod), where),
                             tr("Start anyway"));
}

namespace {

// The three handedness options as one control.
struct HandOptions {
    QRadioButton* left;
    QRadioButton* right;
    QRadioButton* centered;
};

// The engine list as one control: the choice it starts with.
struct EngineChoice {};

// Takes each field from its control.
struct FromControls {
    void operator()(QComboBox* box, std::string& field) const { field = ss(box->currentText()); }
    void operator()(QLineEdit* edit, std::string& field) const { field = ss(edit->text()); }
    void operator()(QCheckBox* box, bool& field) const { field = box->isChecked(); }
    void operator()(QScrollBar* bar, int& field) const { field = bar->value(); }
    void operator()(const HandOptions& hand, core::Hand& field) const {
        field = hand.left->isChecked()    ? core::Hand::Left
                : hand.right->isChecked() ? core::Hand::Right
                                          : core::Hand::Centered;
    }
};

// Sets each control as a player would, so its handler keeps the launch options in step.
struct ToControls {
    void operator()(QComboBox* box, const std::string& field) const { box->setEditText(qs(field)); }
    void operator()(QLineEdit* edit, const std::string& field) const { edit->setText(qs(field)); }
    void operator()(QCheckBox* box, bool field) const { box->setChecked(field); }
    void operator()(QScrollBar* bar, int field) const { bar->setValue(field); }
    void operator()(const HandOptions& hand, core::Hand field) const {
        (field == core::Hand::Left    ? hand.left
         : field == core::Hand::Right ? hand.right
                                      : hand.centered)
            ->setChecked(true);
    }
};

} // namespace

template <class Visit> void frmVelo::eachSetupField(core::Setup& setup, Visit&& visit) {
    buildPages();
    const auto check = [this](const QString& name) { return findChild<QCheckBox*>(name); };
    visit(modList(), setup.Mod);
    visit(check(QStringLiteral("chkRun")), setup.AlwaysRun);
    visit(chkFreelook_, setup.Freelook);
    visit(HScroll1_, setup.Sensitivity);
    visit(check(QStringLiteral("Check6")), setup.Crosshair);
    visit(HandOptions{findChild<QRadioButton*>(QStringLiteral("optLeft")),
                      findChild<QRadioButton*>(QStringLiteral("OptRight")),
                      findChild<QRadioButton*>(QStringLiteral("OptCenter"))},
          setup.Handedness);
    visit(chkDedicated_, setup.Dedicated);
    visit(txtMap_, setup.Map);
    visit(txtHostName_, setup.HostName);
    visit(txtFrag_, setup.FragLimit);
    visit(txtTime_, setup.TimeLimit);
    visit(txtMaxPlayers_, setup.MaxPlayers);
    for (std::size_t i = 0; i < core::flagBoxes().size(); ++i) {
        visit(check(QStringLiteral("Check%1").arg(core::flagBoxes()[i].box)), setup.FlagBoxes[i]);
    }
}

core::Setup frmVelo::setupFromControls() {
    core::Setup setup;
    eachSetupField(setup, FromControls{});
    // The engine a start would use, so the setup starts the same one wherever it is kept.
    const platform::EngineLookup engine = chosenEngine();
    setup.Engine = engine.engine ? engine.engine->program : keptEngine_;
    return setup;
}

void frmVelo::showSetup(const core::Setup& setup) {
    core::Setup shown = setup;
    eachSetupField(shown, ToControls{});
    engineFromSetup_ = !setup.Engine.empty();
    // Without an engine of its own, the setup takes the launcher's kept choice.
    if (engineFromSetup_) {
        keptEngine_ = setup.Engine;
    } else if (!enginesFor_.isEmpty()) {
        keptEngine_ = settings_.ReadINI("Quake2", "Engine").value;
    }
    if (!enginesFor_.isEmpty()) {
        fillEngineList();
    }
}

void frmVelo::fillSetupList(const core::SetupIndex& index, const std::string& current) {
    cmbSetup_->clear();
    cmbSetup_->addItem(tr("Start values"));
    for (const std::string& name : index.names) {
        cmbSetup_->addItem(qs(name));
        if (core::sameSetupName(name, current)) {
            cmbSetup_->setCurrentIndex(cmbSetup_->count() - 1);
        }
    }
}

void frmVelo::tellFaults(const std::string& name, const std::vector<core::SetupFault>& faults) {
    if (faults.empty()) {
        return;
    }
    QString text = tr("The setup \"%1\" in %2 is damaged. These keys were ignored, and start "
                      "values taken for them:")
                       .arg(qs(name), qs(settings_.path()));
    for (const core::SetupFault& fault : faults) {
        text += QLatin1String("\n") + qs(fault.key) + QLatin1String(": ") + qs(fault.reason);
    }
    services_.message(this, MessageKind::Warning, text);
}

std::optional<std::string> frmVelo::readForSetups() {
    core::SettingsRead file = settings_.ReadAll();
    if (file.error) {
        warn(services_, this, tr("The setups could not be read."), *file.error);
        return std::nullopt;
    }
    return std::move(file.value);
}

bool frmVelo::showSetups(const core::SettingsRead& file, const std::string& named,
                         std::vector<core::SetupFault>* faults) {
    const core::SetupIndex index = core::indexSetups(file.value);
    const std::string name = named.empty() ? index.picked : named;
    const std::optional<std::string> saved = index.find(name);
    fillSetupList(index, saved.value_or(std::string()));
    if (!saved) {
        // A setup picked last and since removed by hand leaves the start values.
        return named.empty();
    }
    const core::SetupLoad load = core::loadSetup(file.value, *saved);
    showSetup(load.setup);
    if (faults != nullptr) {
        *faults = load.faults;
    } else {
        tellFaults(*saved, load.faults);
    }
    return true;
}

void frmVelo::cmbSetup_Click(int index) {
    const std::string name = index > 0 ? ss(cmbSetup_->itemText(index)) : std::string();
    const auto text = readForSetups();
    if (!text) {
        return;
    }
    core::SetupLoad load;
    if (!name.empty()) {
        load = core::loadSetup(*text, name);
        if (!load.found) {
            warn(services_, this, tr("This setup is no longer there."),
                 platform::Error{settings_.path(), "no setup named \"" + name + "\""});
            fillSetupList(core::indexSetups(*text), {});
            return;
        }
    }
    showSetup(load.setup);
    if (auto error =
            settings_.Edit([&name](std::string_view now) { return core::withPicked(now, name); })) {
        warn(services_, this, tr("The setup picked could not be kept."), *error);
    }
    tellFaults(name, load.faults);
}

void frmVelo::cmdSaveSetup_Click() {
    const std::string menu = services_.menuFolder();
    QString suggested = cmbSetup_->currentIndex() > 0 ? cmbSetup_->currentText() : QString();
    std::optional<SetupNameAnswer> answer;
    for (;;) {
        answer = services_.askSetupName(this, suggested, !menu.empty(),
                                        !menu.empty() && !suggested.isEmpty() &&
                                            core::hasMenuEntry(menu, ss(suggested)));
        if (!answer) {
            return;
        }
        const auto fault = core::setupNameFault(ss(answer->name));
        if (!fault) {
            break;
        }
        services_.message(this, MessageKind::Warning, qs(*fault));
        suggested = answer->name;
    }
    const std::string name = ss(answer->name);
    const auto text = readForSetups();
    if (!text) {
        return;
    }
    if (const auto existing = core::indexSetups(*text).find(name);
        existing &&
        !services_.confirm(
            this, tr("A setup named \"%1\" is already saved. Replace it?").arg(qs(*existing)),
            tr("&Replace"))) {
        return;
    }
    const core::Setup setup = setupFromControls();
    std::string saved;
    if (auto error = settings_.Edit([&](std::string_view now) {
            saved = core::withSetup(now, name, setup);
            return saved;
        })) {
        warn(services_, this, tr("The setup could not be saved."), *error);
        return;
    }
    fillSetupList(core::indexSetups(saved), name);
    if (menu.empty()) {
        return;
    }
    const platform::MaybeError entry =
        answer->addToMenu ? core::writeMenuEntry(menu, name) : core::removeMenuEntry(menu, name);
    if (entry) {
        warn(services_, this, tr("The Games menu entry could not be changed."), *entry);
    }
}

void frmVelo::cmdDeleteSetup_Click() {
    if (cmbSetup_->currentIndex() <= 0) {
        return;
    }
    const std::string name = ss(cmbSetup_->currentText());
    if (!services_.confirm(this, tr("Delete the setup \"%1\"?").arg(qs(name)), tr("&Delete"))) {
        return;
    }
    std::string left;
    if (auto error = settings_.Edit([&](std::string_view now) {
            left = core::withoutSetup(now, name);
            return left;
        })) {
        warn(services_, this, tr("The setup could not be deleted."), *error);
        return;
    }
    fillSetupList(core::indexSetups(left), {});
    if (const std::string menu = services_.menuFolder(); !menu.empty()) {
        if (auto error = core::removeMenuEntry(menu, name)) {
            warn(services_, this, tr("The Games menu entry could not be removed."), *error);
        }
    }
}

int runLauncher(core::SettingsFile& settings, Services& services) {
    frmVelo window(settings, services);
    if (!window.Form_Load()) {
        return 1;
    }
    // One read for every setup; the locator, if it came, changed none of them.
    window.showSetups(settings.ReadAll());
    window.show();
    centreOnScreen(&window);
    QTimer::singleShot(0, &window, [&window] { prepareCaptions(window); });
    return QApplication::exec();
}

int runSetup(core::SettingsFile& settings, Services& services, const std::string& name) {
    if (const auto missing = core::missingSetup(settings, name)) {
        std::fprintf(stderr, "velo-start: %s\n", missing->c_str());
        return core::kUsageExitStatus;
    }
    const core::SettingsRead file = settings.ReadAll();
    frmVelo window(settings, services);
    if (!window.Form_Load()) {
        return 1;
    }
    std::vector<core::SetupFault> faults;
    window.showSetups(file, name, &faults);
    for (const core::SetupFault& fault : faults) {
        std::fprintf(stderr, "velo-start: setup \"%s\": %s ignored: %s\n", name.c_str(),
                     fault.key.c_str(), fault.reason.c_str());
    }
    window.cmdRunQuake_Click();
    if (window.gameStarted()) {
        return 0;
    }
    window.show();
    centreOnScreen(&window);
    return QApplication::exec();
}

} // namespace velo::ui
