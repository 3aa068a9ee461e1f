// "Join a Game" against stand-in masters and servers on loopback, in a network namespace
// of its own.
#include "launcher.h"
#include "support/stand_in_servers.h"

#include "ui/frmServers/frmServers.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTreeWidget>

using namespace velo;
using test::find;
using test::StandIns;

namespace {
using core::kLoopback;

ui::ServerSearchSetup quickSetup(std::uint16_t lanPort) {
    ui::ServerSearchSetup setup;
    setup.limits.timeout = std::chrono::milliseconds(300);
    setup.limits.masterWait = std::chrono::milliseconds(800);
    setup.limits.lanWait = std::chrono::milliseconds(400);
    setup.lanPort = lanPort;
    setup.firstLocalPort = lanPort;
    setup.lastLocalPort = lanPort;
    return setup;
}

// The rows' texts, column by column, in the list's order.
QStringList rows(QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (!list->topLevelItem(i)->isHidden()) {
            texts << list->topLevelItem(i)->text(column);
        }
    }
    return texts;
}

QTreeWidgetItem* row(QTreeWidget* list, const QString& name) {
    const auto found = list->findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
}

QString address(std::uint16_t port) {
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

// A master listing two good servers, one that never answers, one that answers garbage and
// one twice; a favourite that never answers; a master name that does not resolve.
struct World {
    test::TempDir home;
    core::SettingsFile settings{home.file("q2velo.ini")};
    test::FakeServices services;
    StandIns standIns;
    std::uint16_t alpha = 0, beta = 0, garbage = 0, silent = 0, favourite = 0, masterPort = 0;

    World() {
        alpha = standIns.add(test::server(
            test::statusAnswer("\xc1lpha", "q2dm1", 8, {std::string("Ann") + '\x01', "Bob"})));
        beta = standIns.add(test::server(test::statusAnswer("Beta", "q2dm2", 2, {"Cy", "Di"},
                                                            /*needPass*/ true)));
        garbage = standIns.add(
            [](const std::string&) { return std::string("\xff\xff\xff\xffprint\nnonsense"); });
        silent = standIns.add([](const std::string&) { return std::string(); });
        favourite = standIns.add([](const std::string&) { return std::string(); });
        masterPort = standIns.add(test::master({{kLoopback, alpha},
                                                {kLoopback, beta},
                                                {kLoopback, garbage},
                                                {kLoopback, silent},
                                                {kLoopback, alpha}}));
        standIns.start();
        settings.WriteINI("Servers", "Masters",
                          "127.0.0.1:" + std::to_string(masterPort) + " nowhere.invalid");
        settings.WriteINI("Servers", "Favorites", "127.0.0.1:" + std::to_string(favourite));
    }

    // Shown, and searched to the end.
    std::unique_ptr<ui::frmServers> open() {
        auto window = std::make_unique<ui::frmServers>(settings, services, quickSetup(silent));
        window->show();
        static_cast<void>(QTest::qWaitFor([&window] { return window->finished(); }, 10000));
        return window;
    }
};
} // namespace

class frmServersTest : public QObject {
    Q_OBJECT

private slots:
    void listsWhatAnswersAndSaysWhatFailed() {
        World world;
        auto window = world.open();
        auto* list = find<QTreeWidget>(window.get(), "lstServers");
        QVERIFY(window->finished());

        QCOMPARE(rows(list, 5).size(), 3);
        QVERIFY(row(list, QStringLiteral("Alpha")) != nullptr); // high-bit letter made plain
        QCOMPARE(row(list, QStringLiteral("Alpha"))->text(1), QStringLiteral("q2dm1"));
        QCOMPARE(row(list, QStringLiteral("Alpha"))->text(2), QStringLiteral("2/8"));
        QCOMPARE(row(list, QStringLiteral("Alpha"))->text(4), QStringLiteral("baseq2"));
        QCOMPARE(row(list, QStringLiteral("Beta"))->text(5), address(world.beta));
        // The favourite that never answered is listed last, by ping, as such.
        QCOMPARE(list->topLevelItem(2)->text(5), address(world.favourite));
        QCOMPARE(list->topLevelItem(2)->text(3), QStringLiteral("no answer"));

        const QString progress = find<QLabel>(window.get(), "lblProgress")->text();
        QVERIFY2(progress.contains(QLatin1String("2 of 5 servers answered")), qPrintable(progress));
        QVERIFY2(progress.contains(QLatin1String("nowhere.invalid")), qPrintable(progress));

        // Ready for Return: the list has the focus and its first row is selected, with its
        // players under it, their names made plain.
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(list->currentItem(), list->topLevelItem(0));
        list->setCurrentItem(row(list, QStringLiteral("Alpha")));
        auto* players = find<QTreeWidget>(window.get(), "lstPlayers");
        QCOMPARE(rows(players, 0), (QStringList{QStringLiteral("Ann"), QStringLiteral("Bob")}));
        QCOMPARE(rows(players, 1), (QStringList{QStringLiteral("3"), QStringLiteral("6")}));

        find<QCheckBox>(window.get(), "chkHideFull")->setChecked(true);
        QVERIFY(row(list, QStringLiteral("Beta"))->isHidden());
        find<QCheckBox>(window.get(), "chkHideFull")->setChecked(false);
        find<QCheckBox>(window.get(), "chkHideEmpty")->setChecked(true);
        QVERIFY(!row(list, QStringLiteral("Beta"))->isHidden());

        // A header click sorts by that column, the rows without an answer last.
        list->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(rows(list, 0),
                 (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QString()}));

