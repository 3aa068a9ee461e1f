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

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStyleOption>
#include <QTabBar>

#include <cstdlib>
#include <utility>

using namespace velo;

namespace {
using Faults = QStringList;

QSize textSize(const QWidget* w, const QString& text) {
    return w->fontMetrics().size(Qt::TextShowMnemonic, text);
}

// A check box's or option button's indicator, or its caption's room; none for other controls.
QRect checkPart(QWidget* w, bool indicator) {
    const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
    if (!radio && qobject_cast<QCheckBox*>(w) == nullptr) {
        return {};
    }
    QStyleOptionButton option;
    option.initFrom(w);
    option.text = static_cast<QAbstractButton*>(w)->text();
    const auto part = indicator
                          ? (radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator)
                          : (radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents);
    return w->style()->subElementRect(part, &option, w);
}

// Where a control shows something: a label where its text is, a check box where its
// indicator and caption are, anything else all over.
QRect shown(QWidget* w) {
    QRect r = w->geometry();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        r = QRect(label->contentsRect().topLeft(), textSize(w, label->text())).translated(w->pos());
    } else if (const QRect room = checkPart(w, false); room.isValid()) {
        r.setWidth(room.left() + textSize(w, static_cast<QAbstractButton*>(w)->text()).width());
    }
    return r.intersected(w->geometry());
}

// The room a line edit gives its text, as the edit itself computes it.
QRect editRoom(const QLineEdit* edit) {
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QRect r = edit->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit);
    return r.marginsRemoved(edit->textMargins()).adjusted(2, 1, -2, -1);
}

void checkText(QWidget* w, Faults& faults) {
    const auto fits = [&](const QString& text, const QRect& room) {
        if (textSize(w, text).width() > room.width() || w->fontMetrics().height() > room.height()) {
            faults << QStringLiteral("%1: \"%2\" does not fit").arg(w->objectName(), text);
        }
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        fits(label->text(), label->contentsRect());
    } else if (const QRect room = checkPart(w, false); room.isValid()) {
        if (!w->rect().contains(checkPart(w, true))) {
            faults << w->objectName() + QLatin1String(": the indicator is cut");
        }
        fits(static_cast<QAbstractButton*>(w)->text(), room);
    } else if (auto* push = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(w);
        option.text = push->text();
        fits(push->text(), w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        fits(edit->text(), editRoom(edit));
    } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable()) {
        fits(combo->currentText(), editRoom(combo->lineEdit()));
    } else if (combo != nullptr) {
        QStyleOptionComboBox box;
        box.initFrom(combo);
        fits(
            combo->currentIndex() < 0 ? combo->placeholderText() : combo->currentText(),
            w->style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, w));
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w);
               tabs && tabs->tabBar()->sizeHint().width() > tabs->width()) {
        faults << w->objectName() + QLatin1String(": the tab captions do not fit in one row");
    }
}

// Every pixel close to the first one.
bool isPlain(const QImage& image) {
    const QColor first = image.pixelColor(0, 0);
    for (int i = 0; i < image.width() * image.height(); ++i) {
        const QColor c = image.pixelColor(i % image.width(), i / image.width());
        const int distance = std::abs(c.red() - first.red()) + std::abs(c.green() - first.green()) +
                             std::abs(c.blue() - first.blue());
        if (distance > 36) {
            return false;
        }
    }
    return true;
}

// Plain under a control, and a transparent label's text colour far from it.
void checkPlainUnder(QWidget* picture, QWidget* w, Faults& faults) {
    const QRect area = shown(w).intersected(picture->geometry()).translated(-picture->pos());
    const QImage image = picture->grab(area).toImage();
    if (!isPlain(image)) {
        faults << w->objectName() + QLatin1String(" sits on busy artwork");
        return;
    }
    const QColor first = image.pixelColor(0, 0);
    if (qobject_cast<QLabel*>(w) &&
        std::abs(first.lightness() - w->palette().color(QPalette::WindowText).lightness()) < 128) {
        faults << w->objectName() + QLatin1String(" is hard to read on its picture");
    }
}

void checkContainer(QWidget* container, Faults& faults) {
    // The controls a container places itself: its own child widgets, not their insides.
    QList<QWidget*> list = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    list.removeIf([](QWidget* w) { return w->isWindow(); });
    for (QWidget* w : list) {
        if (w->objectName().isEmpty() || !container->rect().contains(shown(w))) {
            faults << QLatin1String(w->metaObject()->className()) + QLatin1Char(' ') +
                          w->objectName() + QLatin1String(" is nameless or outside its window");
        }
        checkText(w, faults);
        if (qobject_cast<ui::Picture*>(w) && isPlain(w->grab().toImage())) {
            faults << w->objectName() + QLatin1String(" shows no artwork");
        }
    }
    // Children are stacked in order, the last on top. Lines join controls to each other or
    // to a picture's parts, and may touch them.
    const auto isLine = [](QWidget* w) { return w->metaObject() == &QFrame::staticMetaObject; };
    for (int i = 0; i < list.size(); ++i) {
        for (int j = i + 1; j < list.size(); ++j) {
            if (isLine(list[i]) || isLine(list[j]) || !shown(list[i]).intersects(shown(list[j]))) {
                continue;
            }
            if (qobject_cast<ui::Picture*>(list[i])) {
                checkPlainUnder(list[i], list[j], faults);
            } else {
                faults << list[j]->objectName() + QLatin1String(" hides ") + list[i]->objectName();
            }
        }
    }
}

