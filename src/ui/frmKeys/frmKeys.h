#pragma once

#include "scripts/custom_layout.h"
#include "ui/toolkit/dialog.h"

#include <array>

class QComboBox;
class QLineEdit;

namespace velo::ui {

class MouseSetup;
class Services;

// The custom keyboard setup. It keeps nothing between openings; every closing writes the
// custom layout as the main game script.
class frmKeys : public ClosingDialog {
    Q_OBJECT
public:
    frmKeys(QString gameDir, MouseSetup& mouse, Services& services, QWidget* parent = nullptr);

    void cmdMouse_Click();
    void Command1_Click();

protected:
    void Form_Unload() override;

private:
    scripts::CustomLayout layout() const;

    QString gameDir_;
    MouseSetup& mouse_;
    Services& services_;
    std::array<QLineEdit*, scripts::kActionCount> actionBoxes_{};
    std::array<QComboBox*, scripts::kWeaponCount> weaponLists_{};
};

} // namespace velo::ui
