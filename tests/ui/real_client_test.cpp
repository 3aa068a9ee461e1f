// The main window starting Debian's real engines through its own handlers, on game data the
// test writes: what the game then runs is read back from the game itself, its status answer
// and the settings the client saves when it ends.
#include "fake_services.h"
#include "launcher.h"
#include "modal.h"
#include "support/game_data.h"
#include "support/real_engine.h"
#include "support/temp_dir.h"

#include "core/settings.h"
#include "platform/process.h"
#include "ui/frmVelo/frmVelo.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QCompleter>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>

using namespace velo;
using namespace std::chrono_literals;
using test::find;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

// The desktop's services, but the game starts as the tests start real engines: as nobody, on
// the test's own display, never outliving the test.
class RealStart : public test::FakeServices {
public:
    std::unique_ptr<test::RealGame> game;
    platform::MaybeError startGame(const platform::LaunchPlan& plan) override {
        starts.push_back(plan);
        return platform::startGame(game->wrap(plan), &game->watch());
    }
};

bool hasPlayers(const std::string& status) {
    return !test::statusPlayers(status).empty();
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The main window over a game folder "Quake 2" holding one map, velo1, inside its pak0.pak.
struct RealLauncher {
    test::TempDir dir;
    fs::path game = dir.path() / "Quake 2";
    core::SettingsFile settings{dir.file("q2velo.ini")};
    RealStart services;
    std::unique_ptr<ui::frmVelo> window;

    explicit RealLauncher(const char* engine) {
        test::writeTestGame(game, {"velo1"});
        settings.WriteINI("Quake2", "Path", game.string());
        settings.WriteINI("Quake2", "RunSetup", "No");
        services.engines = {{{engine, platform::Family::Yamagi, {}}}};
        window = std::make_unique<ui::frmVelo>(settings, services);
        window->Form_Load();
        // Every page is made, as the start left it, before a test looks for a control on it.
        window->buildPages();
    }
    template <class W> W* get(const char* name) { return find<W>(window.get(), name); }
    void type(const char* box, const char* text) {
        get<QLineEdit>(box)->setText(QLatin1String(text));
    }
    // The client writes into home; its renderer, set before its video starts, is the one
    // Mesa's software GL runs.
    void startClientOn(const std::string& display) {
        services.game = std::make_unique<test::RealGame>(
            dir.path() / "home", dir.path() / "client.log",
            test::RealGame::Options{test::clientEnvironment(display)});
        const fs::path config = dir.path() / "home/.yq2/baseq2/config.cfg";
        test::writeGameFile(config, "set vid_renderer \"gl1\"\n");
        for (const fs::path& open : {config.parent_path().parent_path(), config.parent_path()}) {
            fs::permissions(open, fs::perms::all);
        }
    }
};

#define REQUIRE(program, package)                                                                  \
    do {                                                                                           \
        const std::string missing = test::missingProgram(program);                                 \
        if (!missing.empty()) {                                                                    \
            if (test::onCi()) {                                                                    \
                QFAIL(qPrintable(QString::fromStdString(missing + ": CI installs " package)));     \
            }                                                                                      \
            QSKIP(qPrintable(QString::fromStdString(missing + " (Debian: " package ")")));         \
        }                                                                                          \
    } while (false)

} // namespace

