#include "widgets.h"

#include "fonts.h"
#include "recorded.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QIconEngine>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QResource>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTabBar>

namespace velo::ui {

namespace {
template <class W> W* place(W* widget, const char* name, Twips box) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(toPixels(box));
    return widget;
}

// Check-box and option-button indicators no taller than their control: the style's own
// indicator is a pixel taller than the layouts' shortest boxes and would be cut.
class FittingIndicators : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        const bool indicator = metric == PM_IndicatorWidth || metric == PM_IndicatorHeight ||
                               metric == PM_ExclusiveIndicatorWidth ||
                               metric == PM_ExclusiveIndicatorHeight;
        return indicator && widget != nullptr ? std::min(value, widget->height()) : value;
    }
};

// One fitting style per window, given only to the controls too short for the indicator.
template <class W> W* fitIndicator(W* control, QStyle::PixelMetric metric) {
    if (control->style()->pixelMetric(metric, nullptr, control) <= control->height()) {
        return control;
    }
    QWidget* window = control->window();
    auto* style = window->findChild<FittingIndicators*>(QString(), Qt::FindDirectChildrenOnly);
    if (style == nullptr) {
        style = new FittingIndicators(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(window);
    }
    control->setStyle(style);
    return control;
}

// A click: the left button let go over the control it was pressed on.
bool releasedInside(const QWidget* widget, const QMouseEvent* event) {
    return event->button() == Qt::LeftButton &&
           widget->rect().contains(event->position().toPoint());
}
} // namespace

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, Twips box, bool bold) {
    auto* label = place(new QLabel(parent), name, box);
    // Captions are plain words: not looking for markup in them spares the first window
    // the code that would.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(bold ? boldFont() : controlFont());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

namespace {
void growToText(QLabel* label) {
    label->resize(label->sizeHint().expandedTo(label->size()));
}

// Grows a label to its text when it is first shown: measuring reads the font, which a
// label on a page not yet opened need not do at start-up.
class GrowWhenShown : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            growToText(static_cast<QLabel*>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};
} // namespace

QLabel* sizeToText(QLabel* label) {
    if (label->isVisible()) {
        growToText(label);
    } else {
        label->installEventFilter(new GrowWhenShown(label));
    }
    return label;
}

namespace {
// Return or Enter presses the button that has the focus, as Space does, in every window;
// a dialog's default button still takes them where no button has the focus.
class Button : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            event->accept();
            if (!event->isAutoRepeat()) {
                click();
            }
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};
} // namespace

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, Twips box) {
    auto* button = place(new Button(text, parent), name, box);
    button->setFont(controlFont());
    button->setAutoDefault(false);
    return button;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& text, Twips box,
                     bool checked) {
    auto* check = place(new QCheckBox(text, parent), name, box);
    check->setFont(controlFont());
    check->setChecked(checked);
    return fitIndicator(check, QStyle::PM_IndicatorHeight);
}

QRadioButton* makeOption(QWidget* parent, const char* name, const QString& text, Twips box,
                         bool selected) {
    auto* option = place(new QRadioButton(text, parent), name, box);
    option->setFont(controlFont());
    option->setChecked(selected);
    return fitIndicator(option, QStyle::PM_ExclusiveIndicatorHeight);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, Twips box,
                    int maxLength, bool readOnly) {
    auto* edit = place(new QLineEdit(parent), name, box);
    edit->setFont(controlFont());
    if (maxLength > 0) {
        edit->setMaxLength(maxLength);
    }
    edit->setText(text);
    edit->setReadOnly(readOnly);
    edit->setTextMargins(1, 0, 1, 0);
    return edit;
}

namespace {
template <class Combo>
Combo* setUpCombo(Combo* combo, const QStringList& items, const QString& text, bool editable) {
    // A combo builds its drop-down list at once on a change of font and on setEditable; it
    // is built when first opened instead, and the windows' own font is the control font.
    if (combo->font() != controlFont()) {
        combo->setFont(controlFont());
    }
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    if (editable) {
        makeEditable(combo, text);
    } else {
        combo->setPlaceholderText(text);
    }
    return combo;
}
} // namespace

QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items,
                     const QString& text, Twips box, bool editable) {
    return setUpCombo(place(new QComboBox(parent), name, box), items, text, editable);
}

void ListCombo::showPopup() {
    emit listOpening();
    QComboBox::showPopup();
}

ListCombo* makeListCombo(QWidget* parent, const char* name, const QStringList& items,
                         const QString& text, Twips box, bool editable) {
    return setUpCombo(place(new ListCombo(parent), name, box), items, text, editable);
}

void makeEditable(QComboBox* combo, const QString& text) {
    combo->setLineEdit(new QLineEdit(combo));
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setEditText(text);
}

QScrollBar* makeHScroll(QWidget* parent, const char* name, int minimum, int maximum, int value,
                        Twips box) {
    auto* bar = place(new QScrollBar(Qt::Horizontal, parent), name, box);
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(value);
    // Reached by Tab like the other controls; the arrow keys then move it a step, Right and
    // Down to larger values (a scroll bar's keys are otherwise the other way round).
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setInvertedControls(false);
    return bar;
}

QFrame* makeLine(QWidget* parent, const char* name, Twips box) {
    auto* line = place(new QFrame(parent), name, box);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    line->setBackgroundRole(QPalette::WindowText);
    const QRect r = line->geometry();
    line->setGeometry(r.x(), r.y(), std::max(r.width(), 1), std::max(r.height(), 1));
    return line;
}

Picture::Picture(QWidget* parent, const QString& resource) : QWidget(parent), resource_(resource) {}

