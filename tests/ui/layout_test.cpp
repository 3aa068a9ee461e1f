// What a user would see go wrong in any window, read from the live widgets: a control
// outside its window, a clipped caption, a control hiding another or sitting on busy
// artwork, a jumping focus order, window buttons the layout does not have.
#include "launcher.h"

#include "ui/frmAbout/frmAbout.h"
#include "ui/frmExtra/frmExtra.h"
#include "ui/frmKeys/frmKeys.h"
#include "ui/frmMod/frmMod.h"
#include "ui/frmMouse/frmMouse.h"
#include "ui/frmQ2Dir/frmQ2Dir.h"
#include "ui/toolkit/widgets.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyleOption>
#include <QTabBar>

#include <algorithm>
#include <map>
#include <memory>

using namespace velo;

namespace {
using Faults = QStringList;

QString name(const QWidget* w) {
    return w->objectName().isEmpty() ? QLatin1String(w->metaObject()->className())
                                     : w->objectName();
}

// The controls a container places itself: its own child widgets, not their insides.
QList<QWidget*> controls(QWidget* container) {
    QList<QWidget*> list;
    for (auto* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isWindow()) {
            list << w;
        }
    }
    return list;
}

QSize textSize(const QWidget* w, const QString& text) {
    return w->fontMetrics().size(Qt::TextShowMnemonic, text);
}

bool isCheck(const QWidget* w) {
    return qobject_cast<const QCheckBox*>(w) != nullptr ||
           qobject_cast<const QRadioButton*>(w) != nullptr;
}

QStyleOptionButton buttonOption(const QAbstractButton* w) {
    QStyleOptionButton option;
    option.initFrom(w);
    option.text = w->text();
    return option;
}

// Where a control shows something: a label only where its text is, a check box only where
// its indicator and caption are.
QRect shown(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        return QRect(label->contentsRect().topLeft(), textSize(label, label->text()))
            .intersected(label->rect())
            .translated(label->pos());
    }
    if (isCheck(w)) {
        auto* check = static_cast<const QAbstractButton*>(w);
        const QStyleOptionButton option = buttonOption(check);
        const QRect contents = w->style()->subElementRect(qobject_cast<const QRadioButton*>(w)
                                                              ? QStyle::SE_RadioButtonContents
                                                              : QStyle::SE_CheckBoxContents,
                                                          &option, w);
        return QRect(0, 0, contents.left() + textSize(w, check->text()).width(), w->height())
            .intersected(w->rect())
            .translated(w->pos());
    }
    return w->geometry();
}

// Lines lead from one control to another, or into a picture, and may touch what they join.
bool isLine(const QWidget* w) {
    return w->metaObject() == &QFrame::staticMetaObject;
}

// The area a line edit draws its text in, as the edit itself computes it.
QRect editArea(const QLineEdit* edit) {
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QRect r = edit->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit);
    return r.marginsRemoved(edit->textMargins()).adjusted(2, 1, -2, -1);
}

void checkText(QWidget* w, Faults& faults) {
    const auto fits = [&](const QString& text, const QRect& area) {
        const QSize size = textSize(w, text);
        if (size.width() > area.width() || w->fontMetrics().height() > area.height()) {
            faults << QStringLiteral("%1: \"%2\" needs %3x%4 pixels, has %5x%6")
                          .arg(name(w), text)
                          .arg(size.width())
                          .arg(w->fontMetrics().height())
                          .arg(area.width())
                          .arg(area.height());
        }
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        fits(label->text(), label->contentsRect());
    } else if (isCheck(w)) {
        auto* check = static_cast<QAbstractButton*>(w);
        const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
        const QStyleOptionButton button = buttonOption(check);
        const QRect indicator = w->style()->subElementRect(
            radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &button, w);
        if (!w->rect().contains(indicator)) {
            faults << name(w) + QLatin1String(": the indicator is cut");
        }
        fits(check->text(),
             w->style()->subElementRect(
                 radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &button, w));
    } else if (auto* push = qobject_cast<QPushButton*>(w)) {
        const QStyleOptionButton button = buttonOption(push);
        fits(push->text(), w->style()->subElementRect(QStyle::SE_PushButtonContents, &button, w));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        fits(edit->text(), editArea(edit));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable()) {
            fits(combo->currentText(),
                 editArea(combo->lineEdit()).translated(combo->lineEdit()->pos()));
        } else {
            QStyleOptionComboBox box;
            box.initFrom(combo);
            fits(combo->currentIndex() < 0 ? combo->placeholderText() : combo->currentText(),
                 w->style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField,
                                            combo));
        }
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        if (tabs->tabBar()->sizeHint().width() > tabs->width()) {
            faults << name(w) + QLatin1String(": the tab captions do not fit in one row");
        }
    }
}

