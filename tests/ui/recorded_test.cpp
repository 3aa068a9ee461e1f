// The recorded artwork against its SVG source, and recordings that were cut short or
// damaged.
#include "ui/toolkit/recorded.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QResource>
#include <QSvgRenderer>
#include <QTest>

using namespace velo;

namespace {
constexpr int kScale = 2;

QImage blank(const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QByteArray recording(const QString& name) {
    return QResource(QStringLiteral(":/art/%1.picture").arg(name)).uncompressedData();
}
} // namespace

class RecordedTest : public QObject {
    Q_OBJECT

private slots:
    // Twice their size they are drawn from their areas; at their own size some are drawn
    // from tiles recorded with them.
    void everyArtworkDrawsAsItsSource() {
        const QDir art(QStringLiteral(VELO_ART_DIR));
        const QStringList sources = art.entryList({QStringLiteral("*.svg")});
        QVERIFY(sources.size() >= 10);
        for (const QString& source : sources) {
            const QString name = source.chopped(4);
            QSvgRenderer svg(art.filePath(source));
            const QByteArray data = recording(name);
            QCOMPARE(ui::recordedSize(data), QSizeF(svg.defaultSize()));
            for (const int scale : {kScale, 1}) {
                const QSize size = svg.defaultSize() * scale;
                QImage expected = blank(size);
                {
                    QPainter painter(&expected);
                    painter.setRenderHint(QPainter::Antialiasing);
                    svg.render(&painter);
                }
                QImage drawn = blank(size);
                {
                    QPainter painter(&drawn);
                    QVERIFY2(ui::drawRecorded(painter, data, size), qPrintable(name));
                }
                // At their own size edges fall on fewer pixels, and count for more.
                const double share = ui::shareDiffering(expected, drawn, 24);
                QVERIFY2(share < (scale == 1 ? 0.01 : 0.002),
                         qPrintable(name + QStringLiteral(" at %1: %2% of pixels differ")
                                               .arg(scale)
                                               .arg(share * 100, 0, 'f', 2)));
            }
        }
    }

    // The tiles stand for the areas after them only where they land pixel for pixel.
    void tilesAreDrawnOnlyAtTheirOwnSizeAndOnWholePixels() {
        ui::RecordingWriter writer({40, 20});
        QPainterPath under;
        under.addRect(0, 0, 40, 20);
        QPainterPath top;
        top.addRect(20, 4, 8, 8);
        QVERIFY(writer.fill(under, Qt::white, {}, 1));
        // Tiles of another colour than the area they stand for show which was drawn.
        QImage tiles = blank({40, 20});
        QPainter(&tiles).fillRect(QRect(20, 4, 8, 8), Qt::blue);
        writer.drawnFromHere(tiles, 16);
        QVERIFY(writer.fill(top, Qt::red, {}, 1));
        const QByteArray data = writer.data();

        const auto draw = [&](const QSize& canvas, const QSizeF& size, QPointF offset) {
            QImage image = blank(canvas);
            QPainter painter(&image);
            painter.translate(offset);
            const bool whole = ui::drawRecorded(painter, data, size);
            painter.end();
            return whole ? image : QImage();
        };
        QImage own = draw({40, 20}, {40, 20}, {});
        QCOMPARE(own.pixelColor(24, 8), QColor(Qt::blue));
        QCOMPARE(own.pixelColor(4, 8), QColor(Qt::white));
        // Only the one tile that holds the square is kept.
        QVERIFY(data.size() < 16 * 16 * 4 * 2);
        QImage moved = draw({50, 30}, {40, 20}, {5, 3});
        QCOMPARE(moved.pixelColor(29, 11), QColor(Qt::blue));
        QCOMPARE(draw({80, 40}, {80, 40}, {}).pixelColor(48, 16), QColor(Qt::red));
        QCOMPARE(draw({50, 30}, {40, 20}, {0.5, 0}).pixelColor(24, 8), QColor(Qt::red));

        // Cut anywhere, at its own size too: drawn or refused, never read past its end.
        for (qsizetype cut = 0; cut < data.size(); ++cut) {
            QImage image = blank({40, 20});
            QPainter painter(&image);
            ui::drawRecorded(painter, data.left(cut), {40, 20});
        }
    }

    // A recording is read where it lies; a cut or damaged one must stop, never read past
    // its end, and say so.
    void damagedRecordingsStopSafely() {
        const QByteArray whole = recording(QStringLiteral("welcome"));
        QImage image = blank({64, 48});
        QPainter painter(&image);
        QVERIFY(ui::drawRecorded(painter, whole, image.size()));
        // Finely through the areas, coarsely through the tiles' pixels.
        for (qsizetype cut = 0; cut < whole.size(); cut += cut < 16384 ? 3 : 997) {
            // Only a cut between two records can look whole.
            const QByteArray part = whole.left(cut);
            if (ui::drawRecorded(painter, part, image.size())) {
                QVERIFY2(cut >= 16, qPrintable(QString::number(cut)));
            }
        }
        QVERIFY(ui::recordedSize(whole.left(15)).isEmpty());
        QVERIFY(ui::recordedSize(QByteArray("VPIC\2\0\0\0", 8) + whole.mid(8)).isEmpty());

        // A path claiming more points than the data holds.
        ui::RecordingWriter writer({10, 10});
        QPainterPath square;
        square.addRect(1, 1, 8, 8);
        QVERIFY(writer.fill(square, Qt::red, {}, 1));
        QVERIFY(ui::drawRecorded(painter, writer.data(), image.size()));
        QByteArray huge = writer.data();
        const qsizetype count = huge.size() - square.elementCount() * 9 - 4;
        QCOMPARE(huge.mid(count, 4), QByteArray("\5\0\0\0", 4));
        huge.replace(count, 4, QByteArray("\xff\xff\xff\x7f", 4));
        QVERIFY(!ui::drawRecorded(painter, huge, image.size()));

        // Any byte changed: drawn or refused, but read within bounds (the sanitizer build
        // checks that).
        for (qsizetype at = 0; at < whole.size(); at += at < 16384 ? 5 : 1009) {
            QByteArray damaged = whole;
            damaged[at] = char(damaged[at] ^ 0x5a);
            ui::drawRecorded(painter, damaged, image.size());
        }
    }
};

QTEST_MAIN(RecordedTest)
#include "recorded_test.moc"
