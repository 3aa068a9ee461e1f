#include "frmMouse.h"

#include "ui/toolkit/dialog.h"
#include "ui/toolkit/widgets.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace velo::ui {

namespace {
QStringList entries() {
    QStringList list;
    for (const char* choice : scripts::mouseChoices()) {
        list << QLatin1String(choice);
    }
    return list;
}
} // namespace

frmMouse::frmMouse(QWidget* parent) : QDialog(parent) {
    loadArtwork();
    fixWindow(this, "frmMouse", tr("Mouse Button Setup"), 7560, 6165);
    closeBoxOnly(this);

    const auto& defaults = scripts::mouseDefaults();
    const QStringList list = entries();
    cmbButton_[0] =
        makeCombo(this, "cmbButton1", list, QLatin1String(defaults[0]), {240, 1560, 2175, 315});
    cmbButton_[1] =
        makeCombo(this, "cmbButton2", list, QLatin1String(defaults[1]), {5160, 1560, 2175, 315});
    cmbButton_[2] =
        makeCombo(this, "cmbButton3", list, QLatin1String(defaults[2]), {2640, 240, 2175, 315});
    cmbButton_[2]->setEnabled(false);
    makeLabel(this, "Label1", tr("# of Buttons"), {480, 3000, 1215, 255}, true);
    Option1_ = makeOption(this, "Option1", tr("Two Button"), {480, 3360, 1335, 255}, true);
    Option2_ = makeOption(this, "Option2", tr("Three Button"), {480, 3720, 1335, 255}, false);
    auto* Command1 = makeButton(this, "Command1", tr("&Close"), {3360, 5760, 975, 375});
    makePicture(this, "Image1", QStringLiteral(":/art/mouse.picture"), {1920, 840, 3765, 4500});
    makeLine(this, "Line1", {2400, 1800, 495, 15});
    makeLine(this, "Line2", {3720, 600, 15, 735});
    makeLine(this, "Line3", {4680, 1800, 495, 15});

    setTabOrder(Command1, cmbButton_[0]);
    setTabOrder(cmbButton_[0], Option1_);
    setTabOrder(Option1_, Option2_);
    setTabOrder(Option2_, cmbButton_[2]);
    setTabOrder(cmbButton_[2], cmbButton_[1]);
    Command1->setFocus();

    connect(Option1_, &QRadioButton::toggled, this, &frmMouse::Option1_Click);
    connect(Option2_, &QRadioButton::toggled, this, &frmMouse::Option2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMouse::Command1_Click);
}

std::array<std::string, scripts::kMouseCount> frmMouse::choices() const {
    std::array<std::string, scripts::kMouseCount> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = cmbButton_[i]->currentText().toStdString();
    }
    return texts;
}

void frmMouse::Option1_Click() {
    if (Option1_->isChecked()) {
        cmbButton_[2]->setEnabled(false);
    }
}

void frmMouse::Option2_Click() {
    if (Option2_->isChecked()) {
        cmbButton_[2]->setEnabled(true);
    }
}

void frmMouse::Command1_Click() {
    accept();
}

void frmMouse::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Command1_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

MouseSetup::MouseSetup() = default;
MouseSetup::~MouseSetup() = default;

void MouseSetup::show() {
    if (!window_) {
        // No parent: the window outlives the keyboard window it is shown over.
        window_ = std::make_unique<frmMouse>();
    }
    window_->setWindowModality(Qt::ApplicationModal);
    centreOnScreen(window_.get());
    if (window_->exec() != QDialog::Accepted) {
        window_.reset();
    }
}

std::array<std::string, scripts::kMouseCount> MouseSetup::choices() const {
    if (window_) {
        return window_->choices();
    }
    std::array<std::string, scripts::kMouseCount> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = scripts::mouseDefaults()[i];
    }
    return texts;
}

} // namespace velo::ui