// Plain: every pixel close to the area's first one, and far enough from the text colour
// of a control that lets the artwork show through.
void checkPlainUnder(ui::Picture* picture, QWidget* w, Faults& faults) {
    const QRect area = shown(w).intersected(picture->geometry()).translated(-picture->pos());
    const QImage image = picture->grab(area).toImage();
    const QColor first = image.pixelColor(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - first.red()) + std::abs(c.green() - first.green()) +
                    std::abs(c.blue() - first.blue()) >
                36) {
                faults << QStringLiteral("%1 sits on busy artwork of %2 at %3,%4")
                              .arg(name(w), name(picture))
                              .arg(area.x() + x)
                              .arg(area.y() + y);
                return;
            }
        }
    }
    if (qobject_cast<QLabel*>(w) != nullptr &&
        std::abs(first.lightness() - w->palette().color(QPalette::WindowText).lightness()) < 128) {
        faults << name(w) + QLatin1String(" is hard to read on ") + name(picture);
    }
}

void checkContainer(QWidget* container, Faults& faults) {
    const QList<QWidget*> list = controls(container);
    for (QWidget* w : list) {
        if (w->objectName().isEmpty()) {
            faults << QLatin1String("a ") + name(w) + QLatin1String(" has no name");
        }
        if (!container->rect().contains(shown(w))) {
            faults << QStringLiteral("%1 reaches outside %2").arg(name(w), name(container));
        }
        checkText(w, faults);
    }
    for (int i = 0; i < list.size(); ++i) {
        for (int j = i + 1; j < list.size(); ++j) {
            // Children are stacked in order, the last on top.
            QWidget* below = list[i];
            QWidget* above = list[j];
            if (isLine(below) || isLine(above) || !shown(below).intersects(shown(above))) {
                continue;
            }
            if (auto* picture = qobject_cast<ui::Picture*>(below)) {
                checkPlainUnder(picture, above, faults);
            } else {
                faults << QStringLiteral("%1 hides %2").arg(name(above), name(below));
            }
        }
    }
}

// The controls that Tab reaches, in the order it reaches them.
QList<QWidget*> focusChain(QWidget* window) {
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() &&
            controls(w->parentWidget()).contains(w)) {
            chain << w;
        }
    }
    return chain;
}

// Where a layout gives no focus order, Tab goes down each column, never back up it.
void checkColumns(const QList<QWidget*>& chain, Faults& faults) {
    for (int i = 0; i < chain.size(); ++i) {
        for (int j = i + 1; j < chain.size(); ++j) {
            const QRect a = chain[i]->geometry();
            const QRect b = chain[j]->geometry();
            if (chain[i]->parentWidget() == chain[j]->parentWidget() && a.left() <= b.right() &&
                b.left() <= a.right() && b.top() < a.top()) {
                faults << QStringLiteral("Tab goes up from %1 to %2")
                              .arg(name(chain[i]), name(chain[j]));
            }
        }
    }
}

