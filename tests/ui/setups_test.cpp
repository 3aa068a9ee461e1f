#include "launcher.h"
#include "support/recorder.h"

#include "core/menu_entry.h"
#include "core/setup.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>

#include <filesystem>
#include <fstream>

using namespace velo;
using test::Launcher;
using test::qs;

namespace {

// The start as the program makes it: the start-up, then the setups in one read.
void start(Launcher& launcher) {
    QVERIFY(launcher.load());
    launcher.window->showSetups(launcher.settings.ReadAll());
}

void chooseEngine(Launcher& launcher, const std::string& program) {
    launcher.get<QTabWidget>("SSTab1")->setCurrentIndex(4);
    auto* engines = launcher.get<QComboBox>("cmbEngine");
    const int index = engines->findData(qs(program));
    QVERIFY(index >= 0);
    engines->setCurrentIndex(index);
    emit engines->activated(index);
}

void pickSetup(Launcher& launcher, const QString& name) {
    auto* setups = launcher.get<QComboBox>("cmbSetup");
    setups->setCurrentIndex(setups->findText(name));
    emit setups->activated(setups->currentIndex());
}

// A game folder with two stand-in engines that record their arguments, started for real.
struct RecordingGame {
    test::Game game;
    std::filesystem::path first = game.folder.path() / "quake2";
    std::filesystem::path second = game.folder.path() / "q2pro";

    RecordingGame() {
        // Installed, so nothing asks whether to start a mod that is not there.
        std::filesystem::create_directory(game.folder.path() / "ctf");
        game.folder.write("ctf/pak0.pak", "");
        test::writeRecorder(first, first.string() + ".args");
        test::writeRecorder(second, second.string() + ".args");
        useRealStarts(*game.launcher);
    }
    void useRealStarts(Launcher& launcher) const {
        launcher.services.real = std::make_unique<ui::DesktopServices>(
            launcher.home.file("state/game.log"), std::chrono::seconds(3));
    }
    // What the engine at program got at its last start.
    static std::vector<std::string> argumentsOf(const std::filesystem::path& program) {
        const std::filesystem::path record = program.string() + ".args";
        std::vector<std::string> args = test::recordedArguments(record);
        std::filesystem::remove(record);
        return args;
    }
};

// Counts the windows shown while it lives.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            ++count;
        }
        return QObject::eventFilter(watched, event);
    }
};

// What a control shows the player: its text, its items, its tick.
QString shownValue(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QStringList items{combo->currentText()};
        for (int i = 0; i < combo->count(); ++i) {
            items << combo->itemText(i);
        }
        return items.join(QLatin1Char('|'));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->isChecked() ? QStringLiteral("ticked") : QString();
    }
    return {};
}
} // namespace

class SetupsTest : public QObject {
    Q_OBJECT

private slots:
    // Everything a setup holds, changed through the window, comes back at the next start and
    // starts the game exactly as before, with the setup's engine over the one kept since.
    void savedSetupComesBackAtTheNextStartAndStartsTheSame() {
        RecordingGame recording;
        Launcher& first = *recording.game.launcher;
        first.window->showSetups(first.settings.ReadAll());
        first.window->modList()->setEditText(QStringLiteral("ctf"));
        for (const char* box : {"Check3", "Check1", "Check11", "chkRun", "Check6"}) {
            first.get<QCheckBox>(box)->click();
        }
        first.get<QRadioButton>("optLeft")->click();
        first.get<QScrollBar>("HScroll1")->setValue(7);
        first.get<QLineEdit>("txtFrag")->setText(QStringLiteral("20"));
        first.get<QLineEdit>("txtTime")->setText(QStringLiteral("15"));
        first.get<QLineEdit>("txtHostName")->setText(QStringLiteral("Friday CTF"));
        chooseEngine(first, recording.second.string());
        first.services.nameAnswers = {{QStringLiteral("LAN CTF"), false}};
        first.click("cmdSaveSetup");
        QCOMPARE(first.get<QComboBox>("cmbSetup")->currentText(), QStringLiteral("LAN CTF"));
        first.run();
        const std::vector<std::string> before = RecordingGame::argumentsOf(recording.second);
        QVERIFY(!before.empty());
        QVERIFY(first.services.messages.empty());
        // Chosen again later without saving: the setup keeps its own.
        first.settings.WriteINI("Quake2", "Engine", recording.first.string());

        // The same arguments from the same engine prove every control came back.
        first.window.reset();
        start(first);
        QCOMPARE(first.get<QComboBox>("cmbSetup")->currentText(), QStringLiteral("LAN CTF"));
        first.run();
        QCOMPARE(RecordingGame::argumentsOf(recording.second), before);
        QVERIFY(first.services.messages.empty());

        // Started from the desktop's menu: the same start, and no window.
        Launcher desktop(recording.game.folder.path().string());
        std::filesystem::copy_file(first.settings.path(), desktop.settings.path(),
                                   std::filesystem::copy_options::overwrite_existing);
        recording.useRealStarts(desktop);
        {
            ShownWindows shown;
            QCOMPARE(ui::runSetup(desktop.settings, desktop.services, "lan ctf"), 0);
            QCOMPARE(shown.count, 0);
        }
        QCOMPARE(RecordingGame::argumentsOf(recording.second), before);
        QCOMPARE(desktop.services.quits, std::vector<int>{0});
        QCOMPARE(ui::runSetup(desktop.settings, desktop.services, "LAN"), 2);
        QCOMPARE(desktop.services.starts.size(), std::size_t{1});
    }

