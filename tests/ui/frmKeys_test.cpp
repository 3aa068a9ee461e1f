// The keyboard and mouse button windows, driven from the main window as a user does. The
// writer's own cases (the Duck lines, empty texts) are pinned byte for byte in scripts_test.
#include "launcher.h"
#include "scripts/expected_scripts.h"

#include <QLineEdit>
#include <QRadioButton>

using namespace velo;
using test::find;
using test::kDefaultCustom;
using test::mouseTail;
using test::whenModal;

namespace {
// "Custom" picked, as the keyboard window needs.
struct Game : test::Game {
    explicit Game(bool withBaseq2 = true) : test::Game(withBaseq2) { launcher->pick("Custom"); }
    void keyboard(const test::Act& act = {}) { open("cmdCustom", "Command1", act); }
    std::string script() const { return folder.read("baseq2/q2velo.txt"); }
};

// Opens the mouse window over the keyboard window; act works on it and closes it.
void mouse(QWidget* keys, const test::Act& act) {
    whenModal(act);
    find<QPushButton>(keys, "cmdMouse")->click();
}

QComboBox* button(QWidget* mouseWindow, int n) {
    return find<QComboBox>(mouseWindow, ("cmbButton" + QByteArray::number(n)).constData());
}

// What the mouse window shows: the selected option, the top list's state, the three texts.
QString state(QWidget* m) {
    return QStringLiteral("%1 %2 %3|%4|%5")
        .arg(QLatin1String(find<QRadioButton>(m, "Option1")->isChecked() ? "two" : "three"),
             QLatin1String(button(m, 3)->isEnabled() ? "enabled" : "disabled"),
             button(m, 1)->currentText(), button(m, 2)->currentText(), button(m, 3)->currentText());
}
} // namespace

class frmKeysTest : public QObject {
    Q_OBJECT

private slots:
    // The keyboard window starts afresh each time, and its close box and Escape write as
    // "&Close" does; the mouse window's choices last while "&Close" or Escape hides it, and
    // go with its close box.
    void mouseChoicesOutliveTheKeyboardWindowUntilTheCloseBox() {
        Game game;
        QStringList seen;
        game.keyboard([&](QWidget* keys) {
            find<QLineEdit>(keys, "txtForward")->setText(QStringLiteral("W"));
            find<QComboBox>(keys, "Combo1")->setCurrentIndex(8);
            mouse(keys, [&](QWidget* m) {
                seen << state(m);
                find<QRadioButton>(m, "Option2")->click();
                button(m, 3)->setCurrentText(QStringLiteral("Duck"));
                find<QRadioButton>(m, "Option1")->click();
                button(m, 2)->setCurrentIndex(2);
                find<QPushButton>(m, "Command1")->click();
            });
            keys->close();
        });
        QCOMPARE(mouseTail(game.script()),
                 std::string("bind mouse1 \"+Mouse 1\"\r\nbind mouse2 \"+Run\"\r\n"
                             "bind mouse3 \"+Duck\"\r\nexec q2extra.txt\r\n"
                             "bind mouse3 \"+movedown\"\r\n"));
        game.keyboard([&](QWidget* keys) {
            seen << find<QLineEdit>(keys, "txtForward")->text() +
                        find<QComboBox>(keys, "Combo1")->currentText();
            mouse(keys, [&](QWidget* m) {
                seen << state(m);
                button(m, 1)->setCurrentIndex(2);
                QTest::keyClick(m, Qt::Key_Escape);
            });
            mouse(keys, [&](QWidget* m) {
                seen << state(m);
                button(m, 1)->setCurrentIndex(0);
                m->close();
            });
            mouse(keys, [&](QWidget* m) {
                seen << state(m);
                m->close();
            });
            QTest::keyClick(keys, Qt::Key_Escape);
        });
        QCOMPARE(seen, QStringList({QStringLiteral("two disabled Mouse 1|Mouse 2|Mouse 3"),
                                    QStringLiteral("UPARROWBlaster"),
                                    QStringLiteral("two disabled Mouse 1|Run|Duck"),
                                    QStringLiteral("two disabled Run|Run|Duck"),
                                    QStringLiteral("two disabled Mouse 1|Mouse 2|Mouse 3")}));
        QCOMPARE(game.script(), kDefaultCustom);
        game.folder.write("baseq2/q2velo.txt", "old");
        game.keyboard();
        QCOMPARE(game.script(), kDefaultCustom);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void aLayoutThatCannotBeWrittenIsReportedAndTheWindowCloses() {
        Game game(/*withBaseq2*/ false);
        game.keyboard();
        QCOMPARE(game.failedWriteProblem("q2velo.txt"), QString());
    }
};

QTEST_MAIN(frmKeysTest)
#include "frmKeys_test.moc"
