#pragma once

#include <functional>
#include <vector>

#include "twips.h"

#include <QByteArray>
#include <QComboBox>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QIcon;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace velo::ui {

// Control factories: each places one control at its twips box under its layout name.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, Twips box,
                  bool bold = false);
// Grows a label the layout sizes to its text to the text at the font in use, once shown.
QLabel* sizeToText(QLabel* label);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, Twips box);
QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& text, Twips box,
                     bool checked);
QRadioButton* makeOption(QWidget* parent, const char* name, const QString& text, Twips box,
                         bool selected);
// maxLength 0 means no limit.
QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, Twips box,
                    int maxLength = 0, bool readOnly = false);
QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items,
                     const QString& text, Twips box, bool editable = true);
// Gives a combo box its line edit, showing text; the items stay as they are.
void makeEditable(QComboBox* combo, const QString& text);
QScrollBar* makeHScroll(QWidget* parent, const char* name, int minimum, int maximum, int value,
                        Twips box);
// A thin straight line drawn in the window's text colour.
QFrame* makeLine(QWidget* parent, const char* name, Twips box);

// A combo box that says when its list is about to open, so the list can be filled then.
class ListCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;

signals:
    void listOpening();
};
ListCombo* makeListCombo(QWidget* parent, const char* name, const QStringList& items,
                         const QString& text, Twips box, bool editable = true);

// A picture drawn from a recorded artwork resource, scaled to its box; clickable.
class Picture : public QWidget {
    Q_OBJECT
public:
    Picture(QWidget* parent, const QString& resource);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString resource_;
    QByteArray recording_;
};

Picture* makePicture(QWidget* parent, const char* name, const QString& resource, Twips box);

// An icon drawn from a recorded artwork resource at the size asked for.
QIcon drawnIcon(const QString& resource);

// A label that acts as a link: blue (on a dark background the palette's link colour), bold
// and underlined, with a pointing hand over it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);

signals:
    void clicked();

protected:
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showLinkColour();
};

LinkLabel* makeLink(QWidget* parent, const char* name, const QString& text, Twips box);

// A tab control whose pages take their controls' places relative to the control's own
// top-left corner, as the layouts give them: the page's offset inside the control is known
// only once the control is laid out, so the controls are shifted then, once.
class TabControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent);

    // A new page; place its controls in tab-control coordinates.
    QWidget* addPage(const QString& caption);
    // A page whose controls build makes when it is first shown, or first needed (buildAll):
    // a page never opened costs nothing at start-up.
    QWidget* addPage(const QString& caption, std::function<void(QWidget*)> build);
    // Makes the controls of every page not made yet.
    void buildAll();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build(int index);
    // Where a page's corner lies in the tab control, once the tab row has its height.
    QPoint pageOffset() const;

    bool placed_ = false;
    std::vector<std::function<void(QWidget*)>> builders_; // empty once made
};

// A fixed-size window of the given client area, opened centred on its screen.
void fixWindow(QWidget* window, const char* name, const QString& caption, int widthTwips,
               int heightTwips);
void centreOnScreen(QWidget* window);

// Draws the captions a shown window holds once, off the screen, so that their face is
// loaded and their letters drawn before the window's first paint. Called while the window
// manager maps a new window, it uses time the start would spend waiting.
void prepareCaptions(const QWidget& window);

} // namespace velo::ui

namespace velo::ui {
// Makes the artwork compiled into this library reachable under ":/art".
void loadArtwork();
} // namespace velo::ui
