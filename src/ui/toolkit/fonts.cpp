#include "fonts.h"

#include <algorithm>

#include <QFontDatabase>
#include <QStringList>

namespace velo::ui {

namespace {
QFont font(const QStringList& families, int pixelSize, bool bold) {
    QFont f;
    // Only the first family installed is named: given the others too, the font database
    // looks up the faces to borrow missing letters from when the font is first used, which
    // costs as much as loading the face. It still borrows when a letter is missing.
    const QStringList installed = QFontDatabase::families();
    const auto first = std::find_if(families.begin(), families.end(), [&](const QString& name) {
        return installed.contains(name, Qt::CaseInsensitive);
    });
    f.setFamilies(first != families.end() ? QStringList{*first} : families);
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
    return font({QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman"),
                 QStringLiteral("DejaVu Serif")},
                12, false);
}

} // namespace velo::ui
