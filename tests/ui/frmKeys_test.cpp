// The keyboard and mouse button windows, driven from the main window as a user does.
#include "launcher.h"
#include "modal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <filesystem>
#include <functional>

using namespace velo;
using test::find;
using test::whenModal;

namespace {
const char* const kUntouched = "bind 1 \"+use Blaster\"\r\n"
                               "bind 2 \"+use Shotgun\"\r\n"
                               "bind 3 \"+use Super Shotgun\"\r\n"
                               "bind 4 \"+use Machinegun\"\r\n"
                               "bind 5 \"+use Chaingun\"\r\n"
                               "bind 6 \"+use Grenade Launcher\"\r\n"
                               "bind 7 \"+use Rocket Launcher\"\r\n"
                               "bind 8 \"+use Hyperblaster\"\r\n"
                               "bind 9 \"+use Railgun\"\r\n"
                               "bind 0 \"+use BFG10K\"\r\n"
                               "bind UPARROW \"+forward\"\r\n"
                               "bind DOWNARROW \"+back\"\r\n"
                               "bind LEFTARROW \"+left\"\r\n"
                               "bind RIGHTARROW \"+right\"\r\n"
                               "bind . \"+moveleft\"\r\n"
                               "bind / \"weapnext\"\r\n"
                               "bind Z \"weapprev\"\r\n"
                               "bind ] \"invnext\"\r\n"
                               "bind [ \"invprev\"\r\n"
                               "bind ENTER \"invuse\"\r\n"
                               "bind DELETE \"invdrop\"\r\n"
                               "bind , \"+moveright\"\r\n"
                               "bind SPACE \"+moveup\"\r\n"
                               "bind CTRL \"+attack\"\r\n"
                               "bind C \"+movedown\"\r\n"
                               "bind mouse1 \"+Mouse 1\"\r\n"
                               "bind mouse2 \"+Mouse 2\"\r\n"
                               "bind mouse3 \"+Mouse 3\"\r\n"
                               "exec q2extra.txt\r\n";

using test::Act;

// "Custom" picked, as the keyboard window needs.
struct Game : test::Game {
    explicit Game(bool withBaseq2 = true) : test::Game(withBaseq2) { launcher->pick("Custom"); }
    void keyboard(const Act& act = {}) { open("cmdCustom", "Command1", act); }
    std::string script() const { return folder.read("baseq2/q2velo.txt"); }
};

// Opens the mouse window over the keyboard window; act works on it and closes it.
void mouse(QWidget* keys, const Act& act) {
    whenModal(act);
    find<QPushButton>(keys, "cmdMouse")->click();
}

QComboBox* button(QWidget* mouseWindow, int n) {
    const QByteArray name = "cmbButton" + QByteArray::number(n);
    return find<QComboBox>(mouseWindow, name.constData());
}

void closeMouse(QWidget* mouseWindow) {
    find<QPushButton>(mouseWindow, "Command1")->click();
}

// Texts separated by "|".
QStringList texts(const char* joined) {
    return QString::fromLatin1(joined).split(QLatin1Char('|'));
}

std::string lastLines(const std::string& script, std::size_t from) {
    std::size_t at = 0;
    for (std::size_t line = 1; line < from; ++line) {
        at = script.find('\n', at) + 1;
    }
    return script.substr(at);
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
        QCOMPARE(game.script(), std::string(kUntouched));
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
        QTest::newRow("empty text") << texts("|Attack|Freelook")
                                    << "bind mouse1 \"+\"\r\nbind mouse2 \"+Attack\"\r\n"
                                       "bind mouse3 \"+Freelook\"\r\nexec q2extra.txt\r\n";
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
        QCOMPARE(lastLines(game.script(), 26), tail.toStdString());
    }

