#include "frmKeys.h"

#include "scripts/game_files.h"
#include "ui/frmMouse/frmMouse.h"
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/services.h"
#include "ui/toolkit/widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velo::ui {

namespace {
// Where each action box stands, in the order of the action table.
constexpr std::array<std::pair<int, int>, scripts::kActionCount> kActionPlaces{{
    {240, 1080},
    {240, 1800},
    {240, 2520},
    {240, 3240},
    {240, 3960},
    {240, 4680},
    {2400, 1080},
    {2400, 1800},
    {2400, 2520},
    {7080, 960},
    {7080, 1680},
    {7080, 2400},
    {7080, 3120},
    {7080, 3840},
    {7080, 4560},
}};
constexpr int kWeaponTop = 720;
constexpr int kWeaponStep = 480;

void makeHeading(QWidget* parent, const char* name, const QString& text, Twips box) {
    makeLabel(parent, name, text, box)->setFont(headingFont(16));
}
} // namespace

frmKeys::frmKeys(QString gameDir, MouseSetup& mouse, Services& services, QWidget* parent)
    : ClosingDialog(parent), gameDir_(std::move(gameDir)), mouse_(mouse), services_(services) {
    loadArtwork();
    fixWindow(this, "frmKeys", tr("Keyboard Setup"), 9690, 6555);

    makeHeading(this, "lblMovement", tr("Movement"), {240, 240, 1935, 375});
    makeHeading(this, "lblWeaponButtons", tr("Weapon Buttons"), {4440, 240, 2295, 375});
    makeHeading(this, "lblWeaponItem", tr("Weapon/Item Change"), {6840, 240, 2775, 375});
    makePicture(this, "Image1", QStringLiteral(":/art/keyboard.picture"), {840, 4080, 2865, 2400});

    const auto& actions = scripts::actions();
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const auto [left, top] = kActionPlaces[i];
        const QByteArray label = "lbl" + QByteArray(actions[i].box + 3);
        makeLabel(this, label.constData(), tr(actions[i].caption), {left, top - 240, 1455, 255},
                  true);
        actionBoxes_[i] = makeEdit(this, actions[i].box, QLatin1String(actions[i].defaultKey),
                                   {left, top, 1455, 285});
    }

    QStringList weapons;
    for (const char* weapon : scripts::weaponNames()) {
        weapons << QLatin1String(weapon);
    }
    for (std::size_t i = 0; i < weaponLists_.size(); ++i) {
        const int top = kWeaponTop + static_cast<int>(i) * kWeaponStep;
        const QByteArray name = "Combo" + QByteArray::number(static_cast<int>(i) + 1);
        makeLabel(this, ("lbl" + name).constData(), QLatin1String(scripts::weaponKeys()[i]),
                  {4320, top + 120, 255, 255}, true);
        weaponLists_[i] = makeCombo(this, name.constData(), weapons, weapons[static_cast<int>(i)],
                                    {4680, top, 1935, 315});
        weaponLists_[i]->setCurrentIndex(static_cast<int>(i));
    }

    auto* Command1 = makeButton(this, "Command1", tr("&Close"), {4440, 6120, 975, 375});
    auto* cmdMouse = makeButton(this, "cmdMouse", tr("Mouse &Setup"), {5640, 6120, 1335, 375});
    connect(Command1, &QPushButton::clicked, this, &frmKeys::Command1_Click);
    connect(cmdMouse, &QPushButton::clicked, this, &frmKeys::cmdMouse_Click);
}

void frmKeys::cmdMouse_Click() {
    mouse_.show();
}

void frmKeys::Command1_Click() {
    close();
}

scripts::CustomLayout frmKeys::layout() const {
    scripts::CustomLayout layout;
    for (std::size_t i = 0; i < weaponLists_.size(); ++i) {
        layout.weapons[i] = weaponLists_[i]->currentText().toStdString();
    }
    for (std::size_t i = 0; i < actionBoxes_.size(); ++i) {
        layout.keys[i] = actionBoxes_[i]->text().toStdString();
    }
    layout.mouse = mouse_.choices();
    return layout;
}

void frmKeys::Form_Unload() {
    const std::string path = scripts::mainScriptPath(gameDir_.toStdString());
    std::vector<scripts::Refusal> refused;
    const std::string script = scripts::customScript(layout(), &refused);
    if (auto error = scripts::writeScript(path, script)) {
        warn(services_, this, tr("The custom key layout could not be written."), *error);
    } else if (!refused.empty()) {
        warnLeftOut(services_, this, QStringLiteral("q2velo.txt"), refused);
    }
}

} // namespace velo::ui
