// The about window and the credits behind its logo.
#include "launcher.h"
#include "modal.h"

#include <QLabel>

using namespace velo;
using test::find;
using test::whenModal;

class frmAboutTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheLogoOpensTheCredits() {
        test::Launcher launcher;
        QVERIFY(launcher.load());
        int creditsShown = 0;
        Qt::CursorShape logoCursor = Qt::ArrowCursor;
        QString focused;
        whenModal([&](QWidget* about) {
            logoCursor = find<QWidget>(about, "Image1")->cursor().shape();
            focused = about->focusWidget()->objectName();
            for (const char* other : {"lblHint", "lblRole", "lblAuthor"}) {
                QTest::mouseClick(find<QWidget>(about, other), Qt::LeftButton);
            }
            QCOMPARE(QApplication::activeModalWidget(), about);
            whenModal(
                [&](QWidget* credits) {
                    ++creditsShown;
                    QCOMPARE(find<QWidget>(credits, "Image2")->cursor().shape(), Qt::ArrowCursor);
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
        QCOMPARE(focused, QStringLiteral("Command1"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(launcher.services.addresses.empty());
    }

    void eachLinkOpensTheAddressItShows() {
        test::Launcher launcher;
        QVERIFY(launcher.load());
        QStringList shown;
        whenModal([&](QWidget* about) {
            whenModal(
                [&](QWidget* credits) {
                    for (const char* link : {"Label4", "Label5", "Label16", "Label15"}) {
                        auto* label = find<QLabel>(credits, link);
                        shown << QLatin1String("mailto:") + label->text();
                        QTest::mouseClick(label, Qt::LeftButton);
                    }
                    credits->close();
                },
                "frmHalvern");
            QTest::mouseClick(find<QWidget>(about, "Image1"), Qt::LeftButton);
            about->close();
        });
        launcher.click("cmdAbout");
        QCOMPARE(
            QStringList(launcher.services.addresses.begin(), launcher.services.addresses.end()),
            shown);
        QCOMPARE(QStringList(shown).removeDuplicates(), 0);
        for (const QString& address : shown) {
            QVERIFY2(address.endsWith(QLatin1String("@example.org")), qPrintable(address));
        }
    }
};

QTEST_MAIN(frmAboutTest)
#include "frmAbout_test.moc"
