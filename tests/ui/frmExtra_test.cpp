// The extra settings window, driven from the main window as a user does.
#include "launcher.h"
#include "scripts/expected_scripts.h"

#include <QCheckBox>
#include <QLineEdit>

using namespace velo;
using test::find;
using test::kAliases;
using test::kTaunts;

namespace {
struct Game : test::Game {
    using test::Game::Game;
    void extra(const test::Act& act = {}) { open("cmdExtra", "cmdClose", act); }
    std::string script() const { return folder.read("baseq2/q2extra.txt"); }
};

QCheckBox* grapple(QWidget* window) {
    return find<QCheckBox>(window, "chkRJ");
}

const std::string kTwoEmpty = "\r\n\r\n";
} // namespace

class frmExtraTest : public QObject {
    Q_OBJECT

private slots:
    // The script's own cases are pinned byte for byte in scripts_test; here, what the window
    // adds: the one-character key, the close box writing too, and the alias lines the main
    // window keeps after the opening that set them.
    void theGrappleLinesOutliveTheOpeningThatSetThem() {
        Game game;
        game.folder.write("baseq2/q2extra.txt", std::string(400, 'x'));
        QString key;
        game.extra([&](QWidget* window) {
            auto* box = find<QLineEdit>(window, "txtRJ");
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("QRS"));
            key = box->text();
            QTest::mouseClick(grapple(window), Qt::LeftButton);
            window->close();
        });
        QCOMPARE(key, QStringLiteral("Q"));
        QCOMPARE(game.script(), "bind Q \"+grapple \"\r\n" + kTaunts + kAliases + kTwoEmpty);
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        bool shownChecked = true;
        game.extra([&](QWidget* window) { shownChecked = grapple(window)->isChecked(); });
        QVERIFY(!shownChecked);
        QCOMPARE(game.script(), kTaunts + kAliases + kTwoEmpty);
    }

    void aFileThatCannotBeWrittenIsReportedAndTheWindowCloses() {
        Game game(/*withBaseq2*/ false);
        game.extra();
        QCOMPARE(game.failedWriteProblem("q2extra.txt"), QString());
    }
};

QTEST_MAIN(frmExtraTest)
#include "frmExtra_test.moc"
