#include "launcher.h"
#include "support/recorder.h"

#include "core/launch_script.h"
#include "platform/process.h"
#include "scripts/presets.h"

#include <QCheckBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

using namespace velo;
using test::find;
using test::Launcher;
using test::qs;
using test::TempDir;
using test::whenModal;

using Parts = std::vector<std::string>;

namespace {
const std::string kFirstExample =
    "C:\\Quake2\\Quake2.exe +set game baseq2 +set basedir C:\\Quake2 +cl_run 1  +freelook 1  "
    "+sensitivity 3 +exec q2velo.txt +crosshair 1  hand 2  +set dedicated 0 +map None hand 2  "
    "+menu_multiplayer +hostname Unnamed +fraglimit 0 +timelimit 0 +dmflags 16";
} // namespace

class frmVeloTest : public QObject {
    Q_OBJECT

private slots:
    void startUpWithoutSettingsShowsLocatorThenTheFolder() {
        Launcher launcher;
        std::filesystem::remove(launcher.home.path() / "q2velo.ini");
        TempDir game;
        QString locator;
        whenModal([&](QWidget* modal) {
            locator = launcher.window->isVisible() ? QString() : modal->objectName();
            find<QPushButton>(modal, "cmdOkay")->click();
        });
        {
            test::CurrentDir in(game.path());
            QVERIFY(launcher.load());
        }
        QCOMPARE(locator, QStringLiteral("frmQ2Dir"));
        QCOMPARE(launcher.get<QLineEdit>("txtQDir")->text(), qs(game.path()));
        // The mod box is made when its page is first shown.
        launcher.window->show();
        launcher.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
        QCOMPARE(launcher.get<QComboBox>("cmbMod")->currentText(), QStringLiteral("baseq2"));
        QCOMPARE(launcher.modList(), QStringList(10));
    }