        // Refresh asks everyone again.
        const int before = world.standIns.requests;
        QTest::keyClick(window.get(), Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(window->finished() && rows(list, 5).size() == 3, 10000);
        QVERIFY(world.standIns.requests > before + 4);
    }

    void joinsTheRowTheTypedAddressAndAsksForAPassword() {
        World world;
        auto window = world.open();
        auto* list = find<QTreeWidget>(window.get(), "lstServers");
        QSignalSpy joins(window.get(), &ui::frmServers::joinRequested);

        list->setCurrentItem(row(list, QStringLiteral("Alpha")));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(joins.size(), 1);
        QCOMPARE(joins.takeFirst(),
                 (QVariantList{address(world.alpha), QString(), QStringLiteral("baseq2")}));
        QVERIFY(world.services.passwordAsks.empty());

        // Cancelling the password joins nothing.
        window->lstServers_DblClick(row(list, QStringLiteral("Beta")));
        QCOMPARE(joins.size(), 0);
        world.services.passwords.push_back(QStringLiteral("s3cret"));
        window->lstServers_DblClick(row(list, QStringLiteral("Beta")));
        QCOMPARE(joins.takeFirst(), (QVariantList{address(world.beta), QStringLiteral("s3cret"),
                                                  QStringLiteral("baseq2")}));
        QCOMPARE(world.services.passwordAsks.size(), 2u);

        auto* typed = find<QLineEdit>(window.get(), "txtAddress");
        struct Typed {
            const char* text;
            const char* joined; // nullptr: refused with a message
        };
        for (const Typed& t :
             {Typed{"q2.example.org", "q2.example.org:27910"},
              Typed{" 127.0.0.1:27999 ", "127.0.0.1:27999"}, Typed{"q2.example.org:99999", nullptr},
              Typed{"two words", nullptr}}) {
            world.services.messages.clear();
            typed->setText(QLatin1String(t.text));
            QTest::keyClick(typed, Qt::Key_Return);
            if (t.joined != nullptr) {
                QCOMPARE(joins.size(), 1);
                QCOMPARE(joins.takeFirst().front().toString(), QLatin1String(t.joined));
            } else {
                QCOMPARE(joins.size(), 0);
                QVERIFY(world.services.messages.size() == 1);
                QVERIFY(world.services.messages[0].text.contains(QLatin1String(t.text)));
            }
        }
        // A typed address of a listed server that needs a password asks for it.
        typed->setText(address(world.beta));
        world.services.passwords.push_back(QStringLiteral("pw"));
        QTest::keyClick(typed, Qt::Key_Return);
        QCOMPARE(joins.takeFirst(), (QVariantList{address(world.beta), QStringLiteral("pw"),
                                                  QStringLiteral("baseq2")}));
    }

