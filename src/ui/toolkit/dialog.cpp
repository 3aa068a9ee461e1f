#include "dialog.h"

namespace velo::ui {

ClosingDialog::ClosingDialog(QWidget* parent) : QDialog(parent) {
    closeBoxOnly(this);
}

void ClosingDialog::done(int result) {
    if (!unloading_) {
        unloading_ = true;
        Form_Unload();
        unloading_ = false;
    }
    QDialog::done(result);
}

void closeBoxOnly(QWidget* window) {
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
}

} // namespace velo::ui
