// The secondary windows, driven from the main window as a user does: keyboard and mouse
// buttons, extra settings, the mod list editor, the about window and its credits. The
// script writers' own cases (mouse commands, empty texts, taunts) are pinned byte for byte in
// scripts_test.
#include "launcher.h"
#include "scripts/expected_scripts.h"

#include "ui/frmAbout/frmAbout.h"
#include "ui/frmMod/frmMod.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <filesystem>

using namespace velo;
using test::find;
using test::kAliases;
using test::kDefaultCustom;
using test::kTaunts;
using test::mouseTail;
using test::whenModal;

namespace {
// "Custom" picked, as the keyboard window needs.
struct Game : test::Game {
    explicit Game(bool withBaseq2 = true) : test::Game(withBaseq2) { launcher->pick("Custom"); }
    void keyboard(const test::Act& act = {}) { open("cmdCustom", "Command1", act); }
    void extra(const test::Act& act = {}) { open("cmdExtra", "cmdClose", act); }
    std::string script(const char* name = "q2velo.txt") const {
        return folder.read("baseq2/" + std::string(name));
    }
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

QCheckBox* grapple(QWidget* window) {
    return find<QCheckBox>(window, "chkRJ");
}

const std::string kTwoEmpty = "\r\n\r\n";
const QString kPrompt = QStringLiteral("Choose the directory of the Mod!");

QLineEdit* slot(QWidget* editor, int n) {
    const QByteArray name = (n == 1 ? "txtMod" : "txtmod") + QByteArray::number(n);
    return find<QLineEdit>(editor, name.constData());
}

ui::frmMod* openEditor(test::Launcher& launcher) {
    launcher.click("cmdEdit");
    return find<ui::frmMod>(launcher.window.get(), "frmMod");
}
} // namespace

class DialogsTest : public QObject {
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
                 std::string("bind mouse2 \"+speed\"\r\nbind mouse3 \"+movedown\"\r\n"
                             "exec q2extra.txt\r\n"));
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

