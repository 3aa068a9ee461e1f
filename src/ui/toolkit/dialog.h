#pragma once

#include <QDialog>

namespace velo::ui {

// A window whose closing handler runs exactly once however it closes: by its own
// button, by the close box or by Escape. Every one of them ends in done().
class ClosingDialog : public QDialog {
    Q_OBJECT
public:
    explicit ClosingDialog(QWidget* parent = nullptr);

    void done(int result) override;

protected:
    virtual void Form_Unload() = 0;

private:
    bool unloading_ = false;
};

// A title bar with a close box only.
void closeBoxOnly(QWidget* window);

} // namespace velo::ui
