// Records an SVG file's drawing as the filled areas it is made of, at the SVG's own size.
// Used at build time, so the program draws its artwork without an SVG reader. Every
// stroke and every glyph is recorded as the area it covers, so drawing the picture later
// needs neither the stroker nor a font. Given a size, it writes a square PNG of the same
// recording instead: the fixed-size icons that desktops without SVG icon support look for,
// drawn as the window's own icon is. With --drawn-top, the top areas that cover little of
// the picture are also stored as drawn at the picture's own size, for artwork shown at that
// size on a window that must come up quickly.
#include "ui/toolkit/recorded.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int kTileSide = 16;

QImage clear(const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

struct Fill {
    QPainterPath area;
    QBrush brush;
    QTransform transform;
    qreal opacity = 1;
    bool antialiased = true;
};

// Takes every shape down as the filled areas it covers.
class FillingEngine : public QPaintEngine {
public:
    explicit FillingEngine(std::vector<Fill>& out) : QPaintEngine(AllFeatures), out_(out) {}

    bool supported() const { return supported_; }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& now) override {
        const QPaintEngine::DirtyFlags dirty = now.state();
        if (dirty & DirtyPen) {
            pen_ = now.pen();
        }
        if (dirty & DirtyBrush) {
            brush_ = now.brush();
        }
        if (dirty & DirtyTransform) {
            transform_ = now.transform();
        }
        if (dirty & DirtyOpacity) {
            opacity_ = now.opacity();
        }
        // Not in the artwork; a picture that needs them would come out wrong.
        if (((dirty & (DirtyClipPath | DirtyClipRegion)) && now.clipOperation() != Qt::NoClip) ||
            ((dirty & DirtyCompositionMode) &&
             now.compositionMode() != QPainter::CompositionMode_SourceOver)) {
            supported_ = false;
        }
    }

    void drawPath(const QPainterPath& path) override {
        if (brush_.style() != Qt::NoBrush) {
            fill(path, brush_);
        }
        if (pen_.style() == Qt::NoPen) {
            return;
        }
        // A stroke of a width that does not scale has no area to record.
        if (pen_.isCosmetic()) {
            supported_ = false;
            return;
        }
        QPainterPathStroker stroker(pen_);
        fill(stroker.createStroke(path), pen_.brush());
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
        if (mode == PolylineMode) {
            const QBrush brush = brush_;
            brush_ = Qt::NoBrush;
            drawPath(path);
            brush_ = brush;
            return;
        }
        path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        drawPath(path);
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { supported_ = false; }

private:
    void fill(const QPainterPath& area, const QBrush& brush) {
        // A pen without a brush draws nothing.
        if (brush.style() != Qt::NoBrush) {
            out_.push_back({area, brush, transform_, opacity_, edgesShow(area, brush)});
        }
    }

    // Whether smoothing the area's edges changes a pixel, drawn alone at the sizes the
    // artwork is shown at; where the area fades out before its edge, it does not.
    bool edgesShow(const QPainterPath& area, const QBrush& brush) const {
        for (qreal scale : {1.0, 1.25, 1.5, 2.0}) {
            const QTransform at = transform_ * QTransform::fromScale(scale, scale);
            const QRect bounds = at.map(area).boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2);
            if (bounds.isEmpty()) {
                continue;
            }
            QImage smooth = clear(bounds.size());
            QImage sharp = smooth;
            for (QImage* image : {&smooth, &sharp}) {
                QPainter painter(image);
                painter.setRenderHint(QPainter::Antialiasing, image == &smooth);
                painter.setTransform(at * QTransform::fromTranslate(-bounds.x(), -bounds.y()));
                painter.setOpacity(opacity_);
                painter.fillPath(area, brush);
            }
            if (velo::ui::shareDiffering(smooth, sharp, 2) > 0) {
                return true;
            }
        }
        return false;
    }

    std::vector<Fill>& out_;
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
    qreal opacity_ = 1;
    bool supported_ = true;
};

class FillingDevice : public QPaintDevice {
public:
    FillingDevice(std::vector<Fill>& out, QSize size) : engine_(out), size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    bool supported() const { return engine_.supported(); }

protected:
    int metric(PaintDeviceMetric metric) const override {
        constexpr int dpi = 96;
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return size_.width() * 254 / (10 * dpi);
        case PdmHeightMM:
            return size_.height() * 254 / (10 * dpi);
        case PdmNumColors:
            return std::numeric_limits<int>::max();
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi;
        }
        return 0;
    }

