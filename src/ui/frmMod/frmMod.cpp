#include "frmMod.h"

#include "core/settings.h"
#include "ui/toolkit/services.h"
#include "ui/toolkit/widgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace velo::ui {

namespace {
std::string keyOf(int slot) {
    return "Mod" + std::to_string(slot);
}
} // namespace

frmMod::frmMod(core::SettingsFile& settings, Services& services, QComboBox& modList,
               QWidget* parent)
    : ClosingDialog(parent), settings_(settings), services_(services), modList_(modList) {
    fixWindow(this, "frmMod", tr("Edit MOD List"), 4305, 4080);

    for (int slot = 0; slot < kModSlots; ++slot) {
        const int left = slot < 5 ? 120 : 2640;
        const int top = 480 + (slot % 5) * 600;
        // Slot 1's box has always had a capital M.
        const QByteArray name = (slot == 1 ? "txtMod" : "txtmod") + QByteArray::number(slot);
        // Slots 0 and 1 have labels of their own size; the others are sized to their text.
        auto* label =
            makeLabel(this, ("lblMod" + QByteArray::number(slot)).constData(), tr("MOD -"),
                      {left, top - 240, slot < 2 ? 495 : 465, slot < 2 ? 255 : 195});
        if (slot >= 2) {
            sizeToText(label);
        }
        slots_[static_cast<std::size_t>(slot)] =
            makeEdit(this, name.constData(), QString(), {left, top, 1455, 285});
    }
    auto* cmdClose = makeButton(this, "cmdClose", tr("Close"), {1440, 3480, 1215, 495});

    // Slot 0 is reached last, after slot 9.
    QWidget* previous = slots_[1];
    for (int slot : {2, 3, 4, 5, 6, 7, 8, 9, 0}) {
        setTabOrder(previous, slots_[static_cast<std::size_t>(slot)]);
        previous = slots_[static_cast<std::size_t>(slot)];
    }
    setTabOrder(previous, cmdClose);
    slots_[1]->setFocus();

    connect(cmdClose, &QPushButton::clicked, this, &frmMod::cmdClose_Click);
}

void frmMod::Form_Load() {
    for (int slot = 0; slot < kModSlots; ++slot) {
        const core::SettingsRead read = settings_.ReadINI("Mod", keyOf(slot));
        if (read.error) {
            warn(services_, this, tr("The mod list could not be read."), *read.error);
            return;
        }
        slots_[static_cast<std::size_t>(slot)]->setText(QString::fromStdString(read.value));
    }
}

void frmMod::cmdClose_Click() {
    for (int slot = 0; slot < kModSlots; ++slot) {
        const std::string text = slots_[static_cast<std::size_t>(slot)]->text().toStdString();
        if (auto error = settings_.WriteINI("Mod", keyOf(slot), text)) {
            // The rest would fail the same way; one message is enough.
            warn(services_, this, tr("The mod list could not be saved."), *error);
            break;
        }
    }
    close();
}

void frmMod::Form_Unload() {
    while (modList_.count() < kModSlots) {
        modList_.addItem(QString());
    }
    for (int slot = 0; slot < kModSlots; ++slot) {
        modList_.setItemText(slot, slots_[static_cast<std::size_t>(slot)]->text());
    }
    modList_.setEditText(tr("Choose the directory of the Mod!"));
}

} // namespace velo::ui