    // Started from another current directory, as from a desktop menu.
    void startUpFollowsRunSetup_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("locator");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Yes") << "Yes" << true << false;
        QTest::newRow("blanks around Yes") << " Yes " << true << false;
        QTest::newRow("yes in small letters") << "yes" << false << false;
        QTest::newRow("No") << "No" << false << false;
        QTest::newRow("locator's close box stores nothing") << "Yes" << true << true;
    }
    void startUpFollowsRunSetup() {
        QFETCH(QString, stored);
        QFETCH(bool, locator);
        QFETCH(bool, closeBox);
        Launcher launcher("/old/game");
        launcher.settings.WriteINI("Quake2", "RunSetup", stored.toStdString());
        const std::string before = launcher.home.read("q2velo.ini");
        bool shown = false;
        if (locator) {
            whenModal([&shown, closeBox](QWidget* modal) {
                shown = true;
                closeBox ? void(modal->close()) : find<QPushButton>(modal, "cmdOkay")->click();
            });
        }
        TempDir elsewhere;
        {
            test::CurrentDir in(elsewhere.path());
            QVERIFY(launcher.load());
        }
        QCOMPARE(shown, locator);
        const bool moved = locator && !closeBox;
        QCOMPARE(launcher.get<QLineEdit>("txtQDir")->text(),
                 moved ? qs(elsewhere.path()) : QStringLiteral("/old/game"));
        if (moved) {
            QCOMPARE(launcher.settings.ReadINI("Quake2", "RunSetup").value, std::string("No"));
        } else {
            QCOMPARE(launcher.home.read("q2velo.ini"), before);
        }
    }

    void unreadableSettingsFileEndsTheStart() {
        Launcher launcher;
        std::filesystem::remove(launcher.home.path() / "q2velo.ini");
        std::filesystem::create_directory(launcher.home.path() / "q2velo.ini");
        QVERIFY(!launcher.load());
        QVERIFY(!launcher.window->isVisible());
        QCOMPARE(launcher.services.messages.size(), std::size_t{1});
        QCOMPARE(launcher.services.messages[0].text, QStringLiteral("INI File error"));
        QVERIFY(launcher.services.messages[0].kind == ui::MessageKind::Plain);
    }

    void controlsChangedByClicksReachTheLine() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.get<QCheckBox>("Check3")->click();
        QCOMPARE(launcher.dmflags(), 20);
        for (const char* box : {"Check3", "Check1", "Check16"}) {
            launcher.get<QCheckBox>(box)->click();
        }
        QCOMPARE(launcher.dmflags(), 2065);
        for (const char* box : {"Check8", "Check6", "chkRun"}) {
            launcher.get<QCheckBox>(box)->click();
        }
        launcher.get<QRadioButton>("optLeft")->click();
        auto* slider = launcher.get<QScrollBar>("HScroll1");
        slider->setValue(slider->maximum());
        QCOMPARE(launcher.get<QLineEdit>("txtFreelook")->text(), QStringLiteral("13"));
        slider->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(launcher.get<QLineEdit>("txtFreelook")->text(), QStringLiteral("1"));
        launcher.get<QCheckBox>("chkFreelook")->click();
        QVERIFY(!slider->isEnabled());
        launcher.run();
        QCOMPARE(launcher.lastLine(),
                 std::string("C:\\Quake2\\Quake2.exe +set game baseq2 +set basedir C:\\Quake2 "
                             "+cl_run 0  +freelook 1  +sensitivity 1 +exec q2velo.txt "
                             "+crosshair 0  hand 1  +set dedicated 0 +map None hand 1  "
                             "+menu_multiplayer +hostname Unnamed +fraglimit 0 +timelimit 0 "
                             "+dmflags 2321"));
    }

    // Real starts of stand-in engines, watched for three seconds.
    void runQuakeComesBackOnlyWhenTheGameFailsAtOnce_data() {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<Parts>("warning"); // none: the launcher ends
        QTest::addColumn<QByteArray>("output");
        QByteArray many;
        for (int i = 1; i <= 20000; ++i) {
            many += "output line " + QByteArray::number(i).rightJustified(6, '0') + '\n';
        }
        QTest::newRow("error and exit 1")
            << "echo Loading; echo \"Couldn't load pics/colormap.pcx\" >&2; exit 1"
            << Parts{"exit status 1", "Loading\nCouldn't load pics/colormap.pcx", "game.log"}
            << QByteArray("Loading\nCouldn't load pics/colormap.pcx\n");
        QTest::newRow("keeps running") << "sleep 4; echo on > \"$0.on\"" << Parts() << QByteArray();
        QTest::newRow("exit 0 at once") << "exit 0" << Parts() << QByteArray();
        QTest::newRow("over 256 KiB, then a signal")
            << "seq -f 'output line %06g' 20000; kill $$"
            << Parts{"signal 15", "output line 019999\noutput line 020000"} << many;
    }
    void runQuakeComesBackOnlyWhenTheGameFailsAtOnce() {
        QFETCH(QString, engine);
        QFETCH(Parts, warning);
        QFETCH(QByteArray, output);
        test::Game game;
        Launcher& launcher = *game.launcher;
        launcher.services.real = std::make_unique<ui::DesktopServices>(
            launcher.home.file("state/game.log"), std::chrono::seconds(3));
        test::writeEngine(game.folder.path() / "quake2", engine.toStdString());
        launcher.window->show();
        bool hidden = false;
        QTimer::singleShot(0, [&] { hidden = !launcher.window->isVisible(); });
        launcher.run();
        QVERIFY(hidden);
        QCOMPARE(launcher.window->isVisible(), !warning.empty());
        QCOMPARE(launcher.services.quits.size(), std::size_t(warning.empty()));
        QVERIFY(warning.empty() ? launcher.services.messages.empty()
                                : launcher.services.warnedOnce(warning));
        const std::string kept = launcher.home.read("state/game.log");
        QVERIFY(kept.size() <= platform::kKeptOutput && output.endsWith(kept.c_str()));
        QVERIFY(kept.size() + 20 > std::min(std::size_t(output.size()), platform::kKeptOutput));
        if (engine.startsWith(QLatin1String("sleep"))) {
            QCOMPARE(test::recordedArguments(game.folder.path() / "quake2.on"),
                     std::vector<std::string>{"on"});
        } else if (!warning.empty()) {
            test::writeEngine(game.folder.path() / "quake2", "exit 0");
            launcher.run();
            QCOMPARE(launcher.services.quits, std::vector<int>{0});
        }
    }

    // Engines are looked for when the page is first shown, never at start-up.
    void runPageShowsTheEngineAndKeepsThePlayersChoice() {
        const platform::Engine wine{"/q/quake2.exe", platform::Family::Original, "/usr/bin/wine"};
        const platform::Engine yamagi{
            "/usr/lib/yamagi-quake2/quake2", platform::Family::Yamagi, {}};
        Launcher launcher("/q");
        launcher.services.engines = {{wine, yamagi}};
        QVERIFY(launcher.load());
        auto* engines = launcher.get<QComboBox>("cmbEngine");
        QCOMPARE(engines->count(), 0);
        launcher.get<QTabWidget>("SSTab1")->setCurrentIndex(4);
        QCOMPARE(engines->currentText(), QStringLiteral("Quake II through Wine: /q/quake2.exe"));
        QCOMPARE(engines->itemText(engines->count() - 1), QStringLiteral("Other…"));
        engines->setCurrentIndex(1);
        emit engines->activated(1);
        QCOMPARE(launcher.settings.ReadINI("Quake2", "Engine").value, yamagi.program);

        // The next start offers it again and starts it, or warns if that fails and stays;
        // gone, the engine is named, not replaced.
        launcher.services.startResult = platform::Error{yamagi.program, "No such file"};
        for (int start = 0; start < 3; ++start) {
            const bool gone = start == 2;
            launcher.services.messages.clear();
            launcher.services.engines = {gone ? std::vector{wine} : std::vector{wine, yamagi}};
            QVERIFY(launcher.load());
            launcher.run();
            launcher.services.startResult.reset();
            QCOMPARE(launcher.services.messages.size(), std::size_t{start != 1});
            QCOMPARE(launcher.get<QComboBox>("cmbEngine")->currentText(),
                     gone ? QStringLiteral("Not found: /usr/lib/yamagi-quake2/quake2")
                          : QString::fromStdString(platform::engineLabel(yamagi)));
        }
        QCOMPARE(launcher.services.starts.size(), std::size_t{2});
        QCOMPARE(launcher.services.starts[1].program, yamagi.program);
        QCOMPARE(launcher.services.quits, std::vector<int>{0});
        QVERIFY(launcher.services.warnedOnce({yamagi.program, "not found"}));

        // "Other…" takes any program the player names that can start.
        launcher.services.programs = {"/opt/q2pro"};
        launcher.services.fileAnswers = {QStringLiteral("/opt/q2pro")};
        engines = launcher.get<QComboBox>("cmbEngine");
        emit engines->activated(engines->count() - 1);
        QCOMPARE(launcher.settings.ReadINI("Quake2", "Engine").value, std::string("/opt/q2pro"));
        QCOMPARE(engines->currentText(), QStringLiteral("Q2PRO: /opt/q2pro"));
    }

    // A cancel leaves the earlier file; a file that cannot be written is named.
    void batchFileSuggestsANameSavesTheLineOrWarns() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.services.fileAnswers = {qs(launcher.home.path() / "g"), QString(),
                                         qs(launcher.home.path() / "no/Mod.bat")};
        for (int press = 0; press < 3; ++press) {
            launcher.click("cmdBatch");
        }
        QCOMPARE(launcher.services.fileRequests.back().suggestedName, QStringLiteral("Mod.bat"));
        QStringList filters{QStringLiteral("Batch File(*.bat)"), QStringLiteral("All Files(*.*)")};
        if (platform::shellScriptsRun()) {
            filters.insert(1, QStringLiteral("Shell Script(*.sh)"));
        }
        QCOMPARE(launcher.services.fileRequests.back().filters, filters);
        QCOMPARE(launcher.home.read("g"), kFirstExample + "\r\n");
        QVERIFY(launcher.services.warnedOnce({launcher.home.file("no/Mod.bat")}));
        QVERIFY(launcher.services.quits.empty());
    }

    void shellScriptRunsWhatRunQuakeWouldOrWarnsWhenNothingCan() {
        if (!platform::shellScriptsRun()) {
            QSKIP("no shell scripts here");
        }
        Launcher launcher;
        QVERIFY(launcher.load());
        const std::string script = launcher.home.file("Mod.sh");
        launcher.services.fileAnswers = {qs(script), qs(script)};
        launcher.services.engines = std::vector<platform::Engine>{};
        launcher.click("cmdBatch");
        QVERIFY(launcher.services.warnedOnce({"no engine"}));
        QVERIFY(!std::filesystem::exists(script));

        launcher.services.engines = {{{"/g/q2pro", platform::Family::Q2pro, {}}}};
        launcher.click("cmdBatch");
        launcher.run();
        QCOMPARE(launcher.home.read("Mod.sh"), core::launchScriptText(launcher.services.starts[0]));
    }

    // The original program cannot read a folder with a blank: it gets "." and works there.
    void buttonTooltipsShowTheLineAsComposed() {
        Launcher launcher("C:\\Program Files\\Quake2");
        QVERIFY(launcher.load());
        std::string tips[2];
        for (int i = 0; i < 2; ++i) {
            auto* button = launcher.get<QPushButton>(i == 0 ? "cmdRunQuake" : "cmdBatch");
            QHelpEvent event(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(button, &event);
            tips[i] = button->toolTip().toStdString();
        }
        launcher.run();
        std::string line = launcher.lastLine();
        line.replace(line.find(" . +"), 3, " C:\\Program Files\\Quake2 ");
        QCOMPARE(tips[0], line);
        QCOMPARE(tips[1], "\"C:\\Program Files\\Quake2\\Quake2.exe\"" +
                              tips[0].substr(tips[0].find(' ', 11)));
    }

    void keyLayoutListWritesPresetsAndShowsAFailure() {
        test::Game game;
        Launcher& launcher = *game.launcher;
        auto* custom = launcher.get<QPushButton>("cmdCustom");
        QVERIFY(!custom->isEnabled());
        launcher.pick("Custom");
        QVERIFY(custom->isEnabled());
        QVERIFY(std::filesystem::is_empty(game.folder.path() / "baseq2"));
        for (const char* layout : {"ESDF", "Standard"}) {
            launcher.pick(layout);
            QVERIFY(!custom->isEnabled());
            QCOMPARE(game.folder.read("baseq2/q2velo.txt"), *scripts::presetScript(layout));
        }
        QVERIFY(launcher.services.messages.empty());
        std::filesystem::remove_all(game.folder.path() / "baseq2");
        launcher.pick("ESDF");
        QVERIFY(launcher.services.warnedOnce({"q2velo.txt"}));
        QVERIFY(launcher.services.quits.empty());
    }

    void mapPickerTakesTheNameBeforeTheFirstDot_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("map");
        QTest::newRow("plain") << QStringLiteral("/maps/q2dm1.bsp") << QStringLiteral("q2dm1");
        QTest::newRow("several dots")
            << QStringLiteral("/maps/base1.old.bsp") << QStringLiteral("base1");
        QTest::newRow("only an extension") << QStringLiteral("/maps/.bsp") << QStringLiteral("");
        QTest::newRow("no dot at all") << QStringLiteral("/maps/arena") << QStringLiteral("arena");
        QTest::newRow("cancel keeps the map") << QStringLiteral("") << QStringLiteral("None");
    }
    void mapPickerTakesTheNameBeforeTheFirstDot() {
        QFETCH(QString, chosen);
        QFETCH(QString, map);
        Launcher launcher("/games/q2");
        QVERIFY(launcher.load());
        launcher.services.fileAnswers.push_back(chosen);
        launcher.click("cmdInsert");
        QCOMPARE(launcher.get<QLineEdit>("txtMap")->text(), map);
        QCOMPARE(launcher.services.fileRequests.back().startFolder, QStringLiteral("/games/q2"));
        QCOMPARE(launcher.services.fileRequests.back().filters,
                 QStringList{QStringLiteral("Quake 2 Maps(*.bsp)")});
    }

    void gameDirectoryCanBeChangedFromTheMainWindow() {
        Launcher launcher("/old/game");
        QVERIFY(launcher.load());
        TempDir game;
        whenModal([](QWidget* modal) { find<QPushButton>(modal, "cmdOkay")->click(); });
        {
            test::CurrentDir in(game.path());
            launcher.click("cmdQDir");
        }
        QCOMPARE(launcher.get<QLineEdit>("txtQDir")->text(), qs(game.path()));
        QCOMPARE(launcher.settings.ReadINI("Quake2", "Path").value, game.path().string());
    }

    void closingTheWindowEndsTheProgram() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.window->show();
        launcher.click("cmdClose");
        QCOMPARE(launcher.services.quits, std::vector<int>{0});
    }
};

QTEST_MAIN(frmVeloTest)
#include "frmVelo_test.moc"
