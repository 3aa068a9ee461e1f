#pragma once

#include <QFont>

namespace velo::ui {

// The windows' 8.25 pt sans serif (11 pixels at 96 dpi); bold for headings.
QFont controlFont();
QFont boldFont();
// A bold heading of the given pixel size (12 pt is 16 pixels).
QFont headingFont(int pixelSize);
// The tab captions' 9 pt serif.
QFont tabFont();

} // namespace velo::ui