    // A start that fails from the menu shows the window and the reason.
    void runThatFailsShowsTheWindow() {
        Launcher launcher;
        launcher.settings.Edit(
            [](std::string_view text) { return core::withSetup(text, "Duel", core::Setup()); });
        launcher.services.startResult = platform::Error{"C:\\Quake2\\Quake2.exe", "No such file"};
        ShownWindows shown;
        int shownInTheLoop = 0;
        QTimer::singleShot(0, [&] {
            shownInTheLoop = shown.count;
            QApplication::exit(0);
        });
        QCOMPARE(ui::runSetup(launcher.settings, launcher.services, "Duel"), 0);
        QCOMPARE(shownInTheLoop, 1);
        QVERIFY(launcher.services.warnedOnce({"Quake2.exe", "No such file"}));
    }

    // Names the file cannot hold are refused naming why, and asked again; a setup of the
    // same name is replaced only when the player says so; the Games menu entry follows.
    void savingAsksForANameAndBeforeReplacing() {
        Launcher launcher;
        test::TempDir desktop;
        launcher.services.menu = desktop.file("applications");
        start(launcher);
        const std::string entry =
            desktop.file("applications/" + core::menuEntryFileName("LAN CTF"));
        auto& names = launcher.services.nameAnswers;
        names = {
            {QString(), true}, {QStringLiteral("LAN]"), true}, {QStringLiteral("LAN CTF"), true}};
        launcher.click("cmdSaveSetup");
        QCOMPARE(launcher.services.nameQuestions.size(), std::size_t{3});
        QCOMPARE(launcher.services.nameQuestions[0].suggested, QString());
        QVERIFY(launcher.services.nameQuestions[0].offerMenu);
        QCOMPARE(launcher.services.nameQuestions[2].suggested, QStringLiteral("LAN]"));
        QCOMPARE(launcher.services.messages.size(), std::size_t{2});
        QVERIFY(launcher.services.messages[1].text.contains(QLatin1String("\"]\"")));
        QVERIFY(std::filesystem::exists(entry));
        const std::string saved = launcher.home.read("q2velo.ini");
        QVERIFY(core::loadSetup(saved, "LAN CTF").found);

        // Saved again under its own name: asked first; "Cancel" keeps every byte.
        launcher.get<QLineEdit>("txtHostName")->setText(QStringLiteral("Changed"));
        names = {{QStringLiteral("lan ctf"), false}};
        launcher.click("cmdSaveSetup");
        QCOMPARE(launcher.services.nameQuestions.back().suggested, QStringLiteral("LAN CTF"));
        QVERIFY(launcher.services.nameQuestions.back().menuTicked);
        QCOMPARE(launcher.services.questions.size(), std::size_t{1});
        QCOMPARE(launcher.home.read("q2velo.ini"), saved);
        names = {{QStringLiteral("lan ctf"), false}};
        launcher.services.confirmAnswers = {true};
        launcher.click("cmdSaveSetup");
        const std::string replaced = launcher.home.read("q2velo.ini");
        QCOMPARE(core::indexSetups(replaced).names, std::vector<std::string>{"lan ctf"});
        QCOMPARE(core::loadSetup(replaced, "LAN CTF").setup.HostName, std::string("Changed"));
        QVERIFY(!std::filesystem::exists(entry));

        // With "Start values" picked, a save asks for a new name and delete does nothing.
        names = {{QStringLiteral("Duel"), true}};
        pickSetup(launcher, QStringLiteral("Start values"));
        QCOMPARE(launcher.get<QLineEdit>("txtHostName")->text(), QStringLiteral("Unnamed"));
        launcher.click("cmdSaveSetup");
        QCOMPARE(launcher.services.nameQuestions.back().suggested, QString());
        pickSetup(launcher, QStringLiteral("Start values"));
        const std::string two = launcher.home.read("q2velo.ini");
        launcher.click("cmdDeleteSetup");
        QCOMPARE(launcher.home.read("q2velo.ini"), two);
        QCOMPARE(launcher.services.questions.size(), std::size_t{2});

        // Delete takes the setup and its entry, and nothing else.
        pickSetup(launcher, QStringLiteral("Duel"));
        launcher.services.confirmAnswers = {true};
        launcher.click("cmdDeleteSetup");
        QVERIFY(!std::filesystem::exists(desktop.file("applications/velo-start-duel.desktop")));
        QCOMPARE(launcher.get<QComboBox>("cmbSetup")->count(), 2);
        QCOMPARE(launcher.get<QComboBox>("cmbSetup")->currentIndex(), 0);
        QCOMPARE(launcher.home.read("q2velo.ini"), core::withPicked(replaced, ""));
    }

