#pragma once

#include <QBrush>
#include <QByteArray>
#include <QByteArrayView>
#include <QSizeF>
#include <QTransform>

class QImage;
class QPainter;
class QPainterPath;

namespace velo::ui {

// Artwork recorded at build time as the filled areas it is drawn of: drawing it needs no
// reader of the artwork's source, no stroker and no font, and reading it walks flat
// numbers where they lie in the program, with nothing to unpack first.

// The size the artwork was drawn at; empty when the data is not a recording.
QSizeF recordedSize(QByteArrayView data);

// Draws the recording scaled to size and leaves the painter as it was. False, with the
// rest left undrawn, when the data is damaged or of a kind this reader does not know.
bool drawRecorded(QPainter& painter, QByteArrayView data, const QSizeF& size);

// The share of pixels of two images of one size and format whose colour differs by more
// than tolerance in some channel: how a recording is checked against what it records.
double shareDiffering(const QImage& a, const QImage& b, int tolerance);

// Builds a recording, one filled area after another.
class RecordingWriter {
public:
    explicit RecordingWriter(const QSizeF& size);

    // False when the brush is of a kind a recording cannot hold (images, patterns,
    // conical gradients). Smoothing the edges costs most where the area is translucent;
    // it can be left out where it would not show.
    bool fill(const QPainterPath& area, const QBrush& brush, const QTransform& transform,
              qreal opacity, bool antialiased = true);
    // From here on, drawn at the recording's own size, the rest of the recording is top:
    // premultiplied ARGB of the recording's size or larger, cut into tiles of side pixels,
    // of which those top leaves clear are left out. The areas after it are for other sizes.
    void drawnFromHere(const QImage& top, int side);
    const QByteArray& data() const { return data_; }

private:
    template <class T> void put(T value);
    void putTransform(const QTransform& transform);
    bool putBrush(const QBrush& brush);

    QByteArray data_;
    bool started_ = false;
    QBrush brush_;
    QTransform transform_;
    qreal opacity_ = 1;
    bool antialiased_ = true;
};

} // namespace velo::ui
