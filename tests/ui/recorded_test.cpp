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
    void everyArtworkDrawsAsItsSource() {
        const QDir art(QStringLiteral(VELO_ART_DIR));
        const QStringList sources = art.entryList({QStringLiteral("*.svg")});
        QVERIFY(sources.size() >= 10);
        for (const QString& source : sources) {
            const QString name = source.chopped(4);
            QSvgRenderer svg(art.filePath(source));
            const QSize size = svg.defaultSize() * kScale;
            QImage expected = blank(size);
            {
                QPainter painter(&expected);
                painter.setRenderHint(QPainter::Antialiasing);
                svg.render(&painter);
            }
            const QByteArray data = recording(name);
            QCOMPARE(ui::recordedSize(data), QSizeF(svg.defaultSize()));
            QImage drawn = blank(size);
            {
                QPainter painter(&drawn);
                QVERIFY2(ui::drawRecorded(painter, data, size), qPrintable(name));
            }
            const double share = ui::shareDiffering(expected, drawn, 24);
            QVERIFY2(
                share < 0.002,
                qPrintable(name +
                           QStringLiteral(": %1% of pixels differ").arg(share * 100, 0, 'f', 2)));
        }
    }

    // A recording is read where it lies; a cut or damaged one must stop, never read past
    // its end, and say so.
    void damagedRecordingsStopSafely() {
        const QByteArray whole = recording(QStringLiteral("welcome"));
        QImage image = blank({64, 48});
        QPainter painter(&image);
        QVERIFY(ui::drawRecorded(painter, whole, image.size()));
        for (qsizetype cut = 0; cut < whole.size(); cut += 3) {
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
        for (qsizetype at = 0; at < whole.size(); at += 5) {
            QByteArray damaged = whole;
            damaged[at] = char(damaged[at] ^ 0x5a);
            ui::drawRecorded(painter, damaged, image.size());
        }
    }
};

QTEST_MAIN(RecordedTest)
#include "recorded_test.moc"
