#include "recorded.h"
#include "recorded_format.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstring>

namespace velo::ui {

namespace {
using namespace recording;

class Reader {
public:
    explicit Reader(QByteArrayView data) : at_(data.data()), end_(data.data() + data.size()) {}

    bool atEnd() const { return at_ == end_; }

    template <class T> bool take(T& value) {
        if (end_ - at_ < qsizetype(sizeof value)) {
            return false;
        }
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return true;
    }
    bool takeNumber(qreal& value) {
        float f = 0;
        if (!take(f) || !qIsFinite(f)) {
            return false;
        }
        value = f;
        return true;
    }
    bool takePoint(QPointF& point) {
        qreal x = 0;
        qreal y = 0;
        if (!takeNumber(x) || !takeNumber(y)) {
            return false;
        }
        point = {x, y};
        return true;
    }
    bool takeTransform(QTransform& transform) {
        qreal m[6] = {};
        for (qreal& v : m) {
            if (!takeNumber(v)) {
                return false;
            }
        }
        transform.setMatrix(m[0], m[1], 0, m[2], m[3], 0, m[4], m[5], 1);
        return true;
    }
    bool takeColour(QColor& colour) {
        quint32 argb = 0;
        if (!take(argb)) {
            return false;
        }
        colour = QColor::fromRgba(argb);
        return true;
    }
    // The element types and their points, where they lie.
    bool takeBlock(const char*& block, qsizetype size) {
        if (size < 0 || end_ - at_ < size) {
            return false;
        }
        block = at_;
        at_ += size;
        return true;
    }

private:
    const char* at_;
    const char* end_;
};

bool takeGradientTail(Reader& in, QGradient& gradient, QBrush& brush) {
    quint8 spread = 0;
    quint8 mode = 0;
    quint8 interpolation = 0;
    quint8 count = 0;
    if (!in.take(spread) || !in.take(mode) || !in.take(interpolation) || !in.take(count) ||
        spread > QGradient::RepeatSpread || mode > QGradient::ObjectMode ||
        interpolation > QGradient::ComponentInterpolation) {
        return false;
    }
    gradient.setSpread(QGradient::Spread(spread));
    gradient.setCoordinateMode(QGradient::CoordinateMode(mode));
    gradient.setInterpolationMode(QGradient::InterpolationMode(interpolation));
    QGradientStops stops;
    stops.reserve(count);
    for (int i = 0; i < count; ++i) {
        qreal position = 0;
        QColor colour;
        if (!in.takeNumber(position) || !in.takeColour(colour) || position < 0 || position > 1 ||
            (!stops.isEmpty() && position < stops.last().first)) {
            return false;
        }
        stops.append({position, colour});
    }
    gradient.setStops(stops);
    QTransform transform;
    if (!in.takeTransform(transform)) {
        return false;
    }
    brush = QBrush(gradient);
    brush.setTransform(transform);
    return true;
}

bool takePath(Reader& in, QPainterPath& path) {
    quint8 rule = 0;
    quint32 count = 0;
    const char* types = nullptr;
    const char* points = nullptr;
    if (!in.take(rule) || !in.take(count) || rule > Qt::WindingFill ||
        !in.takeBlock(types, qsizetype(count)) ||
        !in.takeBlock(points, qsizetype(count) * 2 * qsizetype(sizeof(float)))) {
        return false;
    }
    Reader at(QByteArrayView(points, qsizetype(count) * 2 * qsizetype(sizeof(float))));
    path = QPainterPath();
    path.setFillRule(Qt::FillRule(rule));
    path.reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        QPointF point;
        if (!at.takePoint(point)) {
            return false;
        }
        switch (QPainterPath::ElementType(types[i])) {
        case QPainterPath::MoveToElement:
            path.moveTo(point);
            break;
        case QPainterPath::LineToElement:
            path.lineTo(point);
            break;
        case QPainterPath::CurveToElement: {
            QPointF second;
            QPointF end;
            if (count - i < 3 || types[i + 1] != QPainterPath::CurveToDataElement ||
                types[i + 2] != QPainterPath::CurveToDataElement || !at.takePoint(second) ||
                !at.takePoint(end)) {
                return false;
            }
            path.cubicTo(point, second, end);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

bool takeHeader(Reader& in, QSizeF& size) {
    char magic[4] = {};
    quint32 version = 0;
    qreal width = 0;
    qreal height = 0;
    if (!in.take(magic) || std::memcmp(magic, kMagic, sizeof magic) != 0 || !in.take(version) ||
        version != kVersion || !in.takeNumber(width) || !in.takeNumber(height) || width <= 0 ||
        height <= 0) {
        return false;
    }
    size = {width, height};
    return true;
}

// The tiles that stand for the rest of the recording at its own size: drawn when ownSize,
// else only passed over.
bool takeDrawn(QPainter& painter, Reader& in, const QTransform& base, const QSizeF& size,
               bool ownSize) {
    quint16 side = 0;
    quint16 count = 0;
    const char* corners = nullptr;
    const char* pixels = nullptr;
    if (!in.take(side) || !in.take(count) || side == 0 || side > kMaxTileSide ||
        !in.takeBlock(corners, qsizetype(count) * 4) ||
        !in.takeBlock(pixels, qsizetype(count) * side * side * 4)) {
        return false;
    }
    // Copied out one at a time: the toolkit reads pixels four bytes at a time, and the
    // recording lies wherever the program put it.
    QImage tile;
    if (ownSize) {
        painter.setTransform(base);
        painter.setOpacity(1);
        tile = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    }
    const qsizetype tileBytes = qsizetype(side) * side * 4;
    Reader at(QByteArrayView(corners, qsizetype(count) * 4));
    for (qsizetype i = 0; i < count; ++i) {
        quint16 x = 0;
        quint16 y = 0;
        if (!at.take(x) || !at.take(y) || x >= size.width() || y >= size.height()) {
            return false;
        }
        if (ownSize) {
            std::memcpy(tile.bits(), pixels + i * tileBytes, std::size_t(tileBytes));
            painter.drawImage(QPoint(x, y), tile);
        }
    }
    return true;
}

bool play(QPainter& painter, Reader& in, const QTransform& base, const QSizeF& size, bool ownSize) {
    QBrush brush;
    QPainterPath path;
    while (!in.atEnd()) {
        quint8 tag = 0;
        in.take(tag);
        switch (tag) {
        case Transform: {
            QTransform transform;
            if (!in.takeTransform(transform)) {
                return false;
            }
            painter.setTransform(transform * base);
            break;
        }
        case Opacity: {
            qreal opacity = 0;
            if (!in.takeNumber(opacity)) {
                return false;
            }
            painter.setOpacity(opacity);
            break;
        }
        case Solid: {
            QColor colour;
            if (!in.takeColour(colour)) {
                return false;
            }
            brush = QBrush(colour);
            break;
        }
        case Linear: {
            QPointF start;
            QPointF final;
            if (!in.takePoint(start) || !in.takePoint(final)) {
                return false;
            }
            QLinearGradient gradient(start, final);
            if (!takeGradientTail(in, gradient, brush)) {
                return false;
            }
            break;
        }
        case Radial: {
            QPointF centre;
            qreal radius = 0;
            QPointF focal;
            qreal focalRadius = 0;
            if (!in.takePoint(centre) || !in.takeNumber(radius) || !in.takePoint(focal) ||
                !in.takeNumber(focalRadius)) {
                return false;
            }
            QRadialGradient gradient(centre, radius, focal, focalRadius);
            if (!takeGradientTail(in, gradient, brush)) {
                return false;
            }
            break;
        }
        case Antialias: {
            quint8 on = 0;
            if (!in.take(on) || on > 1) {
                return false;
            }
            painter.setRenderHint(QPainter::Antialiasing, on == 1);
            break;
        }
        case Path:
            if (!takePath(in, path)) {
                return false;
            }
            painter.fillPath(path, brush);
            break;
        case Drawn:
            if (!takeDrawn(painter, in, base, size, ownSize)) {
                return false;
            }
            // At its own size the tiles were the rest of it.
            if (ownSize) {
                return true;
            }
            break;
        default:
            return false;
        }
    }
    return true;
}
} // namespace

QSizeF recordedSize(QByteArrayView data) {
    Reader in(data);
    QSizeF size;
    return takeHeader(in, size) ? size : QSizeF();
}

bool drawRecorded(QPainter& painter, QByteArrayView data, const QSizeF& size) {
    Reader in(data);
    QSizeF drawn;
    if (!takeHeader(in, drawn)) {
        return false;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QTransform base =
        QTransform::fromScale(size.width() / drawn.width(), size.height() / drawn.height()) *
        painter.transform();
    painter.setTransform(base);
    // Drawn pixel for pixel: no scale, and whole pixels apart from the device's origin.
    const QTransform device = painter.deviceTransform();
    const bool ownSize = device.type() <= QTransform::TxTranslate &&
                         device.dx() == std::round(device.dx()) &&
                         device.dy() == std::round(device.dy());
    const bool whole = play(painter, in, base, drawn, ownSize);
    painter.restore();
    return whole;
}

} // namespace velo::ui