    void favouritesSurviveARestart() {
        World world;
        world.settings.WriteINI("Quake2", "Path", "C:\\Quake2");
        {
            auto window = world.open();
            auto* list = find<QTreeWidget>(window.get(), "lstServers");
            std::unique_ptr<QMenu> menu(window->contextMenuFor(row(list, QStringLiteral("Alpha"))));
            QCOMPARE(menu->actions().back()->text(), QStringLiteral("Add to Favourites"));
            menu->actions().back()->trigger();
        }
        const std::string both = "127.0.0.1:" + std::to_string(world.favourite) +
                                 " 127.0.0.1:" + std::to_string(world.alpha);
        QCOMPARE(world.settings.ReadINI("Servers", "Favorites").value, both);
        QCOMPARE(world.settings.ReadINI("Quake2", "Path").value, std::string("C:\\Quake2"));

        // Even without a master, the favourites are asked.
        world.settings.WriteINI("Servers", "Masters", "127.0.0.1:1");
        auto window = world.open();
        auto* list = find<QTreeWidget>(window.get(), "lstServers");
        QCOMPARE(rows(list, 0), (QStringList{QStringLiteral("Alpha"), QString()}));
        std::unique_ptr<QMenu> menu(window->contextMenuFor(row(list, QStringLiteral("Alpha"))));
        QCOMPARE(menu->actions().back()->text(), QStringLiteral("Remove from Favourites"));
        menu->actions().back()->trigger();
        QCOMPARE(world.settings.ReadINI("Servers", "Favorites").value,
                 "127.0.0.1:" + std::to_string(world.favourite));

        // The address box adds one too.
        find<QLineEdit>(window.get(), "txtAddress")->setText(QStringLiteral("q2.example.org"));
        find<QPushButton>(window.get(), "cmdAddFavourite")->click();
        QCOMPARE(world.settings.ReadINI("Servers", "Favorites").value,
                 "127.0.0.1:" + std::to_string(world.favourite) + " q2.example.org:27910");

        // A favourite kept by its host name is listed by its address, and removed as such.
        world.settings.WriteINI("Servers", "Favorites", "localhost:" + std::to_string(world.alpha));
        auto named = world.open();
        list = find<QTreeWidget>(named.get(), "lstServers");
        QCOMPARE(rows(list, 5), QStringList{address(world.alpha)});
        std::unique_ptr<QMenu> namedMenu(named->contextMenuFor(row(list, QStringLiteral("Alpha"))));
        QCOMPARE(namedMenu->actions().back()->text(), QStringLiteral("Remove from Favourites"));
        namedMenu->actions().back()->trigger();
        QCOMPARE(world.settings.ReadINI("Servers", "Favorites").value, std::string());
    }

    // A server on this machine is found by the LAN search alone.
    void findsTheLan() {
        test::TempDir home;
        core::SettingsFile settings{home.file("q2velo.ini")};
        test::FakeServices services;
        StandIns standIns;
        const std::uint16_t lan =
            standIns.add(test::server(test::statusAnswer("Local", "base1", 4, {})), 0, 0);
        const std::uint16_t emptyMaster = standIns.add(test::master({}));
        standIns.start();
        settings.WriteINI("Servers", "Masters", "127.0.0.1:" + std::to_string(emptyMaster));
        ui::ServerSearchSetup setup = quickSetup(lan);
        setup.lastLocalPort = setup.firstLocalPort = static_cast<std::uint16_t>(lan + 1);
        ui::frmServers window(settings, services, setup);
        auto* list = find<QTreeWidget>(&window, "lstServers");
        QTRY_VERIFY_WITH_TIMEOUT(window.finished(), 10000);
        QCOMPARE(rows(list, 0), QStringList{QStringLiteral("Local")});
        QCOMPARE(rows(list, 2), QStringList{QStringLiteral("0/4")});
    }

    void joinGameOpensTheResizableWindow() {
        test::Launcher launcher;
        StandIns standIns;
        const std::uint16_t emptyMaster = standIns.add(test::master({}));
        standIns.start();
        launcher.settings.WriteINI("Servers", "Masters",
                                   "127.0.0.1:" + std::to_string(emptyMaster));
        QVERIFY(launcher.load());
        auto* cmdJoin = find<QPushButton>(launcher.window.get(), "cmdJoin");
        cmdJoin->click();
        auto* window = launcher.window->findChild<ui::frmServers*>();
        QVERIFY(window != nullptr && window->isVisible());
        QVERIFY(window->minimumSize() != window->maximumSize());
        cmdJoin->click();
        QCOMPARE(launcher.window->findChildren<ui::frmServers*>().size(), 1);
        window->close();
        QTRY_VERIFY(launcher.window->findChild<ui::frmServers*>() == nullptr);
    }
};

QTEST_MAIN(frmServersTest)
#include "frmServers_test.moc"