private:
    mutable FillingEngine engine_;
    QSize size_;
};

// The first of the areas on top that together touch at most a quarter of the picture's
// tiles; drawn at the picture's own size, they cost more to fill than to copy.
std::size_t firstOfTop(const std::vector<Fill>& fills, const QSize& size) {
    const std::size_t most = std::size_t((size.width() + kTileSide - 1) / kTileSide) *
                             std::size_t((size.height() + kTileSide - 1) / kTileSide) / 4;
    std::set<std::pair<int, int>> touched;
    std::size_t first = fills.size();
    while (first > 0) {
        const Fill& fill = fills[first - 1];
        const QRect bounds = fill.transform.map(fill.area).boundingRect().toAlignedRect() &
                             QRect(QPoint(0, 0), size);
        std::set<std::pair<int, int>> more = touched;
        for (int y = bounds.top() / kTileSide; y <= bounds.bottom() / kTileSide; ++y) {
            for (int x = bounds.left() / kTileSide; x <= bounds.right() / kTileSide; ++x) {
                more.emplace(x, y);
            }
        }
        if (more.size() > most) {
            break;
        }
        touched = std::move(more);
        --first;
    }
    return first;
}

bool record(velo::ui::RecordingWriter& recording, const std::vector<Fill>& fills, std::size_t from,
            std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        const Fill& f = fills[i];
        if (!recording.fill(f.area, f.brush, f.transform, f.opacity, f.antialiased)) {
            return false;
        }
    }
    return true;
}

// The areas as a recording, those from top on also as drawn at the picture's own size.
bool record(velo::ui::RecordingWriter& recording, const std::vector<Fill>& fills, const QSize& size,
            std::size_t top) {
    if (!record(recording, fills, 0, top)) {
        return false;
    }
    if (top < fills.size()) {
        // Drawn alone, by the reader that will draw them, on a clear picture.
        velo::ui::RecordingWriter alone(size);
        if (!record(alone, fills, top, fills.size())) {
            return false;
        }
        QImage drawn = clear(size);
        QPainter painter(&drawn);
        if (!velo::ui::drawRecorded(painter, alone.data(), size)) {
            return false;
        }
        painter.end();
        recording.drawnFromHere(drawn, kTileSide);
    }
    return record(recording, fills, top, fills.size());
}

// The recording drawn on a transparent square of side pixels.
bool savePng(const QByteArray& recording, const QString& file, int side) {
    QImage image = clear({side, side});
    {
        QPainter painter(&image);
        if (!velo::ui::drawRecorded(painter, recording, QSizeF(side, side))) {
            return false;
        }
    }
    return image.save(file, "PNG");
}

bool save(const QByteArray& recording, const QString& file) {
    QFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(recording) == recording.size() &&
           out.flush();
}

} // namespace

int main(int argc, char* argv[]) {
    const bool drawnTop = argc == 4 && std::strcmp(argv[3], "--drawn-top") == 0;
    const int side = argc == 4 && !drawnTop ? std::atoi(argv[3]) : 0;
    if ((argc != 3 && argc != 4) || (argc == 4 && !drawnTop && side <= 0)) {
        std::fprintf(stderr,
                     "usage: %s IN.svg OUT.picture [--drawn-top]\n       %s IN.svg OUT.png SIZE\n",
                     argv[0], argv[0]);
        return 2;
    }
    // Lettering needs the font database, which needs an application; no display does.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString in = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);

    QSvgRenderer renderer(in);
    if (!renderer.isValid() || renderer.defaultSize().isEmpty()) {
        std::fprintf(stderr, "%s: not a valid SVG file with a size\n", argv[1]);
        return 1;
    }
    // The bounds are the SVG's own, not those of what is drawn: a stroke on the edge or
    // a transparent margin must not shift or scale the picture.
    const QSize size = renderer.defaultSize();
    std::vector<Fill> fills;
    bool supported = false;
    {
        FillingDevice device(fills, size);
        QPainter painter(&device);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), size));
        painter.end();
        supported = device.supported();
    }
    velo::ui::RecordingWriter recording(size);
    if (!supported ||
        !record(recording, fills, size, drawnTop ? firstOfTop(fills, size) : fills.size())) {
        std::fprintf(stderr, "%s: uses clipping, images or blending this tool cannot record\n",
                     argv[1]);
        return 1;
    }
    if (!(side > 0 ? savePng(recording.data(), out, side) : save(recording.data(), out))) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        return 1;
    }
    return 0;
}
