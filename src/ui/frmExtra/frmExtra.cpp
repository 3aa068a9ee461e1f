#include "frmExtra.h"

#include "scripts/game_files.h"
#include "ui/toolkit/services.h"
#include "ui/toolkit/widgets.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace velo::ui {

namespace {
constexpr std::array<int, 5> kLabelTops{600, 960, 1320, 1680, 2040};
// The first box stands a little higher than its label.
constexpr std::array<int, 5> kBoxTops{570, 960, 1320, 1680, 2040};
} // namespace

frmExtra::frmExtra(QString gameDir, scripts::ExtraLines& lines, Services& services, QWidget* parent)
    : ClosingDialog(parent), gameDir_(std::move(gameDir)), lines_(lines), services_(services) {
    loadArtwork();
    fixWindow(this, "frmExtra", tr("Extra Settings"), 7320, 4995);

    const scripts::ExtraSettings initial;
    makeLabel(this, "lblTaunt", tr("Taunt Keys"), {120, 120, 1215, 255}, true);
    for (std::size_t i = 0; i < txtTaunt_.size(); ++i) {
        const QByteArray n = QByteArray::number(static_cast<int>(i) + 1);
        makeLabel(this, ("lblWave" + n).constData(), tr("Wave") + QLatin1String(n),
                  {120, kLabelTops[i], 855, 255}, true);
        txtTaunt_[i] =
            makeEdit(this, ("txtTaunt" + n).constData(), QString::fromStdString(initial.taunts[i]),
                     {960, kBoxTops[i], 615, 285});
    }
    makeLabel(this, "lblCool", tr("Cool Settings"), {5520, 120, 1455, 255}, true);
    makeLabel(this, "lblKey", tr("Key"), {3960, 600, 495, 255}, true);
    txtRJ_ = makeEdit(this, "txtRJ", QString::fromStdString(initial.grappleKey),
                      {4560, 600, 375, 285}, 1);
    chkRJ_ = makeCheck(this, "chkRJ", tr("Grappling Hook"), {5400, 600, 1575, 255}, false);
    makePicture(this, "Image1", QStringLiteral(":/art/extra.picture"), {2760, 1680, 2205, 2955});
    auto* cmdClose = makeButton(this, "cmdClose", tr("Close"), {3120, 4560, 1215, 375});

    setTabOrder(chkRJ_, cmdClose);
    setTabOrder(cmdClose, txtTaunt_[0]);
    for (std::size_t i = 1; i < txtTaunt_.size(); ++i) {
        setTabOrder(txtTaunt_[i - 1], txtTaunt_[i]);
    }
    setTabOrder(txtTaunt_.back(), txtRJ_);
    chkRJ_->setFocus();

    connect(chkRJ_, &QCheckBox::toggled, this, &frmExtra::chkRJ_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmExtra::cmdClose_Click);
}

void frmExtra::chkRJ_Click() {
    lines_.grappleChanged(chkRJ_->isChecked());
}

void frmExtra::cmdClose_Click() {
    close();
}

void frmExtra::Form_Unload() {
    scripts::ExtraSettings settings;
    settings.grapple = chkRJ_->isChecked();
    settings.grappleKey = txtRJ_->text().toStdString();
    for (std::size_t i = 0; i < txtTaunt_.size(); ++i) {
        settings.taunts[i] = txtTaunt_[i]->text().toStdString();
    }
    const std::string path = scripts::extraScriptPath(gameDir_.toStdString());
    std::vector<scripts::Refusal> refused;
    const std::string script = scripts::extraScript(settings, lines_, &refused);
    if (auto error = scripts::writeScript(path, script)) {
        warn(services_, this, tr("The extra settings could not be written."), *error);
    } else if (!refused.empty()) {
        warnLeftOut(services_, this, QStringLiteral("q2extra.txt"), refused);
    }
}

} // namespace velo::ui