class RealClientTest : public QObject {
    Q_OBJECT

private slots:
    // Every client choice made in the window is in force in the client, and a map typed into
    // the box is a deathmatch others can join, with the server settings in force.
    void clientHostsTheTypedMapWithEveryChoice_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<Lines>("saved"); // in the client's config.cfg, in small letters
        QTest::newRow("ESDF") << "ESDF"
                              << Lines{"bind e \"+forward\"",  "bind d \"+back\"",
                                       "bind s \"+moveleft\"", "bind f \"+moveright\"",
                                       "bind r \"weapnext\"",  "bind mouse2 \"+movedown\""};
        QTest::newRow("custom mouse buttons")
            << "Custom"
            << Lines{"bind mouse1 \"+attack\"", "bind mouse2 \"+mlook\"", "bind mouse3 \"+speed\"",
                     "bind ctrl \"+attack\""};
    }
    void clientHostsTheTypedMapWithEveryChoice() {
        QFETCH(QString, layout);
        QFETCH(Lines, saved);
        REQUIRE(test::kClient, "yamagi-quake2");
        REQUIRE(test::kXvfb, "xvfb");
        RealLauncher launcher(test::kClient);
        launcher.get<QCheckBox>("chkRun")->click();
        launcher.get<QScrollBar>("HScroll1")->setValue(7);
        launcher.get<QCheckBox>("Check6")->click();
        launcher.get<QRadioButton>("optLeft")->click();
        launcher.get<QCheckBox>("Check3")->click();
        auto* layouts = launcher.get<QComboBox>("Combo1");
        layouts->setCurrentIndex(layouts->findText(layout));
        emit layouts->activated(layouts->currentIndex());
        if (layout == QLatin1String("Custom")) {
            test::whenModal([](QWidget* keys) {
                test::whenModal([](QWidget* mouse) {
                    find<QRadioButton>(mouse, "Option2")->click();
                    find<QComboBox>(mouse, "cmbButton2")
                        ->setCurrentText(QStringLiteral("Freelook"));
                    find<QComboBox>(mouse, "cmbButton3")->setCurrentText(QStringLiteral("Run"));
                    find<QPushButton>(mouse, "Command1")->click();
                });
                find<QPushButton>(keys, "cmdMouse")->click();
                find<QPushButton>(keys, "Command1")->click();
            });
            launcher.get<QPushButton>("cmdCustom")->click();
        }
        launcher.type("txtMap", "velo1");
        launcher.type("txtMaxPlayers", "12");
        launcher.type("txtHostName", "Velo Test");
        launcher.type("txtFrag", "20");
        launcher.type("txtTime", "15");

        test::Xvfb x;
        QVERIFY2(!x.display().empty(), x.error().c_str());
        launcher.startClientOn(x.display());
        launcher.get<QPushButton>("cmdRunQuake")->click();
        QVERIFY(launcher.services.messages.empty());
        QCOMPARE(launcher.services.quits, std::vector<int>{0});
        test::RealGame& client = *launcher.services.game;
        const auto status = test::waitForStatus(27910, 30s, &client, hasPlayers);
        QVERIFY2(status && hasPlayers(*status), client.output().substr(0, 20000).c_str());
        const std::pair<const char*, const char*> info[] = {
            {"deathmatch", "1"},  {"maxclients", "12"}, {"dmflags", "20"},
            {"fraglimit", "20"},  {"timelimit", "15"},  {"hostname", "Velo Test"},
            {"mapname", "velo1"},
        };
        for (const auto& [key, value] : info) {
            QVERIFY2(test::statusValue(*status, key) == std::string(value),
                     (std::string(key) + " in " + *status).c_str());
        }
        QCOMPARE(test::statusPlayers(*status).size(), std::size_t{1});

        QVERIFY2(client.stop(), "SIGTERM did not end the client");
        std::ifstream file(client.home() / ".yq2/baseq2/config.cfg");
        const std::string config = lower({std::istreambuf_iterator<char>(file), {}});
        saved.insert(saved.end(), {"set cl_run \"0\"", "set sensitivity \"7\"",
                                   "set crosshair \"0\"", "set hand \"1\"", "set freelook \"1\""});
        for (const std::string& line : saved) {
            QVERIFY2(config.find(line + "\n") != std::string::npos,
                     (line + " not in:\n" + config).c_str());
        }
    }

    // The dedicated server hosts the same settings, and nobody plays on it yet.
    void dedicatedServerHostsTheSameSettings() {
        REQUIRE(test::kDedicatedServer, "yamagi-quake2-core");
        RealLauncher launcher(test::kDedicatedServer);
        launcher.get<QCheckBox>("chkDedicated")->click();
        launcher.type("txtMap", "velo1");
        launcher.type("txtMaxPlayers", "5");
        launcher.type("txtHostName", "Velo Server");
        launcher.type("txtFrag", "7");
        launcher.services.game = std::make_unique<test::RealGame>(
            launcher.dir.path() / "home", launcher.dir.path() / "server.log");
        launcher.get<QPushButton>("cmdRunQuake")->click();
        QVERIFY(launcher.services.messages.empty());
        test::RealGame& server = *launcher.services.game;
        const auto status = test::waitForStatus(27910, 20s, &server);
        QVERIFY2(status, server.output().c_str());
        const std::pair<const char*, const char*> info[] = {
            {"deathmatch", "1"}, {"maxclients", "5"},         {"dmflags", "16"},
            {"fraglimit", "7"},  {"hostname", "Velo Server"}, {"mapname", "velo1"},
        };
        for (const auto& [key, value] : info) {
            QVERIFY2(test::statusValue(*status, key) == std::string(value),
                     (std::string(key) + " in " + *status).c_str());
        }
        QVERIFY(test::statusPlayers(*status).empty());
    }

    // The map list offers the map inside the pak; the mod list the mod Debian keeps beside
    // the engine; a mod that is in neither place stops the start at its question.
    void mapAndModListsFollowWhatIsInstalled() {
        REQUIRE(test::kClient, "yamagi-quake2");
        RealLauncher launcher(test::kClient);
        launcher.window->show();
        launcher.get<QTabWidget>("SSTab1")->setCurrentIndex(3);
        auto* map = launcher.get<QLineEdit>("txtMap");
        map->setFocus();
        QApplication::processEvents();
        QVERIFY(map->completer() != nullptr);
        QCOMPARE(map->completer()->model()->rowCount(), 1);
        QCOMPARE(map->completer()->model()->index(0, 0).data().toString(), QStringLiteral("velo1"));

        QComboBox* mods = launcher.window->modList();
        mods->showPopup();
        mods->hidePopup();
        QVERIFY(mods->findText(QStringLiteral("ctf")) >= 10);
        mods->setEditText(QStringLiteral("rocketarena"));
        launcher.get<QPushButton>("cmdRunQuake")->click();
        QCOMPARE(launcher.services.questions.size(), std::size_t{1});
        QVERIFY(launcher.services.questions[0].contains(QStringLiteral("/usr/lib/yamagi-quake2")));
        QVERIFY(launcher.services.starts.empty());
        QVERIFY(launcher.services.quits.empty());
    }
};

QTEST_MAIN(RealClientTest)
#include "real_client_test.moc"
