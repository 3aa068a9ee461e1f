#pragma once

#include "scripts/extra_script.h"
#include "ui/toolkit/dialog.h"

#include <array>

class QCheckBox;
class QLineEdit;

namespace velo::ui {

class Services;

// The extra settings: grappling hook and taunt keys. Every closing writes q2extra.txt;
// the grapple box's stored lines belong to the caller and outlive the window.
class frmExtra : public ClosingDialog {
    Q_OBJECT
public:
    frmExtra(QString gameDir, scripts::ExtraLines& lines, Services& services,
             QWidget* parent = nullptr);

    void chkRJ_Click();
    void cmdClose_Click();

protected:
    void Form_Unload() override;

private:
    QString gameDir_;
    scripts::ExtraLines& lines_;
    Services& services_;
    std::array<QLineEdit*, 5> txtTaunt_{};
    QLineEdit* txtRJ_;
    QCheckBox* chkRJ_;
};

} // namespace velo::ui
