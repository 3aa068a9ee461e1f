#pragma once

#include <QDialog>

namespace velo::ui {

class Services;

// The about window; its logo leads to the credits.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(Services& services, QWidget* parent = nullptr);

    void Image1_Click();
    void Command1_Click();

private:
    Services& services_;
};

// The credits: the four makers, each with an e-mail link.
class frmHalvern : public QDialog {
    Q_OBJECT
public:
    explicit frmHalvern(Services& services, QWidget* parent = nullptr);

    void Label4_Click();
    void Label5_Click();
    void Label16_Click();
    void Label15_Click();
    void Command1_Click();

private:
    void mail(const char* address);

    Services& services_;
};

} // namespace velo::ui