    void typedTextsGoInUnchecked() {
        Game game;
        game.keyboard([](QWidget* keys) {
            find<QLineEdit>(keys, "txtJump")->clear();
            find<QLineEdit>(keys, "txtForward")->setText(QStringLiteral("\"w q\""));
            find<QComboBox>(keys, "Combo3")->setCurrentText(QStringLiteral("Ion Cannon"));
            find<QComboBox>(keys, "Combo10")->setCurrentText(QString());
        });
        const std::string script = game.script();
        QVERIFY(script.find("bind 3 \"+use Ion Cannon\"\r\n") != std::string::npos);
        QVERIFY(script.find("bind 0 \"+use \"\r\nbind \"w q\" \"+forward\"\r\n") !=
                std::string::npos);
        QVERIFY(script.find("bind ,  \"+moveright\"") == std::string::npos);
        QVERIFY(script.find("\r\nbind  \"+moveup\"\r\n") != std::string::npos);
    }

    void reopeningShowsDefaultsButKeepsTheMouseChoices() {
        Game game;
        game.keyboard([](QWidget* keys) {
            find<QLineEdit>(keys, "txtForward")->setText(QStringLiteral("W"));
            find<QComboBox>(keys, "Combo1")->setCurrentIndex(8);
            mouse(keys, [](QWidget* m) {
                button(m, 1)->setCurrentIndex(0);
                button(m, 2)->setCurrentIndex(2);
                closeMouse(m);
            });
        });
        QStringList seen;
        game.keyboard([&](QWidget* keys) {
            seen << find<QLineEdit>(keys, "txtForward")->text()
                 << find<QComboBox>(keys, "Combo1")->currentText();
            mouse(keys, [&](QWidget* m) {
                seen << button(m, 1)->currentText() << button(m, 2)->currentText();
                closeMouse(m);
            });
        });
        QCOMPARE(seen, texts("UPARROW|Blaster|Attack|Run"));
        QVERIFY(game.script().find("bind mouse2 \"+Run\"") != std::string::npos);
    }

    void mouseWindowOpensWithTwoButtonsAndTheThirdListDisabled() {
        Game game;
        game.keyboard([](QWidget* keys) {
            mouse(keys, [](QWidget* m) {
                QVERIFY(find<QRadioButton>(m, "Option1")->isChecked());
                QVERIFY(!find<QRadioButton>(m, "Option2")->isChecked());
                QVERIFY(!button(m, 3)->isEnabled());
                QCOMPARE(button(m, 3)->currentText(), QStringLiteral("Mouse 3"));
                QCOMPARE(button(m, 1)->currentText(), QStringLiteral("Mouse 1"));
                QCOMPARE(button(m, 1)->count(), 5);
                QCOMPARE(button(m, 2)->itemText(4), QStringLiteral("Duck"));
                closeMouse(m);
            });
        });
    }

    void closeBoxDiscardsTheMouseChoices() {
        Game game;
        QString reopened;
        game.keyboard([&](QWidget* keys) {
            mouse(keys, [](QWidget* m) {
                button(m, 1)->setCurrentIndex(0);
                m->close();
            });
            mouse(keys, [&](QWidget* m) {
                reopened = button(m, 1)->currentText();
                button(m, 2)->setCurrentIndex(0);
                m->close();
            });
        });
        QCOMPARE(reopened, QStringLiteral("Mouse 1"));
        QCOMPARE(game.script(), std::string(kUntouched));
    }

    void twoButtonsKeepDuckInTheDisabledList() {
        Game game;
        game.keyboard([](QWidget* keys) {
            mouse(keys, [](QWidget* m) {
                find<QRadioButton>(m, "Option2")->click();
                QVERIFY(button(m, 3)->isEnabled());
                button(m, 3)->setCurrentIndex(4);
                find<QRadioButton>(m, "Option1")->click();
                QVERIFY(!button(m, 3)->isEnabled());
                QCOMPARE(button(m, 3)->currentText(), QStringLiteral("Duck"));
                closeMouse(m);
            });
        });
        QVERIFY(lastLines(game.script(), 28) ==
                "bind mouse3 \"+Duck\"\r\nexec q2extra.txt\r\nbind mouse3 \"+movedown\"\r\n");
    }

    void aLayoutThatCannotBeWrittenIsReportedAndTheWindowCloses() {
        Game game(/*withBaseq2*/ false);
        game.keyboard();
        QCOMPARE(game.failedWriteProblem("q2velo.txt"), QString());
    }
};

QTEST_MAIN(frmKeysTest)
#include "frmKeys_test.moc"