// What the window manager is told, and what it then allows: read with xprop.
QString xprop(const QString& target, const QStringList& properties) {
    QProcess p;
    p.start(QStringLiteral("xprop"), QStringList{target} + properties);
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

bool underWindowManager() {
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
           !QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty() &&
           xprop(QStringLiteral("-root"), {QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
               .contains(QLatin1String("window id"));
}

void checkWindowButtons(QWidget* window, bool minimise, Faults& faults) {
    const Qt::WindowFlags flags = window->windowFlags();
    if (window->minimumSize() != window->maximumSize()) {
        faults << name(window) + QLatin1String(" can be resized");
    }
    if (!(flags & Qt::WindowCloseButtonHint) || (flags & Qt::WindowMaximizeButtonHint) ||
        bool(flags & Qt::WindowMinimizeButtonHint) != minimise) {
        faults << name(window) + QLatin1String(" asks for other window buttons");
    }
    if (!underWindowManager()) {
        return;
    }
    const QString id = QString::number(window->winId());
    QString allowed;
    for (int i = 0; i < 100 && !allowed.contains(QLatin1String("ACTION_CLOSE")); ++i) {
        QTest::qWait(20);
        allowed = xprop(QStringLiteral("-id"), {id, QStringLiteral("_NET_WM_ALLOWED_ACTIONS")});
    }
    // Function and decoration bits of the hints: minimise 8 and 32, maximise 16 and 64.
    const QStringList hints = xprop(QStringLiteral("-id"), {id, QStringLiteral("_MOTIF_WM_HINTS")})
                                  .section(QLatin1Char('='), 1)
                                  .split(QLatin1Char(','));
    const uint functions = hints.value(1).trimmed().toUInt(nullptr, 16);
    const uint decorations = hints.value(2).trimmed().toUInt(nullptr, 16);
    if (bool(functions & 8) != minimise || bool(decorations & 32) != minimise || (functions & 16) ||
        (decorations & 64)) {
        faults << name(window) + QLatin1String(" tells the window manager of other buttons");
    }
    if (!allowed.contains(QLatin1String("ACTION_CLOSE")) ||
        allowed.contains(QLatin1String("ACTION_MAXIMIZE")) ||
        allowed.contains(QLatin1String("ACTION_RESIZE"))) {
        faults << name(window) + QLatin1String(" can be maximised or resized: ") + allowed;
    }
}

// The focus orders the layouts give; the other windows follow their columns.
const std::map<QString, const char*> kFocusOrders = {
    {QStringLiteral("frmQ2Dir"), "cmdOkay lstFolders lstDrive"},
    {QStringLiteral("frmMouse"), "Command1 cmbButton1 Option1 Option2 cmbButton3 cmbButton2"},
    {QStringLiteral("frmExtra"),
     "chkRJ cmdClose txtTaunt1 txtTaunt2 txtTaunt3 txtTaunt4 txtTaunt5 txtRJ"},
    {QStringLiteral("frmMod"),
     "txtMod1 txtmod2 txtmod3 txtmod4 txtmod5 txtmod6 txtmod7 txtmod8 txtmod9 txtmod0 cmdClose"},
    {QStringLiteral("frmAbout"), "Command1"},
    {QStringLiteral("frmHalvern"), "Command1"},
};

Faults checkWindow(QWidget* window) {
    Faults faults;
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) {
        return {name(window) + QLatin1String(" never showed")};
    }
    checkWindowButtons(window, window->objectName() == QLatin1String("frmQ2Dir"), faults);
    checkContainer(window, faults);
    if (auto* tabs = window->findChild<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            checkContainer(tabs->widget(i), faults);
        }
        tabs->setCurrentIndex(0);
    }
    QStringList order;
    for (QWidget* w : focusChain(window)) {
        order << w->objectName();
    }
    // Tab goes round: the order counts from the control that has the focus at first.
    const QString first = window->focusWidget() ? window->focusWidget()->objectName() : QString();
    std::rotate(order.begin(), std::find(order.begin(), order.end(), first), order.end());
    const auto stated = kFocusOrders.find(window->objectName());
    if (stated == kFocusOrders.end()) {
        checkColumns(focusChain(window), faults);
    } else if (order.join(QLatin1Char(' ')) != QLatin1String(stated->second) ||
               window->focusWidget() == nullptr ||
               window->focusWidget()->objectName() != order[0]) {
        faults << name(window) + QLatin1String(" focus order: ") + order.join(QLatin1Char(' '));
    }
    window->hide();
    return faults;
}
} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void everyWindow_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"frmVelo", "frmQ2Dir", "frmKeys", "frmMouse", "frmExtra",
                                   "frmMod", "frmAbout", "frmHalvern"}) {
            QTest::newRow(window) << QString::fromLatin1(window);
        }
    }
    void everyWindow() {
        QFETCH(QString, window);
        test::Launcher launcher;
        QVERIFY(launcher.load());
        auto& services = launcher.services;
        ui::MouseSetup mouse;
        scripts::ExtraLines lines;
        const QString dir = QStringLiteral("C:\\Quake2");
        std::unique_ptr<QWidget> other;
        if (window == QLatin1String("frmQ2Dir")) {
            other = std::make_unique<ui::frmQ2Dir>(launcher.settings, services);
        } else if (window == QLatin1String("frmKeys")) {
            other = std::make_unique<ui::frmKeys>(dir, mouse, services);
        } else if (window == QLatin1String("frmMouse")) {
            other = std::make_unique<ui::frmMouse>();
        } else if (window == QLatin1String("frmExtra")) {
            other = std::make_unique<ui::frmExtra>(dir, lines, services);
        } else if (window == QLatin1String("frmMod")) {
            other = std::make_unique<ui::frmMod>(launcher.settings, services,
                                                 *launcher.get<QComboBox>("cmbMod"));
        } else if (window == QLatin1String("frmAbout")) {
            other = std::make_unique<ui::frmAbout>(services);
        } else if (window == QLatin1String("frmHalvern")) {
            other = std::make_unique<ui::frmHalvern>(services);
        }
        const Faults faults = checkWindow(other ? other.get() : launcher.window.get());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
