#pragma once

#include "scripts/custom_layout.h"

#include <QDialog>

#include <array>
#include <memory>
#include <string>

class QComboBox;
class QRadioButton;

namespace velo::ui {

// The mouse button setup: what each of up to three mouse buttons does in the game.
class frmMouse : public QDialog {
    Q_OBJECT
public:
    explicit frmMouse(QWidget* parent = nullptr);

    // The texts of cmbButton1 ... cmbButton3, whatever the number of buttons.
    std::array<std::string, scripts::kMouseCount> choices() const;

    void Option1_Click();
    void Option2_Click();
    void Command1_Click();

protected:
    // Escape keeps the choices, as "&Close" does; only the close box discards them.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::array<QComboBox*, scripts::kMouseCount> cmbButton_{};
    QRadioButton* Option1_;
    QRadioButton* Option2_;
};

// The mouse window as the keyboard window reaches it. "&Close" only hides the window, so
// its choices last for the run; the close box discards it, and the next use starts afresh.
class MouseSetup {
public:
    MouseSetup();
    ~MouseSetup();
    MouseSetup(const MouseSetup&) = delete;
    MouseSetup& operator=(const MouseSetup&) = delete;

    // Shows the window modally.
    void show();
    // The window's texts, or the first texts when there is no window.
    std::array<std::string, scripts::kMouseCount> choices() const;

private:
    std::unique_ptr<frmMouse> window_;
};

} // namespace velo::ui
