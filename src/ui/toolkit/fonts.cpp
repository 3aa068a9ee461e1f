#include "fonts.h"

#include <QStringList>

namespace velo::ui {

namespace {
QFont font(const QStringList& families, int pixelSize, bool bold) {
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleHint(families.first().contains(QLatin1String("Serif")) ? QFont::Serif
                                                                     : QFont::SansSerif);
    return f;
}

// Liberation's metrics stand closest to the small bitmap sans the layouts were made for.
QStringList sans() {
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("DejaVu Sans")};
}
} // namespace

QFont controlFont() {
    return font(sans(), 11, false);
}
QFont boldFont() {
    return font(sans(), 11, true);
}
QFont headingFont(int pixelSize) {
    return font(sans(), pixelSize, true);
}
QFont tabFont() {
    QFont f = font({QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman"),
                    QStringLiteral("DejaVu Serif")},
                   12, false);
    // The tabs show only their own five captions, which every such face holds: the search
    // for faces to borrow missing letters from is not worth its time at start-up.
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

} // namespace velo::ui
