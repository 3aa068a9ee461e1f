// The keyboard and mouse button windows, driven from the main window as a user does.
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

void closeMouse(QWidget* mouseWindow) {
    find<QPushButton>(mouseWindow, "Command1")->click();
}

QStringList texts(const char* joined) {
    return QString::fromLatin1(joined).split(QLatin1Char('|'));
}
} // namespace

class frmKeysTest : public QObject {
    Q_OBJECT

private slots:
    void everyWayOfClosingWritesTheUntouchedLayout_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close button") << "Command1";
        QTest::newRow("close box") << "";
        QTest::newRow("Escape") << "Escape";
    }
    void everyWayOfClosingWritesTheUntouchedLayout() {
        QFETCH(QString, how);
        Game game;
        game.keyboard([&](QWidget* keys) {
            if (how == QLatin1String("Escape")) {
                QTest::keyClick(keys, Qt::Key_Escape);
            } else if (how.isEmpty()) {
                keys->close();
            }
        });
        QCOMPARE(game.script(), kDefaultCustom);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void duckAddsALineForEachMouseButtonInOrder_data() {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("tail");
        QTest::newRow("second button") << texts("Mouse 1|Duck|Mouse 3")
                                       << "bind mouse1 \"+Mouse 1\"\r\nbind mouse2 \"+Duck\"\r\n"
                                          "bind mouse3 \"+Mouse 3\"\r\nexec q2extra.txt\r\n"
                                          "bind mouse2 \"+movedown\"\r\n";
        QTest::newRow("all three") << texts("Duck|Duck|Duck")
                                   << "bind mouse1 \"+Duck\"\r\nbind mouse2 \"+Duck\"\r\n"
                                      "bind mouse3 \"+Duck\"\r\nexec q2extra.txt\r\n"
                                      "bind mouse1 \"+movedown\"\r\nbind mouse2 \"+movedown\"\r\n"
                                      "bind mouse3 \"+movedown\"\r\n";
        QTest::newRow("small letters and a blank")
            << texts("duck|Duck |Run")
            << "bind mouse1 \"+duck\"\r\nbind mouse2 \"+Duck \"\r\n"
               "bind mouse3 \"+Run\"\r\nexec q2extra.txt\r\n";
    }
    void duckAddsALineForEachMouseButtonInOrder() {
        QFETCH(QStringList, choices);
        QFETCH(QString, tail);
        Game game;
        game.keyboard([&](QWidget* keys) {
            mouse(keys, [&](QWidget* m) {
                find<QRadioButton>(m, "Option2")->click();
                for (int n = 1; n <= 3; ++n) {
                    button(m, n)->setCurrentText(choices[n - 1]);
                }
                closeMouse(m);
            });
        });
        QCOMPARE(mouseTail(game.script()), tail.toStdString());
    }

    void emptyActionAndWeaponTextsGoInUnchecked() {
        Game game;
        game.keyboard([](QWidget* keys) {
            find<QLineEdit>(keys, "txtJump")->clear();
            find<QComboBox>(keys, "Combo10")->setCurrentText(QString());
        });
        const std::string script = game.script();
        QVERIFY(script.find("bind 0 \"+use \"\r\nbind UPARROW ") != std::string::npos);
        QVERIFY(script.find("\r\nbind  \"+moveup\"\r\n") != std::string::npos);
    }

    void reopeningShowsDefaultsButEscapeKeepsTheMouseChoices() {
        Game game;
        game.keyboard([](QWidget* keys) {
            find<QLineEdit>(keys, "txtForward")->setText(QStringLiteral("W"));
            find<QComboBox>(keys, "Combo1")->setCurrentIndex(8);
            mouse(keys, [](QWidget* m) {
                button(m, 2)->setCurrentIndex(2);
                QTest::keyClick(m, Qt::Key_Escape);
            });
        });
        QStringList seen;
        game.keyboard([&](QWidget* keys) {
            seen << find<QLineEdit>(keys, "txtForward")->text()
                 << find<QComboBox>(keys, "Combo1")->currentText();
            mouse(keys, [&](QWidget* m) {
                seen << button(m, 2)->currentText();
                closeMouse(m);
            });
        });
        QCOMPARE(seen, texts("UPARROW|Blaster|Run"));
        QVERIFY(game.script().find("bind mouse2 \"+Run\"") != std::string::npos);
    }

    void mouseWindowOpensAtItsDefaultsAndItsCloseBoxDiscards() {
        Game game;
        QStringList states;
        const auto state = [&states](QWidget* m) {
            states << QString::number(find<QRadioButton>(m, "Option1")->isChecked())
                   << QString::number(button(m, 3)->isEnabled()) << button(m, 1)->currentText()
                   << button(m, 3)->currentText() << button(m, 2)->itemText(4);
        };
        game.keyboard([&](QWidget* keys) {
            mouse(keys, [&](QWidget* m) {
                state(m);
                find<QRadioButton>(m, "Option2")->click();
                button(m, 1)->setCurrentIndex(0);
                m->close();
            });
            mouse(keys, [&](QWidget* m) {
                state(m);
                m->close();
            });
        });
        QCOMPARE(states, texts("1|0|Mouse 1|Mouse 3|Duck|1|0|Mouse 1|Mouse 3|Duck"));
        QCOMPARE(game.script(), kDefaultCustom);
    }

    void twoButtonsKeepDuckInTheDisabledList() {
        Game game;
        game.keyboard([](QWidget* keys) {
            mouse(keys, [](QWidget* m) {
                find<QRadioButton>(m, "Option2")->click();
                button(m, 3)->setCurrentText(QStringLiteral("Duck"));
                find<QRadioButton>(m, "Option1")->click();
                QVERIFY(!button(m, 3)->isEnabled());
                closeMouse(m);
            });
        });
        QCOMPARE(mouseTail(game.script()),
                 std::string("bind mouse1 \"+Mouse 1\"\r\nbind mouse2 \"+Mouse 2\"\r\n"
                             "bind mouse3 \"+Duck\"\r\nexec q2extra.txt\r\n"
                             "bind mouse3 \"+movedown\"\r\n"));
    }

    void aLayoutThatCannotBeWrittenIsReportedAndTheWindowCloses() {
        Game game(/*withBaseq2*/ false);
        game.keyboard();
        QCOMPARE(game.failedWriteProblem("q2velo.txt"), QString());
    }
};

QTEST_MAIN(frmKeysTest)
#include "frmKeys_test.moc"
