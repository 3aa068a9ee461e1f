// Every control stands where its layout puts it; a typo in a twips box shows here.
#include "fake_services.h"
#include "support/temp_dir.h"

#include "core/settings.h"
#include "ui/frmAbout/frmAbout.h"
#include "ui/frmExtra/frmExtra.h"
#include "ui/frmKeys/frmKeys.h"
#include "ui/frmMod/frmMod.h"
#include "ui/frmMouse/frmMouse.h"
#include "ui/frmQ2Dir/frmQ2Dir.h"
#include "ui/frmVelo/frmVelo.h"
#include "ui/toolkit/twips.h"

#include <QComboBox>
#include <QTest>

using namespace velo;

namespace {
struct Place {
    const char* name;
    ui::Twips box;
};

// Page controls are measured from the tab control's top-left corner.
const Place kMainWindow[] = {
    {"SSTab1", {0, 0, 9165, 6735}},          {"cmdAbout", {6840, 6840, 1095, 375}},
    {"cmdClose", {8040, 6840, 1095, 375}},   {"Image5", {1200, 720, 6930, 5280}},
    {"lblQPath", {2760, 480, 2895, 255}},    {"txtQDir", {2760, 840, 2175, 285}},
    {"lblModSel", {5760, 480, 1815, 255}},   {"cmbMod", {5760, 840, 2775, 315}},
    {"cmdEdit", {5760, 1320, 1215, 375}},    {"Image2", {120, 1200, 5265, 5340}},
    {"Label4", {240, 480, 1575, 255}},       {"chkFreelook", {240, 840, 1335, 255}},
    {"chkRun", {240, 1200, 1695, 255}},      {"Check6", {240, 1560, 1455, 255}},
    {"Label5", {1920, 960, 2175, 255}},      {"HScroll1", {1920, 1200, 2055, 255}},
    {"txtFreelook", {4080, 1200, 375, 285}}, {"Label9", {6360, 480, 1335, 255}},
    {"optLeft", {6360, 960, 1575, 195}},     {"OptRight", {6360, 1320, 1455, 195}},
    {"OptCenter", {6360, 1680, 1815, 195}},  {"Label8", {6480, 4200, 1335, 255}},
    {"Combo1", {6480, 4560, 2295, 315}},     {"cmdCustom", {6480, 5040, 1335, 375}},
    {"cmdExtra", {6480, 5640, 1335, 375}},   {"Image1", {120, 3360, 4665, 3345}},
    {"Label6", {240, 480, 2055, 255}},       {"chkDedicated", {240, 840, 1455, 255}},
    {"Label7", {2400, 480, 1575, 255}},      {"txtMap", {2400, 840, 1815, 285}},
    {"cmdInsert", {2400, 1200, 975, 375}},   {"Label10", {4560, 4920, 1935, 255}},
    {"Label11", {3600, 5280, 855, 195}},     {"txtHostName", {4560, 5280, 1695, 285}},
    {"Label12", {3720, 5760, 750, 195}},     {"txtTime", {4560, 5760, 495, 285}},
    {"Label13", {3720, 6240, 720, 195}},     {"txtFrag", {4560, 6240, 495, 285}},
    {"Label3", {6840, 480, 1935, 255}},      {"Check4", {6720, 840, 1695, 255}},
    {"Check3", {6720, 1200, 1935, 255}},     {"Check5", {6720, 1560, 1695, 255}},
    {"Check2", {6720, 1920, 1935, 255}},     {"Check1", {6720, 2280, 1935, 255}},
    {"Check16", {6720, 2640, 1815, 195}},    {"Check9", {6720, 3000, 2175, 195}},
    {"Check7", {6720, 3360, 1935, 195}},     {"Check17", {6720, 3720, 1935, 255}},
    {"Check11", {6720, 4080, 2055, 195}},    {"Check10", {6720, 4440, 2055, 195}},
    {"Check15", {6720, 4800, 1695, 195}},    {"Check12", {6720, 5160, 1575, 195}},
    {"Check13", {6720, 5520, 1215, 195}},    {"Check14", {6720, 5880, 1215, 195}},
    {"Check8", {6720, 6240, 1815, 195}},     {"Image3", {120, 2760, 3825, 3780}},
    {"cmdRunQuake", {240, 5880, 1335, 495}}, {"cmdBatch", {7440, 5880, 1455, 495}},
    {"Image4", {720, 360, 7575, 5790}},
};

const Place kLocator[] = {
    {"lstFolders", {45, 0, 5085, 3240}},
    {"lstDrive", {0, 3330, 3675, 315}},
    {"cmdOkay", {3840, 3345, 1215, 300}},
};

const Place kKeyboard[] = {
    {"txtForward", {240, 1080, 1455, 285}},   {"txtBack", {240, 1800, 1455, 285}},
    {"txtTLeft", {240, 2520, 1455, 285}},     {"txtTRight", {240, 3240, 1455, 285}},
    {"txtSLeft", {240, 3960, 1455, 285}},     {"txtSRight", {240, 4680, 1455, 285}},
    {"txtAttack", {2400, 1080, 1455, 285}},   {"txtJump", {2400, 1800, 1455, 285}},
    {"txtDuck", {2400, 2520, 1455, 285}},     {"txtNextWeap", {7080, 960, 1455, 285}},
    {"txtPrevWeap", {7080, 1680, 1455, 285}}, {"txtNextItem", {7080, 2400, 1455, 285}},
    {"txtPrevItem", {7080, 3120, 1455, 285}}, {"txtUseItem", {7080, 3840, 1455, 285}},
    {"txtDropItem", {7080, 4560, 1455, 285}}, {"lblForward", {240, 840, 1455, 255}},
    {"lblDropItem", {7080, 4320, 1455, 255}}, {"Combo1", {4680, 720, 1935, 315}},
    {"Combo2", {4680, 1200, 1935, 315}},      {"Combo10", {4680, 5040, 1935, 315}},
    {"lblCombo1", {4320, 840, 255, 255}},     {"lblCombo10", {4320, 5160, 255, 255}},
    {"Image1", {840, 4080, 2865, 2400}},      {"Command1", {4440, 6120, 975, 375}},
    {"cmdMouse", {5640, 6120, 1335, 375}},
};

const Place kMouse[] = {
    {"cmbButton1", {240, 1560, 2175, 315}}, {"cmbButton2", {5160, 1560, 2175, 315}},
    {"cmbButton3", {2640, 240, 2175, 315}}, {"Label1", {480, 3000, 1215, 255}},
    {"Option1", {480, 3360, 1335, 255}},    {"Option2", {480, 3720, 1335, 255}},
    {"Command1", {3360, 5760, 975, 375}},   {"Image1", {1920, 840, 3765, 4500}},
    {"Line1", {2400, 1800, 495, 15}},       {"Line2", {3720, 600, 15, 735}},
    {"Line3", {4680, 1800, 495, 15}},
};

const Place kExtra[] = {
    {"lblTaunt", {120, 120, 1215, 255}},  {"lblWave1", {120, 600, 855, 255}},
    {"lblWave5", {120, 2040, 855, 255}},  {"txtTaunt1", {960, 570, 615, 285}},
    {"txtTaunt2", {960, 960, 615, 285}},  {"txtTaunt5", {960, 2040, 615, 285}},
    {"lblCool", {5520, 120, 1455, 255}},  {"lblKey", {3960, 600, 495, 255}},
    {"txtRJ", {4560, 600, 375, 285}},     {"chkRJ", {5400, 600, 1575, 255}},
    {"Image1", {2760, 1680, 2205, 2955}}, {"cmdClose", {3120, 4560, 1215, 375}},
};

const Place kModList[] = {
    {"txtmod0", {120, 480, 1455, 285}},   {"txtMod1", {120, 1080, 1455, 285}},
    {"txtmod4", {120, 2880, 1455, 285}},  {"txtmod5", {2640, 480, 1455, 285}},
    {"txtmod9", {2640, 2880, 1455, 285}}, {"lblMod0", {120, 240, 495, 255}},
    {"lblMod1", {120, 840, 495, 255}},    {"lblMod2", {120, 1440, 465, 195}},
    {"lblMod9", {2640, 2640, 465, 195}},  {"cmdClose", {1440, 3480, 1215, 495}},
};

const Place kAbout[] = {
    {"Image1", {120, 120, 2370, 2160}},    {"lblHint", {120, 2400, 2295, 255}},
    {"lblRole", {2640, 120, 1815, 255}},   {"lblAuthor", {2640, 360, 1815, 255}},
    {"Command1", {2760, 1920, 1095, 375}},
};

const Place kCredits[] = {
    {"Image2", {2400, 120, 2370, 2160}},           {"Image1", {120, 2400, 7200, 195}},
    {"lblNameLabel4", {120, 2640, 1335, 255}},     {"lblRoleLabel4_3", {1680, 3120, 2175, 255}},
    {"Label4", {4200, 2640, 2535, 255}},           {"Label5", {4200, 3720, 2535, 255}},
    {"lblRoleLabel5_2", {1680, 3960, 2175, 255}},  {"Label16", {4200, 4560, 2535, 255}},
    {"lblNameLabel15", {120, 5640, 1335, 255}},    {"Label15", {4200, 5640, 2535, 255}},
    {"lblRoleLabel15_2", {1680, 5880, 2175, 255}}, {"Command1", {3240, 6600, 975, 375}},
};

template <std::size_t N>
void checkPlaces(QWidget* window, QWidget* origin, const Place (&places)[N]) {
    for (const Place& place : places) {
        auto* control = window->findChild<QWidget*>(QLatin1String(place.name));
        QVERIFY2(control != nullptr, place.name);
        const QWidget* from = origin->isAncestorOf(control) ? origin : window;
        const QRect actual(control->mapTo(from, QPoint(0, 0)), control->size());
        QVERIFY2(actual == ui::toPixels(place.box), place.name);
    }
}
template <std::size_t N>
void checkWindow(QWidget& window, const char* caption, int width, int height,
                 const Place (&places)[N]) {
    window.show();
    QCOMPARE(window.size(), ui::toPixels(width, height));
    QCOMPARE(window.windowTitle(), QLatin1String(caption));
    checkPlaces(&window, &window, places);
}
} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindow() {
        test::TempDir home;
        core::SettingsFile settings(home.file("q2velo.ini"));
        settings.WriteINI("Quake2", "RunSetup", "No");
        test::FakeServices services;
        ui::frmVelo window(settings, services);
        QVERIFY(window.Form_Load());
        window.show();
        QCOMPARE(window.size(), ui::toPixels(9330, 7275));
        QCOMPARE(window.windowTitle(), QStringLiteral("Quake II Velo Start v1.0"));
        auto* tabs = window.findChild<QWidget*>(QStringLiteral("SSTab1"));
        checkPlaces(&window, tabs, kMainWindow);
    }

    void locator() {
        test::TempDir home;
        core::SettingsFile settings(home.file("q2velo.ini"));
        test::FakeServices services;
        ui::frmQ2Dir window(settings, services);
        window.show();
        QCOMPARE(window.size(), ui::toPixels(5235, 3705));
        QCOMPARE(window.windowTitle(), QStringLiteral("Locate your Quake II Directory"));
        checkPlaces(&window, &window, kLocator);
    }

    void secondaryWindows() {
        test::TempDir home;
        core::SettingsFile settings(home.file("q2velo.ini"));
        test::FakeServices services;
        ui::MouseSetup mouse;
        scripts::ExtraLines lines;
        QComboBox mods;

        ui::frmKeys keys(QStringLiteral("C:\\Quake2"), mouse, services);
        checkWindow(keys, "Keyboard Setup", 9690, 6555, kKeyboard);
        ui::frmMouse buttons;
        checkWindow(buttons, "Mouse Button Setup", 7560, 6165, kMouse);
        ui::frmExtra extra(QStringLiteral("C:\\Quake2"), lines, services);
        checkWindow(extra, "Extra Settings", 7320, 4995, kExtra);
        ui::frmMod editor(settings, services, mods);
        checkWindow(editor, "Edit MOD List", 4305, 4080, kModList);
        ui::frmAbout about(services);
        checkWindow(about, "About Quake II Velo Start v1.0", 4425, 2640, kAbout);
        ui::frmHalvern credits(services);
        checkWindow(credits, "About Halvern Inc.", 7425, 7065, kCredits);
    }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
