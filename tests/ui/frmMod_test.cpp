// The mod list editor, opened from the main window's "Edit List" and left open beside it.
#include "launcher.h"

#include "ui/frmMod/frmMod.h"

#include <QLineEdit>

#include <filesystem>

using namespace velo;
using test::find;

namespace {
const QString kPrompt = QStringLiteral("Choose the directory of the Mod!");

QLineEdit* slot(QWidget* editor, int n) {
    const QByteArray name = (n == 1 ? "txtMod" : "txtmod") + QByteArray::number(n);
    return find<QLineEdit>(editor, name.constData());
}

ui::frmMod* openEditor(test::Launcher& launcher) {
    launcher.click("cmdEdit");
    return find<ui::frmMod>(launcher.window.get(), "frmMod");
}

} // namespace

class frmModTest : public QObject {
    Q_OBJECT

private slots:
    // Modeless; "Edit List" on the open editor only raises it; the close box fills the list
    // but not the file, so the next opening shows the file again.
    void theCloseBoxFillsTheListButLeavesTheFile() {
        test::Launcher launcher;
        QVERIFY(launcher.load());
        auto* editor = openEditor(launcher);
        QVERIFY(!editor->isModal());
        for (int n = 0; n < 10; ++n) {
            QCOMPARE(slot(editor, n)->text(), QString());
        }
        slot(editor, 2)->setText(QStringLiteral("dday"));
        launcher.settings.WriteINI("Mod", "Mod2", "ctf");
        const std::string before = launcher.home.read("q2velo.ini");
        launcher.click("cmdEdit");
        QCOMPARE(launcher.window->findChildren<ui::frmMod*>().size(), 1);
        QCOMPARE(slot(editor, 2)->text(), QStringLiteral("dday"));

        editor->close();
        QCOMPARE(launcher.home.read("q2velo.ini"), before);
        QCOMPARE(launcher.modList().at(2), QStringLiteral("dday"));
        QCOMPARE(launcher.get<QComboBox>("cmbMod")->currentText(), kPrompt);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(slot(openEditor(launcher), 2)->text(), QStringLiteral("ctf"));
    }

    // A list that cannot be saved afterwards is reported and still reaches the main window.
    void closeSavesTheTenKeysInOrderThenFillsTheList() {
        test::Launcher launcher;
        QVERIFY(launcher.load());
        auto* editor = openEditor(launcher);
        slot(editor, 1)->setText(QStringLiteral("ctf"));
        slot(editor, 9)->setText(QStringLiteral("rocket arena"));
        find<QPushButton>(editor, "cmdClose")->click();

        const std::string file = launcher.home.read("q2velo.ini");
        QVERIFY(file.find("[Mod]\r\nMod0=\r\nMod1=ctf\r\nMod2=\r\nMod3=\r\nMod4=\r\nMod5=\r\n"
                          "Mod6=\r\nMod7=\r\nMod8=\r\nMod9=rocket arena\r\n") != std::string::npos);
        QCOMPARE(launcher.modList().join(QLatin1Char('|')),
                 QStringLiteral("|ctf||||||||rocket arena"));
        QCOMPARE(launcher.get<QComboBox>("cmbMod")->currentText(), kPrompt);

        // The prompt is what the game is asked to load until a mod is picked.
        launcher.run();
        QVERIFY(launcher.lastLine().find("+set game Choose the directory of the Mod! ") !=
                std::string::npos);
        QVERIFY(launcher.services.messages.empty());

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        editor = openEditor(launcher);
        slot(editor, 0)->setText(QStringLiteral("dday"));
        std::filesystem::remove_all(launcher.home.path());
        find<QPushButton>(editor, "cmdClose")->click();
        QVERIFY(launcher.services.warnedOnce({"q2velo.ini", "No such file"}));
        QCOMPARE(launcher.modList().at(0), QStringLiteral("dday"));
        QVERIFY(!std::filesystem::exists(launcher.home.path()));
    }
};

QTEST_MAIN(frmModTest)
#include "frmMod_test.moc"
