#include "launcher.h"
#include "modal.h"
#include "support/recorder.h"
#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/process.h"
#include "ui/frmQ2Dir/frmQ2Dir.h"
#include "ui/frmVelo/frmVelo.h"
#include "ui/toolkit/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <memory>

using velo::test::FakeServices;
using velo::test::find;
using velo::test::Launcher;
using velo::test::TempDir;
using velo::test::whenModal;
using namespace velo;

namespace {
const char* const kFirstExample =
    "C:\\Quake2\\Quake2.exe +set game baseq2 +set basedir C:\\Quake2 +cl_run 1  +freelook 1  "
    "+sensitivity 3 +exec q2velo.txt +crosshair 1  hand 2  +set dedicated 0 +map None hand 2  "
    "+menu_multiplayer +hostname Unnamed +fraglimit 0 +timelimit 0 +dmflags 16";

QString settingsText(const TempDir& home) {
    return QString::fromStdString(home.read("q2velo.ini"));
}
} // namespace

class frmVeloTest : public QObject {
    Q_OBJECT

private slots:
    void startUpWithoutSettingsShowsLocatorThenTheFolder() {
        TempDir home;
        TempDir game;
        const QString before = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(game.path().string()));
        core::SettingsFile settings(home.file("q2velo.ini"));
        FakeServices services;
        ui::frmVelo window(settings, services);
        bool locatorShown = false;
        whenModal([&](QWidget* modal) {
            locatorShown = modal->objectName() == QLatin1String("frmQ2Dir") && !window.isVisible();
            find<QPushButton>(modal, "cmdOkay")->click();
        });
        QVERIFY(window.Form_Load());
        QDir::setCurrent(before);

