#pragma once

#include <QRect>
#include <QSize>

namespace velo::ui {

// A position and size in twips (1440 to the inch); 15 twips are one logical pixel.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kTwipsPerPixel = 15;

QRect toPixels(const Twips& twips);
QSize toPixels(int widthTwips, int heightTwips);

} // namespace velo::ui