    // The script's own cases are pinned byte for byte in scripts_test; here, what the window
    // adds: the one-character key, the close box writing too, and the alias lines the main
    // window keeps after the opening that set them.
    void theGrappleLinesOutliveTheOpeningThatSetThem() {
        Game game;
        game.folder.write("baseq2/q2extra.txt", std::string(400, 'x'));
        QString key;
        game.extra([&](QWidget* window) {
            auto* box = find<QLineEdit>(window, "txtRJ");
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("QRS"));
            key = box->text();
            QTest::mouseClick(grapple(window), Qt::LeftButton);
            window->close();
        });
        QCOMPARE(key, QStringLiteral("Q"));
        QCOMPARE(game.script("q2extra.txt"),
                 "bind Q \"+grapple \"\r\n" + kTaunts + kAliases + kTwoEmpty);
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        bool shownChecked = true;
        game.extra([&](QWidget* window) { shownChecked = grapple(window)->isChecked(); });
        QVERIFY(!shownChecked);
        QCOMPARE(game.script("q2extra.txt"), kTaunts + kAliases + kTwoEmpty);
    }

    // A key box whose text would let the game run console commands of its own loses its
    // binding, and the window says which box and which character; the rest is written.
    void aBindingThatWouldBreakIsLeftOutAndNamed() {
        const struct {
            bool extra; // the extra settings window, else the keyboard window
            const char* box;
            const char* text;
            const char* gone;
            std::vector<std::string> named;
        } rows[] = {
            {false,
             "txtForward",
             "F5; quit",
             "bind UPARROW",
             {"q2velo.txt", "\"Forward\"", "semicolon"}},
            {false, "Combo10", "BFG10K\"", "bind 0 ", {"\"Weapon Button 0\"", "double quote"}},
            {true, "txtTaunt2", "F 6", "wave 2", {"q2extra.txt", "\"Wave2\"", "blank"}},
        };
        for (const auto& row : rows) {
            Game game;
            const auto set = [&](QWidget* window) {
                auto* box = window->findChild<QWidget*>(QLatin1String(row.box));
                if (auto* combo = qobject_cast<QComboBox*>(box)) {
                    combo->setCurrentText(QLatin1String(row.text));
                } else {
                    qobject_cast<QLineEdit*>(box)->setText(QLatin1String(row.text));
                }
            };
            row.extra ? game.extra(set) : game.keyboard(set);
            QVERIFY2(game.launcher->services.warnedOnce(row.named), row.box);
            const std::string script = game.script(row.extra ? "q2extra.txt" : "q2velo.txt");
            QVERIFY2(script.find(row.gone) == std::string::npos, row.box);
            QCOMPARE(std::count(script.begin(), script.end(), '\n'), row.extra ? 8 : 25);
        }
    }

    void aScriptThatCannotBeWrittenIsReportedAndTheWindowCloses() {
        const char* const windows[][3] = {{"cmdCustom", "Command1", "q2velo.txt"},
                                          {"cmdExtra", "cmdClose", "q2extra.txt"}};
        for (const auto& [opener, closer, file] : windows) {
            Game game(/*withBaseq2*/ false);
            game.open(opener, closer, {});
            const QString problem = game.failedWriteProblem(file);
            QVERIFY2(problem.isEmpty(),
                     qPrintable(problem + QLatin1String(": ") + QLatin1String(file)));
        }
    }

    // Modeless and empty at first; "Close" saves the ten keys in order, empty ones too, and
    // fills the list; "Edit List" on the open editor only raises it; the close box fills the
    // list but not the file, so the next opening shows the file again; a list that cannot be
    // saved is reported and still reaches the main window.
    void closeSavesTheListAndTheCloseBoxOnlyFillsIt() {
        test::Launcher launcher;
        QVERIFY(launcher.load());
        auto* editor = openEditor(launcher);
        QVERIFY(!editor->isModal());
        slot(editor, 1)->setText(QStringLiteral("ctf"));
        slot(editor, 9)->setText(QStringLiteral("rocket arena"));
        find<QPushButton>(editor, "cmdClose")->click();
        QVERIFY(launcher.home.read("q2velo.ini")
                    .find("[Mod]\r\nMod0=\r\nMod1=ctf\r\nMod2=\r\nMod3=\r\nMod4=\r\nMod5=\r\n"
                          "Mod6=\r\nMod7=\r\nMod8=\r\nMod9=rocket arena\r\n") != std::string::npos);
        QCOMPARE(launcher.modList().join(QLatin1Char('|')),
                 QStringLiteral("|ctf||||||||rocket arena"));
        QCOMPARE(launcher.get<QComboBox>("cmbMod")->currentText(), kPrompt);
        // The prompt is no mod that is installed: the start asks first, and Cancel starts nothing.
        launcher.run();
        QCOMPARE(launcher.services.questions.size(), std::size_t{1});
        QVERIFY(launcher.services.questions[0].contains(kPrompt));
        QVERIFY(launcher.services.starts.empty());
        QVERIFY(launcher.services.messages.empty());

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        editor = openEditor(launcher);
        slot(editor, 2)->setText(QStringLiteral("dday"));
        launcher.settings.WriteINI("Mod", "Mod2", "ctf");
        const std::string before = launcher.home.read("q2velo.ini");
        launcher.click("cmdEdit");
        QCOMPARE(launcher.window->findChildren<ui::frmMod*>().size(), 1);
        QCOMPARE(slot(editor, 2)->text(), QStringLiteral("dday"));
        editor->close();
        QCOMPARE(launcher.home.read("q2velo.ini"), before);
        QCOMPARE(launcher.modList().at(2), QStringLiteral("dday"));
        QCOMPARE(launcher.get<QComboBox>("cmbMod")->currentText(), kPrompt);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        editor = openEditor(launcher);
        QCOMPARE(slot(editor, 2)->text(), QStringLiteral("ctf"));

        slot(editor, 0)->setText(QStringLiteral("dday"));
        std::filesystem::remove_all(launcher.home.path());
        find<QPushButton>(editor, "cmdClose")->click();
        QVERIFY(launcher.services.warnedOnce({"q2velo.ini", "No such file"}));
        QCOMPARE(launcher.modList().at(0), QStringLiteral("dday"));
        QVERIFY(!std::filesystem::exists(launcher.home.path()));
    }

    void onlyTheLogoOpensTheCreditsWhoseLinksOpenTheAddressesTheyShow() {
        test::Launcher launcher;
        QVERIFY(launcher.load());
        int creditsShown = 0;
        QStringList shown;
        Qt::CursorShape logoCursor = Qt::ArrowCursor;
        bool focusBack = false;
        whenModal([&](QWidget* about) {
            logoCursor = find<QWidget>(about, "Image1")->cursor().shape();
            for (const char* other : {"lblHint", "lblRole", "lblAuthor"}) {
                QTest::mouseClick(find<QWidget>(about, other), Qt::LeftButton);
            }
            QCOMPARE(QApplication::activeModalWidget(), about);
            whenModal(
                [&](QWidget* credits) {
                    ++creditsShown;
                    for (const char* link : {"Label4", "Label5", "Label16", "Label15"}) {
                        auto* label = find<QLabel>(credits, link);
                        shown << QLatin1String("mailto:") + label->text();
                        QTest::mouseClick(label, Qt::LeftButton);
                    }
                    find<QPushButton>(credits, "Command1")->click();
                },
                "frmHalvern");
            QTest::mouseClick(find<QWidget>(about, "Image1"), Qt::LeftButton);
            // Closing the credits comes back here, not to the main window, with the focus
            // where it was, so Return closes this window too.
            QCOMPARE(QApplication::activeModalWidget(), about);
            auto* close = find<QPushButton>(about, "Command1");
            focusBack = QTest::qWaitFor([close] { return QApplication::focusWidget() == close; });
            focusBack ? QTest::keyClick(close, Qt::Key_Return) : close->click();
        });
        launcher.click("cmdAbout");
        QCOMPARE(creditsShown, 1);
        QVERIFY2(focusBack, "the focus did not come back to the about window's button");
        QCOMPARE(logoCursor, Qt::PointingHandCursor);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        const auto& addresses = launcher.services.addresses;
        QCOMPARE(QStringList(addresses.begin(), addresses.end()), shown);
    }

    // The links stay readable on a dark background; with no mail program the address is
    // shown to be copied.
    void theLinksAreReadableAndSayWhereNoMailProgramTakesThem() {
        test::FakeServices services;
        ui::frmHalvern credits(services);
        auto* link = find<QLabel>(&credits, "Label5");
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QPalette dark = credits.palette();
        dark.setColor(QPalette::Window, QColor(30, 30, 30));
        dark.setColor(QPalette::Link, QColor(120, 170, 255));
        credits.setPalette(dark);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(120, 170, 255));

        services.addressesOpen = false;
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(services.messages.size(), std::size_t{1});
        QVERIFY(services.messages[0].text.contains(QLatin1String("No program")));
        QVERIFY(services.messages[0].text.endsWith(link->text()));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