        QVERIFY(locatorShown);
        QCOMPARE(find<QLineEdit>(&window, "txtQDir")->text(),
                 QString::fromStdString(game.path().string()));
        auto* mods = find<QComboBox>(&window, "cmbMod");
        QCOMPARE(mods->count(), 10);
        for (int i = 0; i < 10; ++i) {
            QVERIFY(mods->itemText(i).isEmpty());
        }
        QCOMPARE(mods->currentText(), QStringLiteral("baseq2"));
    }

    void runSetupYesBringsTheLocator_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("locator");
        QTest::newRow("Yes") << "Yes" << true;
        QTest::newRow("blanks around Yes") << " Yes " << true;
        QTest::newRow("yes in small letters") << "yes" << false;
        QTest::newRow("No") << "No" << false;
    }
    void runSetupYesBringsTheLocator() {
        QFETCH(QString, stored);
        QFETCH(bool, locator);
        Launcher launcher;
        launcher.settings.WriteINI("Quake2", "RunSetup", stored.toStdString());
        bool shown = false;
        if (locator) {
            whenModal([&](QWidget* modal) {
                shown = true;
                find<QPushButton>(modal, "cmdOkay")->click();
            });
        }
        QVERIFY(launcher.load());
        QCOMPARE(shown, locator);
        if (locator) {
            QCOMPARE(launcher.settings.ReadINI("Quake2", "RunSetup").value, std::string("No"));
        }
    }

    void locatorClosedByItsCloseBoxStoresNothing() {
        Launcher launcher("/old/game");
        launcher.settings.WriteINI("Quake2", "RunSetup", "Yes");
        const QString before = settingsText(launcher.home);
        whenModal([](QWidget* modal) { modal->close(); });
        QVERIFY(launcher.load());
        QCOMPARE(settingsText(launcher.home), before);
        QCOMPARE(launcher.get<QLineEdit>("txtQDir")->text(), QStringLiteral("/old/game"));
    }

    void settingsBesideTheProgramAreFoundFromAnotherCurrentDirectory() {
        Launcher launcher("/games/q2");
        TempDir elsewhere;
        const QString before = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(elsewhere.path().string()));
        const bool loaded = launcher.load();
        QDir::setCurrent(before);
        QVERIFY(loaded);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(launcher.get<QLineEdit>("txtQDir")->text(), QStringLiteral("/games/q2"));
    }

    void unreadableSettingsFileEndsTheStart() {
        TempDir home;
        std::filesystem::create_directory(home.path() / "q2velo.ini");
        core::SettingsFile settings(home.file("q2velo.ini"));
        FakeServices services;
        ui::frmVelo window(settings, services);
        QVERIFY(!window.Form_Load());
        QVERIFY(!window.isVisible());
        QCOMPARE(services.messages.size(), std::size_t{1});
        QCOMPARE(services.messages[0].text, QStringLiteral("INI File error"));
        QVERIFY(services.messages[0].kind == ui::MessageKind::Plain);
    }

    void flagBoxesKeepTheTotal() {
        Launcher launcher;
        QVERIFY(launcher.load());
        QCOMPARE(launcher.dmflags(), 16);
        launcher.get<QCheckBox>("Check3")->click();
        QCOMPARE(launcher.dmflags(), 20);
        launcher.get<QCheckBox>("Check3")->click();
        QCOMPARE(launcher.dmflags(), 16);
        launcher.get<QCheckBox>("Check1")->click();
        launcher.get<QCheckBox>("Check16")->click();
        QCOMPARE(launcher.dmflags(), 2065);
        launcher.get<QCheckBox>("Check11")->click();
        QCOMPARE(launcher.dmflags(), 2065 + 64);
        launcher.get<QCheckBox>("Check8")->click();
        QCOMPARE(launcher.dmflags(), 2065 + 64 + 256);
        launcher.run();
        QVERIFY(
            QString::fromStdString(launcher.lastLine()).endsWith(QLatin1String(" +dmflags 2385")));
    }

    void controlSettingsReachTheLine() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.get<QCheckBox>("Check6")->click();
        launcher.get<QCheckBox>("chkRun")->click();
        launcher.get<QRadioButton>("optLeft")->click();
        auto* slider = launcher.get<QScrollBar>("HScroll1");
        slider->setValue(slider->maximum());
        QCOMPARE(launcher.get<QLineEdit>("txtFreelook")->text(), QStringLiteral("13"));
        slider->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(launcher.get<QLineEdit>("txtFreelook")->text(), QStringLiteral("1"));
        slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(launcher.get<QLineEdit>("txtFreelook")->text(), QStringLiteral("2"));

        launcher.get<QCheckBox>("chkFreelook")->click();
        QVERIFY(!slider->isEnabled());
        launcher.run();
        const std::string line = launcher.lastLine();
        for (const char* piece : {" +crosshair 0 ", " +cl_run 0 ", " hand 1  +set dedicated",
                                  " +freelook 1  +sensitivity 2 ", "+map None hand 1 "}) {
            QVERIFY2(line.find(piece) != std::string::npos, piece);
        }
        launcher.get<QRadioButton>("OptCenter")->click();
        launcher.run();
        QVERIFY(launcher.lastLine().find("+map None hand 2 ") != std::string::npos);
    }

    void runQuakeStartsTheComposedLineAndQuits() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.run();
        QCOMPARE(launcher.services.starts.size(), std::size_t{1});
        QCOMPARE(launcher.lastLine(), std::string(kFirstExample));
        QCOMPARE(launcher.lastLine().size(), std::size_t{247});
        QCOMPARE(launcher.services.starts[0].gameDir, std::string("C:\\Quake2"));
        QCOMPARE(launcher.services.quits, std::vector<int>{0});
    }

    void failedStartWarnsAndStays() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.services.startResult = platform::Error{"C:/Quake2/Quake2.exe", "No such file"};
        launcher.run();
        QVERIFY(launcher.services.quits.empty());
        QCOMPARE(launcher.services.messages.size(), std::size_t{1});
        QVERIFY(launcher.services.messages[0].kind == ui::MessageKind::Warning);
        QVERIFY(launcher.services.messages[0].text.contains(QLatin1String("C:/Quake2/Quake2.exe")));
        QVERIFY(launcher.services.messages[0].text.contains(QLatin1String("No such file")));
    }

    void batchFileSuggestsANameAndSavesTheLine_data() {
        QTest::addColumn<QString>("mod");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("baseq2") << "baseq2"
                                << "Mod.bat";
        QTest::newRow("empty") << ""
                               << "Mod.bat";
        QTest::newRow("ctf") << "ctf"
                             << "ctf.bat";
        QTest::newRow("case kept") << "BaseQ2"
                                   << "BaseQ2.bat";
    }
    void batchFileSuggestsANameAndSavesTheLine() {
        QFETCH(QString, mod);
        QFETCH(QString, suggested);
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.get<QComboBox>("cmbMod")->setEditText(mod);
        const std::string path = launcher.home.file("game");
        launcher.services.fileAnswers.push_back(QString::fromStdString(path));
        launcher.click("cmdBatch");
        QCOMPARE(launcher.services.fileRequests.back().suggestedName, suggested);
        QStringList filters{QStringLiteral("Batch File(*.bat)"), QStringLiteral("All Files(*.*)")};
        if (platform::shellScriptsRun()) {
            filters.insert(1, QStringLiteral("Shell Script(*.sh)"));
        }
        QCOMPARE(launcher.services.fileRequests.back().filters, filters);
        if (mod == QLatin1String("baseq2")) {
            const std::string bytes = launcher.home.read("game");
            QCOMPARE(bytes, std::string(kFirstExample) + "\r\n");
            QCOMPARE(bytes.size(), std::size_t{249});
        }
        QVERIFY(launcher.services.quits.empty());
    }

    void batchFileCancelAndFailure() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.home.write("old.bat", "earlier\r\n");
        launcher.services.fileAnswers.push_back(QString());
        launcher.click("cmdBatch");
        QCOMPARE(launcher.home.read("old.bat"), std::string("earlier\r\n"));
        QVERIFY(launcher.services.messages.empty());

        const std::string missing = launcher.home.file("no/such/folder/Mod.bat");
        launcher.services.fileAnswers.push_back(QString::fromStdString(missing));
        launcher.click("cmdBatch");
        QCOMPARE(launcher.services.messages.size(), std::size_t{1});
        QVERIFY(launcher.services.messages[0].text.contains(QString::fromStdString(missing)));
    }

    void shellScriptNameGetsAScriptRunningWhatRunQuakeWould() {
        if (!platform::shellScriptsRun()) {
            QSKIP("no shell scripts here");
        }
        TempDir game;
        const std::filesystem::path record = game.path() / "args";
        test::writeRecorder(game.path() / "q2pro", record);
        Launcher launcher(game.path().string());
        QVERIFY(launcher.load());
        launcher.get<QLineEdit>("txtHostName")->setText(QStringLiteral("it's $HOME"));
        const std::string script = launcher.home.file("Mod.sh");
        launcher.services.fileAnswers.push_back(QString::fromStdString(script));
        launcher.click("cmdBatch");
        QVERIFY(launcher.services.messages.empty());

        const std::string bytes = launcher.home.read("Mod.sh");
        const std::string start =
            "#!/bin/sh\nexec '" + (game.path() / "q2pro").string() + "' '+set' ";
        QCOMPARE(bytes.substr(0, start.size()), start);
        QCOMPARE(bytes.back(), '\n');
        QVERIFY((std::filesystem::status(script).permissions() &
                 std::filesystem::perms::owner_exec) != std::filesystem::perms::none);

        launcher.run();
        const std::string line = launcher.lastLine();
        QCOMPARE(std::system(("'" + script + "'").c_str()), 0);
        QCOMPARE(test::recordedArguments(record),
                 platform::splitCommandLine(game.path().string(), line).arguments);
    }

    void shellScriptWithNothingToRunWarnsAndWritesNothing() {
        if (!platform::shellScriptsRun()) {
            QSKIP("no shell scripts here");
        }
        TempDir game;
        Launcher launcher(game.path().string());
        QVERIFY(launcher.load());
        launcher.services.fileAnswers.push_back(
            QString::fromStdString(launcher.home.file("Mod.sh")));
        launcher.click("cmdBatch");
        QCOMPARE(launcher.services.messages.size(), std::size_t{1});
        QVERIFY(launcher.services.messages[0].text.contains(QLatin1String("yquake2")));
        QVERIFY(!std::filesystem::exists(launcher.home.file("Mod.sh")));
    }

    void buttonTooltipsShowTheLineAsItIsWhenShown() {
        Launcher launcher("C:\\Program Files\\Quake2");
        QVERIFY(launcher.load());
        launcher.get<QLineEdit>("txtHostName")->setText(QStringLiteral("Arena"));
        const auto tooltipOf = [&launcher](const char* name) {
            auto* button = launcher.get<QPushButton>(name);
            QHelpEvent event(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(button, &event);
            return button->toolTip().toStdString();
        };
        const std::string run = tooltipOf("cmdRunQuake");
        const std::string batch = tooltipOf("cmdBatch");
        launcher.run();
        QCOMPARE(run, launcher.lastLine());
        QVERIFY(run.find("+hostname Arena ") != std::string::npos);
        QCOMPARE(batch,
                 "\"C:\\Program Files\\Quake2\\Quake2.exe\"" + run.substr(run.find(' ', 11)));
    }

    void keyLayoutListWritesPresets() {
        TempDir game;
        std::filesystem::create_directory(game.path() / "baseq2");
        Launcher launcher(game.path().string());
        QVERIFY(launcher.load());
        auto* custom = launcher.get<QPushButton>("cmdCustom");
        QVERIFY(!custom->isEnabled());

        launcher.pick("Custom");
        QVERIFY(custom->isEnabled());
        QVERIFY(!std::filesystem::exists(game.path() / "baseq2" / "q2velo.txt"));

        launcher.pick("ESDF");
        QVERIFY(!custom->isEnabled());
        const std::string esdf = game.read("baseq2/q2velo.txt");
        QVERIFY(esdf.rfind("bind e \"+forward\"\r\n", 0) == 0);
        QCOMPARE(std::count(esdf.begin(), esdf.end(), '\n'), 9L);

        launcher.pick("Standard");
        const std::string standard = game.read("baseq2/q2velo.txt");
        QVERIFY(standard.rfind("bind UPARROW \"+forward\"\r\n", 0) == 0);
        QCOMPARE(std::count(standard.begin(), standard.end(), '\n'), 10L);
        QVERIFY(launcher.services.messages.empty());
    }

    void keyLayoutWriteFailureIsShown() {
        TempDir game; // no baseq2 folder
        Launcher launcher(game.path().string());
        QVERIFY(launcher.load());
        launcher.pick("ESDF");
        QCOMPARE(launcher.services.messages.size(), std::size_t{1});
        QVERIFY(launcher.services.messages[0].text.contains(QLatin1String("q2velo.txt")));
        QVERIFY(launcher.services.quits.empty());
    }

    void mapPickerTakesTheNameBeforeTheFirstDot_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("map");
        QTest::newRow("plain") << "/maps/q2dm1.bsp"
                               << "q2dm1";
        QTest::newRow("several dots") << "/maps/base1.old.bsp"
                                      << "base1";
        QTest::newRow("only an extension") << "/maps/.bsp"
                                           << "";
        QTest::newRow("no dot at all") << "/maps/arena"
                                       << "arena";
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

    void mapPickerCancelKeepsTheMap() {
        Launcher launcher;
        QVERIFY(launcher.load());
        launcher.services.fileAnswers.push_back(QStringLiteral("/maps/q2dm1.bsp"));
        launcher.click("cmdInsert");
        launcher.services.fileAnswers.push_back(QString());
        launcher.click("cmdInsert");
        QCOMPARE(launcher.get<QLineEdit>("txtMap")->text(), QStringLiteral("q2dm1"));
    }

    void gameDirectoryCanBeChangedFromTheMainWindow() {
        Launcher launcher("/old/game");
        QVERIFY(launcher.load());
        TempDir game;
        const QString before = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(game.path().string()));
        whenModal([](QWidget* modal) { find<QPushButton>(modal, "cmdOkay")->click(); });
        launcher.click("cmdQDir");
        QDir::setCurrent(before);
        QCOMPARE(launcher.get<QLineEdit>("txtQDir")->text(),
                 QString::fromStdString(game.path().string()));
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