// A property of the root window ("-root") or of one window ("-id N"), as xprop prints it;
// empty without xprop.
QString xprop(const QString& which, const char* property) {
    QProcess p;
    p.start(QStringLiteral("xprop"), which.split(QLatin1Char(' ')) << QLatin1String(property));
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Only a close box, and a minimise box where the layout has one; never resizable. Under a
// window manager, also what it then allows.
void checkWindowButtons(QWidget* window, bool minimise, Faults& faults) {
    const Qt::WindowFlags flags = window->windowFlags();
    if (window->minimumSize() != window->maximumSize() || !(flags & Qt::WindowCloseButtonHint) ||
        (flags & Qt::WindowMaximizeButtonHint) ||
        bool(flags & Qt::WindowMinimizeButtonHint) != minimise) {
        faults << QLatin1String("other window buttons, or resizable");
    }
    if (QGuiApplication::platformName() != QLatin1String("xcb") ||
        !xprop(QStringLiteral("-root"), "_NET_SUPPORTING_WM_CHECK")
             .contains(QLatin1String("window id"))) {
        return;
    }
    const QString id = QStringLiteral("-id ") + QString::number(window->winId());
    QString allowed;
    for (int i = 0; i < 100 && !allowed.contains(QLatin1String("ACTION_CLOSE")); ++i) {
        QTest::qWait(20);
        allowed = xprop(id, "_NET_WM_ALLOWED_ACTIONS");
    }
    if (!allowed.contains(QLatin1String("ACTION_CLOSE")) ||
        allowed.contains(QLatin1String("ACTION_MAXIMIZE")) ||
        allowed.contains(QLatin1String("ACTION_RESIZE"))) {
        faults << QLatin1String("the window manager allows more: ") + allowed;
    }
}

Faults checkWindow(QWidget* window, const char* statedFocusOrder) {
    Faults faults;
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) {
        return {QStringLiteral("never shown")};
    }
    checkWindowButtons(window, window->objectName() == QLatin1String("frmQ2Dir"), faults);
    QList<QWidget*> containers{window};
    if (auto* tabs = window->findChild<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            containers << tabs->widget(i);
            checkContainer(tabs->widget(i), faults);
        }
        tabs->setCurrentIndex(0);
    }
    checkContainer(window, faults);
    // The controls of these containers that Tab reaches, in its order.
    QList<QWidget*> chain;
    QStringList order;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && containers.contains(w->parentWidget())) {
            chain << w;
            order << w->objectName();
        }
    }
    // Where a layout gives no focus order, Tab goes down each column, never back up it.
    for (int i = 0; statedFocusOrder == nullptr && i < chain.size(); ++i) {
        for (int j = i + 1; j < chain.size(); ++j) {
            const QRect a = chain[i]->geometry();
            const QRect b = chain[j]->geometry();
            if (chain[i]->parentWidget() == chain[j]->parentWidget() && a.left() <= b.right() &&
                b.left() <= a.right() && b.top() < a.top()) {
                faults << order[j] + QLatin1String(" is reached after ") + order[i];
            }
        }
    }
    // Tab goes round: the order counts from the control that has the focus at first.
    const qsizetype first = chain.indexOf(window->focusWidget());
    const QString from = (order.mid(first) + order.mid(0, first)).join(QLatin1Char(' '));
    if (statedFocusOrder != nullptr && from != QLatin1String(statedFocusOrder)) {
        faults << QLatin1String("focus order ") + from;
    }
    return faults;
}
} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    // The focus orders are the layouts' own; the other windows follow their columns.
    void everyWindow() {
        test::Launcher launcher;
        QVERIFY(launcher.load());
        auto& services = launcher.services;
        const QString dir = QStringLiteral("C:\\Quake2");
        ui::MouseSetup mouse;
        scripts::ExtraLines lines;
        ui::frmQ2Dir locator(launcher.settings, services);
        ui::frmKeys keys(dir, mouse, services);
        ui::frmMouse buttons;
        ui::frmExtra extra(dir, lines, services);
        ui::frmMod mods(launcher.settings, services, *launcher.window->modList());
        ui::frmAbout about(services);
        ui::frmHalvern credits(services);
        const std::pair<QWidget*, const char*> windows[] = {
            {launcher.window.get(), nullptr},
            {&locator, "cmdOkay lstFolders lstDrive"},
            {&keys, nullptr},
            {&buttons, "Command1 cmbButton1 Option1 Option2 cmbButton3 cmbButton2"},
            {&extra, "chkRJ cmdClose txtTaunt1 txtTaunt2 txtTaunt3 txtTaunt4 txtTaunt5 txtRJ"},
            {&mods, "txtMod1 txtmod2 txtmod3 txtmod4 txtmod5 txtmod6 txtmod7 txtmod8 txtmod9 "
                    "txtmod0 cmdClose"},
            {&about, "Command1"},
            {&credits, "Command1"},
        };
        Faults faults;
        for (const auto& [window, focusOrder] : windows) {
            for (const QString& fault : checkWindow(window, focusOrder)) {
                faults << window->objectName() + QLatin1String(": ") + fault;
            }
            window->hide();
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
