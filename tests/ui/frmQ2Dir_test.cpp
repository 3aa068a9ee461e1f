#include "fake_services.h"
#include "support/temp_dir.h"

#include "core/settings.h"
#include "ui/frmQ2Dir/frmQ2Dir.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include <filesystem>

using velo::test::FakeServices;
using velo::test::TempDir;
using namespace velo;

namespace {
// A locator started in a game folder with two subfolders.
struct Locator {
    TempDir home;
    TempDir game;
    core::SettingsFile settings{home.file("q2velo.ini")};
    FakeServices services;
    QString before = QDir::currentPath();
    std::unique_ptr<ui::frmQ2Dir> window;

    Locator() {
        std::filesystem::create_directory(game.path() / "alpha");
        std::filesystem::create_directory(game.path() / "beta");
        QDir::setCurrent(QString::fromStdString(game.path().string()));
        window = std::make_unique<ui::frmQ2Dir>(settings, services);
        window->show();
    }
    ~Locator() { QDir::setCurrent(before); }

    ui::FolderList* folders() const {
        return window->findChild<ui::FolderList*>(QStringLiteral("lstFolders"));
    }
    QListWidgetItem* item(const QString& text) const {
        const auto found = folders()->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    std::string gamePath(const char* sub = nullptr) const {
        return sub ? (game.path() / sub).string() : game.path().string();
    }
};
} // namespace

class frmQ2DirTest : public QObject {
    Q_OBJECT

private slots:
    void enterAtOnceStoresTheCurrentFolderPathFirst() {
        Locator locator;
        auto* okay = locator.window->findChild<QPushButton*>(QStringLiteral("cmdOkay"));
        QCOMPARE(locator.window->focusWidget(), okay);
        QTest::keyClick(locator.window.get(), Qt::Key_Return);
        QCOMPARE(locator.window->result(), int(QDialog::Accepted));
        QCOMPARE(locator.home.read("q2velo.ini"),
                 "[Quake2]\r\nPath=" + locator.gamePath() + "\r\nRunSetup=No\r\n");
    }

    void listShowsTheLineageThenSubfolders() {
        Locator locator;
        auto* list = locator.folders();
        QCOMPARE(list->item(0)->text(), QStringLiteral("/"));
        QStringList tail;
        for (int row = list->count() - 3; row < list->count(); ++row) {
            tail << list->item(row)->text();
        }
        const QString name = QString::fromStdString(locator.game.path().filename().string());
        QCOMPARE(tail, QStringList({name, QStringLiteral("alpha"), QStringLiteral("beta")}));
    }

    void onlyAnOpenedFolderIsStored() {
        Locator locator;
        auto* list = locator.folders();
        QListWidgetItem* alpha = locator.item(QStringLiteral("alpha"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(alpha).center());
        QCOMPARE(locator.window->chosenFolder(), QString::fromStdString(locator.gamePath()));

        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(alpha).center());
        QCOMPARE(locator.window->chosenFolder(), QString::fromStdString(locator.gamePath("alpha")));
        QVERIFY(locator.item(QStringLiteral("beta")) == nullptr);
        locator.window->cmdOkay_Click();
        QCOMPARE(locator.settings.ReadINI("Quake2", "Path").value, locator.gamePath("alpha"));
    }

    void aDriveMovesTheListToItsRoot() {
        Locator locator;
        auto* drives = locator.window->findChild<QComboBox*>(QStringLiteral("lstDrive"));
        QVERIFY(drives->count() >= 1);
        const int root = drives->findText(QStringLiteral("/"));
        QVERIFY(root >= 0);
        drives->setCurrentIndex(root);
        locator.window->lstDrive_Change();
        QCOMPARE(locator.window->chosenFolder(), QStringLiteral("/"));
    }

    void aFailedWriteIsShown() {
        TempDir home;
        core::SettingsFile settings(home.file("missing/q2velo.ini"));
        FakeServices services;
        ui::frmQ2Dir window(settings, services);
        window.cmdOkay_Click();
        QCOMPARE(services.messages.size(), std::size_t{1});
        QVERIFY(services.messages[0].text.contains(QLatin1String("q2velo.ini")));
    }
};

QTEST_MAIN(frmQ2DirTest)
#include "frmQ2Dir_test.moc"
