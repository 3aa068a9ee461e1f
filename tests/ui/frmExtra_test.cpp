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
    QString script() const { return QString::fromStdString(folder.read("baseq2/q2extra.txt")); }
};

QCheckBox* grapple(QWidget* window) {
    return find<QCheckBox>(window, "chkRJ");
}

QString q(const std::string& bytes) {
    return QString::fromStdString(bytes);
}

const std::string kTwoEmpty = "\r\n\r\n";
} // namespace

class frmExtraTest : public QObject {
    Q_OBJECT

private slots:
    void closingWritesTheTauntsAndTheStoredLines_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("untouched") << "" << q(kTaunts + kTwoEmpty + kTwoEmpty);
        QTest::newRow("grapple checked")
            << "check" << q("bind W \"+grapple \"\r\n" + kTaunts + kAliases + kTwoEmpty);
        QTest::newRow("checked then unchecked")
            << "check uncheck" << q(kTaunts + kTwoEmpty + kTwoEmpty);
        QTest::newRow("key Q, empty third taunt, close box")
            << "check Q empty3 closebox"
            << q("bind Q \"+grapple \"\r\nbind F5 \"wave 1 \"\r\nbind F6 \"wave 2 \"\r\n"
                 "bind  \"wave 3 \"\r\nbind F8 \"wave 4 \"\r\nbind F9 \"wave 5 \"\r\n" +
                 kAliases + kTwoEmpty);
    }
    void closingWritesTheTauntsAndTheStoredLines() {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        Game game;
        game.folder.write("baseq2/q2extra.txt", std::string(400, 'x'));
        const QStringList list = steps.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        game.extra([&](QWidget* window) {
            for (const QString& step : list) {
                if (step == QLatin1String("check") || step == QLatin1String("uncheck")) {
                    QTest::mouseClick(grapple(window), Qt::LeftButton);
                } else if (step == QLatin1String("Q")) {
                    find<QLineEdit>(window, "txtRJ")->setText(QStringLiteral("Q"));
                } else if (step == QLatin1String("empty3")) {
                    find<QLineEdit>(window, "txtTaunt3")->clear();
                } else if (step == QLatin1String("closebox")) {
                    window->close();
                }
            }
        });
        QCOMPARE(game.script(), expected);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void aliasLinesOutliveTheOpeningThatSetThem() {
        Game game;
        bool shownChecked = true;
        game.extra([](QWidget* window) { grapple(window)->click(); });
        game.extra([&](QWidget* window) { shownChecked = grapple(window)->isChecked(); });
        QVERIFY(!shownChecked);
        QCOMPARE(game.script(), q(kTaunts + kAliases + kTwoEmpty));
    }

    void theGrappleKeyHoldsOneCharacterAndFocusStartsOnTheBox() {
        Game game;
        QString key;
        QString focused;
        game.extra([&](QWidget* window) {
            focused = window->focusWidget()->objectName();
            auto* box = find<QLineEdit>(window, "txtRJ");
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("QRS"));
            key = box->text();
        });
        QCOMPARE(focused, QStringLiteral("chkRJ"));
        QCOMPARE(key, QStringLiteral("Q"));
    }

    void aFileThatCannotBeWrittenIsReportedAndTheWindowCloses() {
        Game game(/*withBaseq2*/ false);
        game.extra();
        QCOMPARE(game.failedWriteProblem("q2extra.txt"), QString());
    }
};

QTEST_MAIN(frmExtraTest)
#include "frmExtra_test.moc"