namespace {
// The resource's bytes where they lie in the program; stored unpacked, they are not copied.
QByteArray recordingIn(const QString& resource) {
    return QResource(resource).uncompressedData();
}
} // namespace

void Picture::paintEvent(QPaintEvent*) {
    // Looked up at the first paint, so the artwork of pages never opened costs nothing.
    if (recording_.isNull()) {
        recording_ = recordingIn(resource_);
    }
    QPainter painter(this);
    drawRecorded(painter, recording_, size());
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    if (releasedInside(this, event)) {
        emit clicked();
    }
    QWidget::mouseReleaseEvent(event);
}

Picture* makePicture(QWidget* parent, const char* name, const QString& resource, Twips box) {
    // Pictures lie beneath the controls, as the layouts overlap them in places.
    auto* picture = place(new Picture(parent, resource), name, box);
    picture->lower();
    return picture;
}

namespace {
// Draws the icon at whatever size is asked for, when it is asked for: the icon keeps no
// pixmaps of its own.
class PictureIcon : public QIconEngine {
public:
    explicit PictureIcon(const QString& resource) : recording_(recordingIn(resource)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->save();
        painter->translate(rect.topLeft());
        drawRecorded(*painter, recording_, rect.size());
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, pixmap.rect(), mode, state);
        return pixmap;
    }
    // The sizes a window manager is handed for title bars and task bars; desktops take
    // larger ones from the installed icon theme, found through the desktop file's name.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}};
    }
    QIconEngine* clone() const override { return new PictureIcon(*this); }

private:
    QByteArray recording_;
};
} // namespace

QIcon drawnIcon(const QString& resource) {
    return QIcon(new PictureIcon(resource));
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont font = boldFont();
    font.setUnderline(true);
    setFont(font);
    showLinkColour();
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void LinkLabel::showLinkColour() {
    // Link blue is unreadable on a dark background; there the desktop's own link colour.
    const QPalette& shown = palette();
    const QColor colour = shown.color(QPalette::Window).lightness() < 128
                              ? shown.color(QPalette::Link)
                              : QColor(0, 0, 255);
    if (shown.color(QPalette::WindowText) != colour) {
        QPalette colours = shown;
        colours.setColor(QPalette::WindowText, colour);
        setPalette(colours);
    }
}

void LinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        showLinkColour();
    }
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (releasedInside(this, event)) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

LinkLabel* makeLink(QWidget* parent, const char* name, const QString& text, Twips box) {
    return place(new LinkLabel(text, parent), name, box);
}

namespace {
// The layouts start their first rows 360 twips below the tab control's top, so the tabs
// stay within that height.
class TabRow : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        size.setHeight(std::min(size.height(), toPixels(0, 360).height()));
        return size;
    }
};
} // namespace

TabControl::TabControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new TabRow(this));
    tabBar()->setFont(tabFont());
    setDocumentMode(false);
    connect(this, &QTabWidget::currentChanged, this, &TabControl::build);
}

QWidget* TabControl::addPage(const QString& caption) {
    return addPage(caption, nullptr);
}

QWidget* TabControl::addPage(const QString& caption, std::function<void(QWidget*)> build) {
    auto* page = new QWidget;
    builders_.push_back(std::move(build));
    addTab(page, caption);
    return page;
}

void TabControl::buildAll() {
    for (int i = 0; i < count(); ++i) {
        build(i);
    }
}

void TabControl::build(int index) {
    const auto i = static_cast<std::size_t>(index);
    if (index < 0 || i >= builders_.size() || !builders_[i]) {
        return;
    }
    const auto make = std::move(builders_[i]);
    builders_[i] = nullptr;
    QWidget* page = widget(index);
    make(page);
    for (auto* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // Made after the others were placed: placed the same way.
        if (placed_) {
            child->move(child->pos() - pageOffset());
        }
        // Children made on a page already shown do not show by themselves.
        if (page->isVisible() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide)) {
            child->show();
        }
    }
}

QPoint TabControl::pageOffset() const {
    return widget(currentIndex())->mapTo(this, QPoint(0, 0));
}

void TabControl::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    if (placed_ || count() == 0) {
        return;
    }
    placed_ = true;
    const QPoint offset = pageOffset();
    for (int i = 0; i < count(); ++i) {
        for (auto* child : widget(i)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            child->move(child->pos() - offset);
        }
    }
}

void fixWindow(QWidget* window, const char* name, const QString& caption, int widthTwips,
               int heightTwips) {
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(caption);
    window->setFont(controlFont());
    window->setFixedSize(toPixels(widthTwips, heightTwips));
}

void prepareCaptions(const QWidget& window) {
    QImage scratch(256, 32, QImage::Format_RGB32);
    QPainter painter(&scratch);
    const auto draw = [&](const QWidget* widget, const QString& text) {
        if (!text.isEmpty() && widget->isVisibleTo(&window)) {
            painter.setFont(widget->font());
            painter.drawText(scratch.rect(), Qt::TextShowMnemonic, text);
        }
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        draw(label, label->text());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        draw(button, button->text());
    }
    for (const QComboBox* combo : window.findChildren<QComboBox*>()) {
        draw(combo, combo->currentText());
    }
    for (const QTabBar* bar : window.findChildren<QTabBar*>()) {
        for (int i = 0; i < bar->count(); ++i) {
            draw(bar, bar->tabText(i));
        }
    }
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace velo::ui

static void initArtResource() {
    Q_INIT_RESOURCE(art);
}

namespace velo::ui {
void loadArtwork() {
    static const bool loaded = (initArtResource(), true);
    (void)loaded;
}
} // namespace velo::ui