    // Pages made only when first shown come up as those made at once: in place, shown, and
    // holding what the start read.
    void pagesMadeWhenFirstShownLookTheSame() {
        Launcher eager;
        eager.settings.WriteINI("Mod", "Mod3", "rocketarena");
        QVERIFY(eager.load());
        Launcher other;
        other.settings.WriteINI("Mod", "Mod3", "rocketarena");
        ui::frmVelo lazy(other.settings, other.services);
        QVERIFY(lazy.Form_Load());
        for (const char* name : {"txtQDir", "chkFreelook", "cmdRunQuake"}) {
            QVERIFY(lazy.findChild<QWidget*>(QLatin1String(name)) == nullptr);
        }
        for (QWidget* window :
             {static_cast<QWidget*>(eager.window.get()), static_cast<QWidget*>(&lazy)}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
        }
        auto* tabs = lazy.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        for (int page = 1; page <= 4; ++page) {
            tabs->setCurrentIndex(page);
            eager.get<QTabWidget>("SSTab1")->setCurrentIndex(page);
            const auto controls =
                tabs->widget(page)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            QVERIFY(controls.size() > 3);
            for (QWidget* control : controls) {
                auto* twin = eager.get<QWidget>(control->objectName().toLatin1().constData());
                QCOMPARE(control->geometry(), twin->geometry());
                QCOMPARE(control->isVisible(), twin->isVisible());
                QCOMPARE(shownValue(control), shownValue(twin));
            }
        }
        QCOMPARE(lazy.findChild<QLineEdit*>(QStringLiteral("txtQDir"))->text(),
                 QStringLiteral("C:\\Quake2"));
        QVERIFY(lazy.modList()->findText(QStringLiteral("rocketarena")) >= 0);
    }

    // Picking sets each control through its own handler, so the total and the boxes, the
    // slider and its number agree; a damaged setup says once what it left out.
    void pickingSetsEveryControlAsThePlayerWould() {
        Launcher launcher;
        core::Setup all;
        all.FlagBoxes.fill(true);
        all.Sensitivity = 11;
        all.Handedness = core::Hand::Right;
        all.AlwaysRun = false;
        launcher.settings.Edit([&](std::string_view text) {
            return core::withSetup(core::withSetup(text, "All", all), "Broken", all) +
                   "Sensitivity=99\r\nColour=red\r\n";
        });
        start(launcher);
        QVERIFY(launcher.services.warnedOnce({"Broken", "Sensitivity", "Colour"}));
        QCOMPARE(launcher.window->keptOptions().DMFlags, all.DMFlags());
        QCOMPARE(launcher.get<QLineEdit>("txtFreelook")->text(), QStringLiteral("11"));

        const auto shows = [&](const char* setup, std::int32_t flags, const char* run,
                               const char* hand, const char* sensitivity) {
            pickSetup(launcher, QLatin1String(setup));
            const auto& kept = launcher.window->keptOptions();
            QCOMPARE(kept.DMFlags, flags);
            QCOMPARE(kept.RunArg, std::string(run));
            QCOMPARE(kept.HandArg, std::string(hand));
            QCOMPARE(launcher.get<QLineEdit>("txtFreelook")->text(), QLatin1String(sensitivity));
        };
        shows("Start values", 16, " +cl_run 1 ", " hand 2 ", "3");
        QCOMPARE(launcher.settings.ReadINI("Quake2", "Setup").value, std::string());
        shows("All", all.DMFlags(), " +cl_run 0 ", " hand 0 ", "11");
        QCOMPARE(launcher.settings.ReadINI("Quake2", "Setup").value, std::string("All"));
        QCOMPARE(launcher.services.messages.size(), std::size_t{1});
    }
};

QTEST_MAIN(SetupsTest)
#include "setups_test.moc"
