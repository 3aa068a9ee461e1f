#include "launcher.h"
#include "support/game_data.h"
#include "support/recorder.h"

#include "core/batch_file.h"
#include "core/launch_script.h"
#include "platform/process.h"
#include "scripts/presets.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QHelpEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>

using namespace velo;
using test::Launcher;
using test::qs;

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
    // Started from another current directory, as from a desktop menu. "No", the value every
    // other test starts with, shows no locator.
    void startUpFollowsRunSetup_data() {
        QTest::addColumn<QString>("stored"); // empty: no settings file
        QTest::addColumn<bool>("locator");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("no settings file") << "" << true << false;
        QTest::newRow("Yes") << "Yes" << true << false;
        QTest::newRow("blanks around Yes") << " Yes " << true << false;
        QTest::newRow("yes in small letters") << "yes" << false << false;
        QTest::newRow("locator's close box stores nothing") << "Yes" << true << true;
    }
    void startUpFollowsRunSetup() {
        QFETCH(QString, stored);
        QFETCH(bool, locator);
        QFETCH(bool, closeBox);
        Launcher launcher("/old/game");
        launcher.settings.WriteINI("Quake2", "RunSetup", stored.toStdString());
        if (stored.isEmpty()) {
            std::filesystem::remove(launcher.home.path() / "q2velo.ini");
        }
        QString shown;
        if (locator) {
            test::whenModal([&shown, closeBox](QWidget* modal) {
                shown = modal->objectName();
                closeBox ? void(modal->close())
                         : test::find<QPushButton>(modal, "cmdOkay")->click();
            });
        }
        test::TempDir elsewhere;
        {
            test::CurrentDir in(elsewhere.path());
            QVERIFY(launcher.load());
        }
        QCOMPARE(shown, locator ? QStringLiteral("frmQ2Dir") : QString());
        const bool moved = locator && !closeBox;
        QCOMPARE(launcher.get<QLineEdit>("txtQDir")->text(),
                 moved ? qs(elsewhere.path()) : QStringLiteral("/old/game"));
        QCOMPARE(launcher.settings.ReadINI("Quake2", "RunSetup").value,
                 moved ? std::string("No") : stored.toStdString());
        // The mod box is made when its page is first shown.
        launcher.window->show();
        launcher.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
        QCOMPARE(launcher.get<QComboBox>("cmbMod")->currentText(), QStringLiteral("baseq2"));
    }

    // The message names the file and why it cannot be read, in a box wide enough for its
    // title.
    void unreadableSettingsFileEndsTheStart() {
        Launcher launcher;
        std::filesystem::remove(launcher.home.path() / "q2velo.ini");
        std::filesystem::create_directory(launcher.home.path() / "q2velo.ini");
        QVERIFY(!launcher.load());
        QCOMPARE(launcher.services.messages.size(), std::size_t{1});
        const QString text = launcher.services.messages[0].text;
        QCOMPARE(text, QLatin1String("INI File error\n\n") + qs(launcher.settings.path()) +
                           QLatin1String("\nIs a directory"));
        QVERIFY(launcher.services.messages[0].kind == ui::MessageKind::Plain);

        ui::DesktopServices desktop;
        int width = 0;
        int needed = 0;
        test::whenModal([&](QWidget* box) {
            width = box->width();
            needed = QFontMetrics(box->font()).horizontalAdvance(box->windowTitle());
            box->close();
        });
        desktop.message(nullptr, ui::MessageKind::Plain, QStringLiteral("INI File error"));
        QVERIFY2(width > needed + 100, qPrintable(QString::number(width)));
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
            << Parts{"exit status 1", "reported:\nCouldn't load pics/colormap.pcx",
                     "Loading\nCouldn't load pics/colormap.pcx", "game.log"}
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

        // "Other…", the last entry, takes any program the player names that can start.
        launcher.services.programs = {"/opt/q2pro"};
        launcher.services.fileAnswers = {QStringLiteral("/opt/q2pro")};
        engines = launcher.get<QComboBox>("cmbEngine");
        emit engines->activated(engines->count() - 1);
        QCOMPARE(launcher.settings.ReadINI("Quake2", "Engine").value, std::string("/opt/q2pro"));
        QCOMPARE(engines->currentText(), QStringLiteral("Q2PRO: /opt/q2pro"));
    }

    // A cancel leaves the earlier file; a file that cannot be written is named. The file type
    // picked decides what is written, under the name exactly as typed; a shell script runs
    // what "Run Quake II" would, and neither is written when nothing can start.
    void batchFileSavesTheLineOrAScriptOrWarns() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.services.fileAnswers = {qs(launcher.home.path() / "g"), QString(),
                                         qs(launcher.home.path() / "no/Mod.bat")};
        for (int press = 0; press < 3; ++press) {
            launcher.click("cmdBatch");
        }
        QCOMPARE(launcher.services.fileRequests.back().suggestedName, QStringLiteral("Mod.bat"));
        QCOMPARE(launcher.home.read("g"), kFirstExample + "\r\n");
        QVERIFY(launcher.services.warnedOnce({launcher.home.file("no/Mod.bat")}));
        if (!platform::shellScriptsRun()) {
            return;
        }
        QCOMPARE(
            launcher.services.fileRequests.back().filters,
            QStringList({QStringLiteral("Batch File(*.bat)"), QStringLiteral("Shell Script(*.sh)"),
                         QStringLiteral("All Files(*.*)")}));
        launcher.services.engines = std::vector<platform::Engine>{};
        QVERIFY(launcher.load());
        launcher.services.messages.clear();
        launcher.services.fileAnswers = {qs(launcher.home.path() / "start-q2")};
        launcher.services.filterAnswers = {1};
        launcher.click("cmdBatch");
        QVERIFY(launcher.services.warnedOnce({"no engine"}));
        QVERIFY(!std::filesystem::exists(launcher.home.path() / "start-q2"));

        launcher.services.engines = {{{"/g/q2pro", platform::Family::Q2pro, {}}}};
        QVERIFY(launcher.load());
        launcher.run();
        const std::string script = core::launchScriptText(launcher.services.starts[0]);
        const std::string batch =
            core::batchFileText(launcher.services.starts[0].commandLine, "C:\\Quake2");
        const struct {
            const char* name;
            int filter;
            const std::string& bytes;
        } saves[] = {{"start-q2", 1, script},
                     {"typed.sh", 0, batch},
                     {"any.sh", 2, script},
                     {"any.cmd", 2, batch}};
        for (const auto& save : saves) {
            launcher.services.fileAnswers = {qs(launcher.home.path() / save.name)};
            launcher.services.filterAnswers = {save.filter};
            launcher.click("cmdBatch");
            QCOMPARE(launcher.home.read(save.name), save.bytes);
        }
        QCOMPARE(launcher.services.messages.size(), std::size_t{1});
    }

    // Clicked controls reach the line (every flag box's total is pinned in the options' own
    // tests). The original program cannot read a folder with a blank: it gets "." and works
    // there. The tooltips show exactly what starts: the original's line, the batch file's with
    // its program quoted, a native engine's program and arguments quoted for a shell.
    void controlsReachTheLineAndTheTooltipsShowWhatStarts() {
        Launcher launcher("C:\\Program Files\\Quake2");
        QVERIFY(launcher.load());
        for (const char* box :
             {"Check3", "Check3", "Check1", "Check16", "Check8", "Check6", "chkRun"}) {
            launcher.get<QCheckBox>(box)->click();
        }
        launcher.get<QRadioButton>("optLeft")->click();
        auto* slider = launcher.get<QScrollBar>("HScroll1");
        slider->triggerAction(QAbstractSlider::SliderToMinimum);
        launcher.get<QCheckBox>("chkFreelook")->click();
        QVERIFY(!slider->isEnabled());
        const auto tips = [&] {
            std::vector<std::string> shown;
            for (const char* name : {"cmdRunQuake", "cmdBatch"}) {
                auto* button = launcher.get<QPushButton>(name);
                QHelpEvent event(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
                QApplication::sendEvent(button, &event);
                shown.push_back(button->toolTip().toStdString());
            }
            return shown;
        };
        const std::vector<std::string> original = tips();
        QCOMPARE(original[0],
                 std::string("C:\\Program Files\\Quake2\\Quake2.exe +set game baseq2 +set "
                             "basedir . +cl_run 0  +freelook 1  "
                             "+sensitivity 1 +exec q2velo.txt +crosshair 0  hand 1  +set "
                             "dedicated 0 +map None hand 1  +menu_multiplayer +hostname "
                             "Unnamed +fraglimit 0 +timelimit 0 +dmflags 2321"));
        QCOMPARE(original[1], "\"C:\\Program Files\\Quake2\\Quake2.exe\"" +
                                  original[0].substr(original[0].find(' ', 11)));
        launcher.run();
        QCOMPARE(launcher.lastLine(), original[0]);

        launcher.services.engines = {{{"/g/yquake2", platform::Family::Yamagi, {}}}};
        QVERIFY(launcher.load());
        launcher.get<QLineEdit>("txtHostName")->setText(QStringLiteral("Frag's Fest"));
        launcher.get<QTabWidget>("SSTab1")->setCurrentIndex(4);
        const std::string native = tips()[0];
        QVERIFY2(native.rfind("'/g/yquake2' '-datadir' '", 0) == 0, native.c_str());
        QVERIFY2(native.find(" '+hostname' '\"Frag'\\''s Fest\"' ") != std::string::npos,
                 native.c_str());
        launcher.run();
        QCOMPARE(core::shellCommand(launcher.services.starts.back()), native);
    }

    // What the start carries from "Server Settings", and what stops it before anything starts.
    void serverSettingsReachTheStartOrStopIt_data() {
        QTest::addColumn<QString>("gameDir");
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("players");
        QTest::addColumn<bool>("dedicated");
        QTest::addColumn<Parts>("says"); // in the warning, or in the arguments when it starts
        QTest::newRow("a typed map is hosted")
            << "/q2"
            << "q2dm1"
            << "12" << false
            << Parts{"+set|deathmatch|1|+set|maxclients|12|+hostname|Unnamed|+fraglimit|0|"
                     "+timelimit|0|+dmflags|16|+map|q2dm1|"};
        QTest::newRow("an empty map is no map: the menu")
            << "/q2"
            << ""
            << "12" << false << Parts{"+dmflags|16|+menu_multiplayer|"};
        QTest::newRow("a dedicated server")
            << "/q2"
            << "None"
            << "3" << true << Parts{"+set|dedicated|1|+set|maxclients|3|+hostname"};
        QTest::newRow("no game folder")
            << ""
            << "None"
            << "8" << false << Parts{"no game folder is set", "\"...\" on \"Mod Settings\""};
    }
    void serverSettingsReachTheStartOrStopIt() {
        QFETCH(QString, gameDir);
        QFETCH(QString, map);
        QFETCH(QString, players);
        QFETCH(bool, dedicated);
        QFETCH(Parts, says);
        Launcher launcher(gameDir.toStdString());
        launcher.services.engines = {{{"/g/yquake2", platform::Family::Yamagi, {}}}};
        QVERIFY(launcher.load());
        launcher.get<QLineEdit>("txtMap")->setText(map);
        QVERIFY(!launcher.get<QLineEdit>("txtMap")->isReadOnly());
        launcher.get<QLineEdit>("txtMaxPlayers")->setText(players);
        launcher.get<QCheckBox>("chkDedicated")->setChecked(dedicated);
        launcher.run();
        if (launcher.services.starts.empty()) {
            QVERIFY(launcher.services.warnedOnce(says));
            QVERIFY(launcher.services.quits.empty());
            return;
        }
        std::string arguments;
        for (const std::string& argument : launcher.services.starts[0].arguments) {
            arguments += argument + "|";
        }
        QVERIFY2(arguments.find(says[0]) != std::string::npos, arguments.c_str());
    }

    // "Custom" writes nothing and opens the keyboard window's button.
    void keyLayoutListWritesPresetsAndShowsAFailure() {
        test::Game game;
        Launcher& launcher = *game.launcher;
        const std::filesystem::path script = game.folder.path() / "baseq2/q2velo.txt";
        for (const char* layout : {"Custom", "ESDF", "Standard"}) {
            launcher.pick(layout);
            QCOMPARE(launcher.get<QPushButton>("cmdCustom")->isEnabled(), layout[0] == 'C');
            QCOMPARE(std::filesystem::exists(script) ? game.folder.read("baseq2/q2velo.txt") : "",
                     scripts::presetScript(layout).value_or(""));
        }
        QVERIFY(launcher.services.messages.empty());
        std::filesystem::remove_all(game.folder.path() / "baseq2");
        launcher.pick("ESDF");
        QVERIFY(launcher.services.warnedOnce({"q2velo.txt"}));
    }

    // The map box completes from the maps of the base game and the mod, packed or loose;
    // "Insert" opens in the mod's maps folder, else the base game's.
    void mapBoxOffersTheGamesMapsAndInsertOpensOnThem() {
        test::Game game(false);
        const std::filesystem::path folder = game.folder.path();
        test::writePak(folder / "baseq2/pak0.pak",
                       {{"maps/q2dm1.bsp", "x"}, {"maps/q2dm2.bsp", "x"}});
        test::writeGameFile(folder / "ctf/maps/q2ctf1.bsp", "x");
        test::writeGameFile(folder / "rogue/maps/rmine1.bsp", "x");
        Launcher& launcher = *game.launcher;
        launcher.window->show();
        launcher.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
        launcher.window->modList()->setEditText(QStringLiteral("ctf"));
        launcher.get<QTabWidget>("SSTab1")->setCurrentIndex(3);
        auto* map = launcher.get<QLineEdit>("txtMap");
        map->setFocus();
        QApplication::processEvents();
        QVERIFY(map->completer() != nullptr);
        QStringList offered;
        for (int row = 0; row < map->completer()->model()->rowCount(); ++row) {
            offered << map->completer()->model()->index(row, 0).data().toString();
        }
        QCOMPARE(offered, QStringList({QStringLiteral("q2ctf1"), QStringLiteral("q2dm1"),
                                       QStringLiteral("q2dm2")}));
        map->clear();
        QTest::keyClicks(map, QStringLiteral("Q2D"));
        QCOMPARE(map->completer()->completionCount(), 2);

        for (const char* mod : {"ctf", "rogue", "baseq2"}) {
            launcher.window->modList()->setEditText(QLatin1String(mod));
            launcher.click("cmdInsert");
        }
        const auto& requests = launcher.services.fileRequests;
        QCOMPARE(requests[0].startFolder, qs(folder / "ctf/maps"));
        QCOMPARE(requests[1].startFolder, qs(folder / "rogue/maps"));
        QCOMPARE(requests[2].startFolder, qs(folder));
    }

    // The mod list offers the kept names, then the mods installed in the game folder and beside
    // the engine, looked for only when the list opens or a start needs them. A mod in neither
    // place is started only when the player says so.
    void modListOffersInstalledModsAndAMissingOneAsksFirst() {
        test::Game game;
        const std::filesystem::path folder = game.folder.path();
        test::writeGameFile(folder / "ctf/pak0.pak", "x");
        test::writeGameFile(folder / "shots/a.pcx", "x");
        test::writeGameFile(game.launcher->home.path() / "engine/zaero/game.so", "x");
        Launcher& launcher = *game.launcher;
        const std::string engine = launcher.home.file("engine/quake2");
        launcher.services.engines = {{{engine, platform::Family::Yamagi, {}}}};
        launcher.settings.WriteINI("Mod", "Mod0", "ctf");
        QVERIFY(launcher.load());
        QComboBox* mods = launcher.window->modList();
        QCOMPARE(mods->count(), 10);
        launcher.window->show();
        mods->showPopup();
        mods->hidePopup();
        QCOMPARE(launcher.modList().mid(10), QStringList({QStringLiteral("zaero")}));
        QCOMPARE(mods->currentText(), QStringLiteral("baseq2"));

        const struct {
            const char* mod;
            std::deque<bool> answers;
            bool starts;
        } rows[] = {{"baseq2", {}, true},
                    {"", {}, true},
                    {"zaero", {}, true},
                    {"ctf", {}, true},
                    {"rocketarena", {false}, false},
                    {"rocketarena", {true}, true},
                    {"Ctf", {false}, false}};
        std::size_t started = 0;
        for (const auto& row : rows) {
            launcher.services.questions.clear();
            launcher.services.confirmAnswers = row.answers;
            mods->setEditText(QLatin1String(row.mod));
            launcher.run();
            started += row.starts ? 1 : 0;
            QCOMPARE(launcher.services.starts.size(), started);
            QCOMPARE(launcher.services.questions.size(), row.answers.size());
        }
        QVERIFY(launcher.services.messages.empty());
        QCOMPARE(launcher.services.questions.size(), std::size_t{1});
        const QString asked = launcher.services.questions.front();
        for (const QString& part :
             {QStringLiteral("\"Ctf\""), qs(folder), qs(launcher.home.path() / "engine"),
              QStringLiteral("base game")}) {
            QVERIFY2(asked.contains(part), qPrintable(asked));
        }
    }

    // Tab reaches the sensitivity slider after "Crosshair"; an arrow key moves it a step.
    // Return on a focused button presses it.
    void theKeyboardMovesTheSliderAndPressesTheFocusedButton() {
        test::Game game;
        Launcher& launcher = *game.launcher;
        launcher.window->show();
        QVERIFY(QTest::qWaitForWindowActive(launcher.window.get()));
        auto* tabs = launcher.get<QTabWidget>("SSTab1");
        tabs->setCurrentIndex(2);
        launcher.get<QCheckBox>("Check6")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* slider = launcher.get<QScrollBar>("HScroll1");
        QCOMPARE(QApplication::focusWidget(), slider);
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(launcher.get<QLineEdit>("txtFreelook")->text(), QStringLiteral("4"));

        tabs->setCurrentIndex(4);
        auto* run = launcher.get<QPushButton>("cmdRunQuake");
        run->setFocus();
        QTest::keyClick(run, Qt::Key_Return);
        QCOMPARE(launcher.services.starts.size(), std::size_t{1});
        QVERIFY(launcher.lastLine().find("+sensitivity 4") != std::string::npos);
    }

    // A cancel keeps the map; the close button then ends the program.
    void mapPickerTakesTheNameBeforeTheFirstDotAndCloseEnds() {
        Launcher launcher("/games/q2");
        QVERIFY(launcher.load());
        const char* const rows[][2] = {{"/maps/q2dm1.bsp", "q2dm1"},
                                       {"/maps/base1.old.bsp", "base1"},
                                       {"/maps/.bsp", ""},
                                       {"/maps/arena", "arena"},
                                       {"", "arena"}};
        for (const auto& [chosen, map] : rows) {
            launcher.services.fileAnswers.push_back(QLatin1String(chosen));
            launcher.click("cmdInsert");
            QCOMPARE(launcher.get<QLineEdit>("txtMap")->text(), QLatin1String(map));
        }
        launcher.window->show();
        launcher.click("cmdClose");
        QCOMPARE(launcher.services.quits, std::vector<int>{0});
    }
};

QTEST_MAIN(frmVeloTest)
#include "frmVelo_test.moc"
