#include "launcher.h"

#include "ui/frmQ2Dir/frmQ2Dir.h"

#include <QLineEdit>

#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace velo;
using test::qs;

namespace {
// A locator started in a game folder with two subfolders.
struct Locator {
    test::TempDir home;
    test::TempDir game;
    core::SettingsFile settings{home.file("q2velo.ini")};
    test::FakeServices services;
    test::CurrentDir in{game.path()};
    std::unique_ptr<ui::frmQ2Dir> window;

    Locator() {
        std::filesystem::create_directory(game.path() / "alpha");
        std::filesystem::create_directory(game.path() / "beta");
        window = std::make_unique<ui::frmQ2Dir>(settings, services);
        window->show();
    }
    ui::FolderList* folders() const {
        return test::find<ui::FolderList>(window.get(), "lstFolders");
    }
    QPoint at(const char* folder) const {
        const auto found = folders()->findItems(QLatin1String(folder), Qt::MatchExactly);
        return found.isEmpty() ? QPoint(-1, -1) : folders()->visualItemRect(found.first()).center();
    }
};
} // namespace

class frmQ2DirTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheLineageThenSubfoldersAndEnterStoresTheFolderOrNamesTheFile() {
        Locator locator;
        auto* list = locator.folders();
        QCOMPARE(list->item(0)->text(), QStringLiteral("/"));
        QStringList tail;
        for (int row = list->count() - 3; row < list->count(); ++row) {
            tail << list->item(row)->text();
        }
        QCOMPARE(tail.join(QLatin1Char('|')),
                 qs(locator.game.path().filename()) + QLatin1String("|alpha|beta"));

        QTest::keyClick(locator.window.get(), Qt::Key_Return);
        QCOMPARE(locator.window->result(), int(QDialog::Accepted));
        QCOMPARE(locator.home.read("q2velo.ini"),
                 "[Quake2]\r\nPath=" + locator.game.path().string() + "\r\nRunSetup=No\r\n");
        std::filesystem::remove_all(locator.home.path());
        locator.window->cmdOkay_Click();
        QVERIFY(locator.services.warnedOnce({"q2velo.ini"}));
    }

    // A folder is chosen by opening it, a drive only when the drive list changes to another.
    void onlyAnOpenedFolderOrDriveIsChosen() {
        Locator locator;
        QWidget* viewport = locator.folders()->viewport();
        const QPoint alpha = locator.at("alpha");
        QTest::mouseClick(viewport, Qt::LeftButton, {}, alpha);
        QCOMPARE(locator.window->chosenFolder(), qs(locator.game.path()));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, alpha);
        QCOMPARE(locator.window->chosenFolder(), qs(locator.game.path() / "alpha"));
        QCOMPARE(locator.at("beta"), QPoint(-1, -1));

        auto* drives = test::find<QComboBox>(locator.window.get(), "lstDrive");
        locator.folders()->setCurrentFolder(qs(locator.game.path() / "alpha"));
        locator.window->lstDrive_Change();
        QCOMPARE(locator.window->chosenFolder(), qs(locator.game.path() / "alpha"));
        drives->addItem(qs(locator.game.path())); // stands in for a drive mounted there
        drives->setCurrentIndex(drives->count() - 1);
        locator.window->lstDrive_Change();
        QCOMPARE(locator.window->chosenFolder(), qs(locator.game.path()));
    }

    // What is accepted from "..." becomes the main window's game folder.
    void opensOnTheGameFoundAtTheFirstStartThenOnTheOneInUse() {
        test::TempDir found;
        const std::filesystem::path sub = found.path() / "sub";
        std::filesystem::create_directory(sub);
        test::Launcher launcher;
        launcher.settings.WriteINI("Quake2", "RunSetup", "Yes");
        launcher.services.games = {found.path().string()};
        QStringList opened;
        const auto record = [&](QWidget* modal) {
            auto* locator = qobject_cast<ui::frmQ2Dir*>(modal);
            (void)QTest::qWaitFor([&] { return locator->chosenFolder() == qs(found.path()); });
            opened << locator->chosenFolder();
            if (opened.size() == 2) {
                test::find<ui::FolderList>(modal, "lstFolders")->setCurrentFolder(qs(sub));
            }
            test::find<QPushButton>(modal, "cmdOkay")->click();
        };
        test::whenModal(record);
        QVERIFY(launcher.load());
        launcher.services.games.clear();
        test::whenModal(record);
        launcher.click("cmdQDir");
        QCOMPARE(opened, QStringList(2, qs(found.path())));
        QCOMPARE(launcher.get<QLineEdit>("txtQDir")->text(), qs(sub));
        QCOMPARE(launcher.settings.ReadINI("Quake2", "Path").value, sub.string());
    }

    // Nothing can be saved where the settings file is kept: the folder chosen is this run's
    // all the same. Closing the locator does not wait for a search still looking.
    void theFirstStartKeepsAnUnsavedFolderAndNeverWaitsForTheSearch() {
        test::TempDir game;
        test::CurrentDir in{game.path()};
        test::TempDir home;
        core::SettingsFile settings{(home.path() / "gone" / "q2velo.ini").string()};
        std::mutex lock;
        std::condition_variable change;
        bool released = false;
        bool searched = false;
        const auto searchDone = [&] {
            const std::lock_guard<std::mutex> held(lock);
            return searched;
        };
        {
            test::FakeServices services;
            services.search = [&] {
                std::unique_lock<std::mutex> held(lock);
                // Bounded, so a locator that waits fails the test instead of hanging it.
                change.wait_for(held, std::chrono::seconds(5), [&] { return released; });
                searched = true;
                return std::vector<std::string>{home.path().string()};
            };
            ui::frmVelo window(settings, services);
            test::whenModal(
                [](QWidget* modal) { test::find<QPushButton>(modal, "cmdOkay")->click(); });
            QVERIFY(window.Form_Load());
            QVERIFY2(!searchDone(), "the start-up waited for the search");
            QCOMPARE(window.gameDirectory(), qs(game.path()));
            QVERIFY(services.warnedOnce({"gone", "asked for it again at the next start"}));
        }
        // The search ends after the window and the services it came from are gone.
        {
            const std::lock_guard<std::mutex> held(lock);
            released = true;
        }
        change.notify_all();
        // Found after the locator went: nowhere to show it, and nothing breaks.
        QTRY_VERIFY(searchDone());
        QTest::qWait(20);
        QVERIFY(!std::filesystem::exists(home.path() / "gone"));
    }
};

QTEST_MAIN(frmQ2DirTest)
#include "frmQ2Dir_test.moc"
