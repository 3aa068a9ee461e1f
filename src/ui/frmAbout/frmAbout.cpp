#include "frmAbout.h"

#include "ui/toolkit/dialog.h"
#include "ui/toolkit/services.h"
#include "ui/toolkit/widgets.h"

#include <QPushButton>

#include <array>

namespace velo::ui {

namespace {
constexpr const char* kAuthor = "Jon Frey (Flint)";

struct Member {
    const char* name;
    const char* link; // the link label's layout name
    const char* address;
    int top;
    std::array<const char*, 3> roles; // one per line; nullptr past the last
};

// Each link opens the address its own label shows.
constexpr const char* kMail4 = "ansel.varga@example.org";
constexpr const char* kMail5 = "jon.frey@example.org";
constexpr const char* kMail16 = "mira.doss@example.org";
constexpr const char* kMail15 = "kai.lind@example.org";

QPushButton* closeButton(QDialog* window, Twips box) {
    auto* button = makeButton(window, "Command1", QObject::tr("&Close"), box);
    button->setFocus();
    return button;
}
} // namespace

frmAbout::frmAbout(Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    loadArtwork();
    fixWindow(this, "frmAbout", tr("About Quake II Velo Start v1.0"), 4425, 2640);
    closeBoxOnly(this);

    auto* Image1 =
        makePicture(this, "Image1", QStringLiteral(":/art/logo.picture"), {120, 120, 2370, 2160});
    Image1->setCursor(Qt::PointingHandCursor);
    makeLabel(this, "lblHint", tr("Click on the Logo"), {120, 2400, 2295, 255}, true);
    makeLabel(this, "lblRole", tr("Programming:"), {2640, 120, 1815, 255});
    makeLabel(this, "lblAuthor", QLatin1String(kAuthor), {2640, 360, 1815, 255}, true);
    auto* Command1 = closeButton(this, {2760, 1920, 1095, 375});

    connect(Image1, &Picture::clicked, this, &frmAbout::Image1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
}

void frmAbout::Image1_Click() {
    QWidget* opener = focusWidget();
    {
        frmHalvern credits(services_, this);
        centreOnScreen(&credits);
        credits.exec();
    }
    // The desktop does not always hand the focus back to the window under a closed one.
    activateWindow();
    if (opener != nullptr) {
        opener->setFocus(Qt::OtherFocusReason);
    }
}

void frmAbout::Command1_Click() {
    accept();
}

frmHalvern::frmHalvern(Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    loadArtwork();
    fixWindow(this, "frmHalvern", tr("About Halvern Inc."), 7425, 7065);
    closeBoxOnly(this);

    makePicture(this, "Image2", QStringLiteral(":/art/logo.picture"), {2400, 120, 2370, 2160});
    makePicture(this, "Image1", QStringLiteral(":/art/divider.picture"), {120, 2400, 7200, 195});

    const Member members[] = {
        {"Ansel Varga", "Label4", kMail4, 2640, {"President", "Programmer", "Graphics"}},
        {"Jon Frey", "Label5", kMail5, 3720, {"Co-President", "Programmer", nullptr}},
        {"Mira Doss", "Label16", kMail16, 4560, {"Co-President", "Programmer", "Layout"}},
        {"Kai Lind", "Label15", kMail15, 5640, {"Graphics", "Web Design", nullptr}},
    };
    for (const Member& member : members) {
        const QByteArray block = QByteArray(member.link);
        makeLabel(this, ("lblName" + block).constData(), QLatin1String(member.name),
                  {120, member.top, 1335, 255}, true);
        int top = member.top;
        int line = 0;
        for (const char* role : member.roles) {
            if (role == nullptr) {
                break;
            }
            const QByteArray name = "lblRole" + block + '_' + QByteArray::number(++line);
            makeLabel(this, name.constData(), tr(role), {1680, top, 2175, 255});
            top += 240;
        }
        makeLink(this, member.link, QLatin1String(member.address), {4200, member.top, 2535, 255});
    }
    auto* Command1 = closeButton(this, {3240, 6600, 975, 375});

    connect(findChild<LinkLabel*>(QStringLiteral("Label4")), &LinkLabel::clicked, this,
            &frmHalvern::Label4_Click);
    connect(findChild<LinkLabel*>(QStringLiteral("Label5")), &LinkLabel::clicked, this,
            &frmHalvern::Label5_Click);
    connect(findChild<LinkLabel*>(QStringLiteral("Label16")), &LinkLabel::clicked, this,
            &frmHalvern::Label16_Click);
    connect(findChild<LinkLabel*>(QStringLiteral("Label15")), &LinkLabel::clicked, this,
            &frmHalvern::Label15_Click);
    connect(Command1, &QPushButton::clicked, this, &frmHalvern::Command1_Click);
}

void frmHalvern::mail(const char* address) {
    if (!services_.openAddress(this, QLatin1String("mailto:") + QLatin1String(address))) {
        services_.message(
            this, MessageKind::Plain,
            tr("No program is set up to send e-mail. Write to:\n\n%1").arg(QLatin1String(address)));
    }
}

void frmHalvern::Label4_Click() {
    mail(kMail4);
}
void frmHalvern::Label5_Click() {
    mail(kMail5);
}
void frmHalvern::Label16_Click() {
    mail(kMail16);
}
void frmHalvern::Label15_Click() {
    mail(kMail15);
}

void frmHalvern::Command1_Click() {
    accept();
}

} // namespace velo::ui
