#include "twips.h"

namespace velo::ui {

namespace {
int px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
} // namespace

QRect toPixels(const Twips& t) {
    return {px(t.left), px(t.top), px(t.width), px(t.height)};
}

QSize toPixels(int widthTwips, int heightTwips) {
    return {px(widthTwips), px(heightTwips)};
}

} // namespace velo::ui
