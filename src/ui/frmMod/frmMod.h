#pragma once

#include "ui/toolkit/dialog.h"

#include <array>

class QComboBox;
class QLineEdit;

namespace velo::core {
class SettingsFile;
}

namespace velo::ui {

class Services;

inline constexpr int kModSlots = 10;

// The mod list editor, modeless. "Close" saves the ten slots; however it closes, the main
// window's list takes the ten texts and asks for a mod again.
class frmMod : public ClosingDialog {
    Q_OBJECT
public:
    frmMod(core::SettingsFile& settings, Services& services, QComboBox& modList,
           QWidget* parent = nullptr);

    void Form_Load();
    void cmdClose_Click();

protected:
    void Form_Unload() override;

private:
    core::SettingsFile& settings_;
    Services& services_;
    QComboBox& modList_;
    std::array<QLineEdit*, kModSlots> slots_{};
};

} // namespace velo::ui
