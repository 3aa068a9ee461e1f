// The about window and the credits behind its logo.
#include "launcher.h"

#include <QLabel>

using namespace velo;
using test::find;
using test::whenModal;

class frmAboutTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheLogoOpensTheCreditsWhoseLinksOpenTheAddressesTheyShow() {
        test::Launcher launcher;
        QVERIFY(launcher.load());
        int creditsShown = 0;
        QStringList shown;
        Qt::CursorShape logoCursor = Qt::ArrowCursor;
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
            // Closing the credits comes back here, not to the main window.
            QCOMPARE(QApplication::activeModalWidget(), about);
            find<QPushButton>(about, "Command1")->click();
        });
        launcher.click("cmdAbout");
        QCOMPARE(creditsShown, 1);
        QCOMPARE(logoCursor, Qt::PointingHandCursor);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        const auto& addresses = launcher.services.addresses;
        QCOMPARE(QStringList(addresses.begin(), addresses.end()), shown);
        QCOMPARE(QStringList(shown).removeDuplicates(), 0);
    }
};

QTEST_MAIN(frmAboutTest)
#include "frmAbout_test.moc"
