#include "recorded.h"
#include "recorded_format.h"

#include <QImage>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace velo::ui {

using namespace recording;

double shareDiffering(const QImage& a, const QImage& b, int tolerance) {
    const auto apart = [tolerance](int x, int y) { return std::abs(x - y) > tolerance; };
    qsizetype count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            count += apart(qRed(pa[x]), qRed(pb[x])) || apart(qGreen(pa[x]), qGreen(pb[x])) ||
                     apart(qBlue(pa[x]), qBlue(pb[x])) || apart(qAlpha(pa[x]), qAlpha(pb[x]));
        }
    }
    return a.isNull() ? 0 : double(count) / double(qsizetype(a.width()) * a.height());
}

RecordingWriter::RecordingWriter(const QSizeF& size) {
    data_.append(kMagic, sizeof kMagic);
    put(kVersion);
    put(float(size.width()));
    put(float(size.height()));
}

template <class T> void RecordingWriter::put(T value) {
    data_.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void RecordingWriter::putTransform(const QTransform& t) {
    for (qreal v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()}) {
        put(float(v));
    }
}

bool RecordingWriter::putBrush(const QBrush& brush) {
    const QGradient* gradient = brush.gradient();
    if (brush.style() == Qt::SolidPattern) {
        put(quint8(Solid));
        put(quint32(brush.color().rgba()));
        return true;
    }
    if (gradient == nullptr || gradient->stops().size() > 255) {
        return false;
    }
    if (gradient->type() == QGradient::LinearGradient) {
        const auto* linear = static_cast<const QLinearGradient*>(gradient);
        put(quint8(Linear));
        for (qreal v : {linear->start().x(), linear->start().y(), linear->finalStop().x(),
                        linear->finalStop().y()}) {
            put(float(v));
        }
    } else if (gradient->type() == QGradient::RadialGradient) {
        const auto* radial = static_cast<const QRadialGradient*>(gradient);
        put(quint8(Radial));
        for (qreal v :
             {radial->center().x(), radial->center().y(), radial->centerRadius(),
              radial->focalPoint().x(), radial->focalPoint().y(), radial->focalRadius()}) {
            put(float(v));
        }
    } else {
        return false;
    }
    put(quint8(gradient->spread()));
    put(quint8(gradient->coordinateMode()));
    put(quint8(gradient->interpolationMode()));
    put(quint8(gradient->stops().size()));
    for (const QGradientStop& stop : gradient->stops()) {
        put(float(stop.first));
        put(quint32(stop.second.rgba()));
    }
    putTransform(brush.transform());
    return true;
}

bool RecordingWriter::fill(const QPainterPath& area, const QBrush& brush,
                           const QTransform& transform, qreal opacity, bool antialiased) {
    if (!started_ || transform != transform_) {
        put(quint8(Transform));
        putTransform(transform);
        transform_ = transform;
    }
    if (!started_ || opacity != opacity_) {
        put(quint8(Opacity));
        put(float(opacity));
        opacity_ = opacity;
    }
    if (antialiased != antialiased_) {
        put(quint8(Antialias));
        put(quint8(antialiased ? 1 : 0));
        antialiased_ = antialiased;
    }
    if (!started_ || brush != brush_) {
        if (!putBrush(brush)) {
            return false;
        }
        brush_ = brush;
    }
    started_ = true;
    put(quint8(Path));
    put(quint8(area.fillRule()));
    put(quint32(area.elementCount()));
    for (int i = 0; i < area.elementCount(); ++i) {
        put(quint8(area.elementAt(i).type));
    }
    for (int i = 0; i < area.elementCount(); ++i) {
        put(float(area.elementAt(i).x));
        put(float(area.elementAt(i).y));
    }
    return true;
}

void RecordingWriter::drawnFromHere(const QImage& top, int side) {
    Q_ASSERT(top.format() == QImage::Format_ARGB32_Premultiplied && side > 0 &&
             side <= kMaxTileSide);
    const auto clear = [&](int left, int tileTop) {
        for (int y = tileTop; y < std::min(tileTop + side, top.height()); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(top.constScanLine(y));
            for (int x = left; x < std::min(left + side, top.width()); ++x) {
                if (row[x] != 0) {
                    return false;
                }
            }
        }
        return true;
    };
    std::vector<QPoint> tiles;
    for (int y = 0; y < top.height(); y += side) {
        for (int x = 0; x < top.width(); x += side) {
            if (!clear(x, y)) {
                tiles.emplace_back(x, y);
            }
        }
    }
    Q_ASSERT(tiles.size() <= 0xffff);
    put(quint8(Drawn));
    put(quint16(side));
    put(quint16(tiles.size()));
    for (const QPoint& tile : tiles) {
        put(quint16(tile.x()));
        put(quint16(tile.y()));
    }
    // Beyond the image's edge a tile is clear.
    const QImage padded = top.copy(0, 0, (top.width() + side - 1) / side * side,
                                   (top.height() + side - 1) / side * side);
    for (const QPoint& tile : tiles) {
        for (int y = tile.y(); y < tile.y() + side; ++y) {
            data_.append(reinterpret_cast<const char*>(padded.constScanLine(y)) + tile.x() * 4,
                         side * 4);
        }
    }
}

} // namespace velo::ui
