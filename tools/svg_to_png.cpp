// Renders an SVG into a square PNG of the given size; used at build time for the
// fixed-size icons that desktops without SVG icon support look for.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s IN.svg OUT.png SIZE\n", argv[0]);
        return 2;
    }
    // No application object: an icon of shapes needs neither a display nor fonts.
    const QString in = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    const int size = std::atoi(argv[3]);

    QSvgRenderer renderer(in);
    if (!renderer.isValid() || size <= 0) {
        std::fprintf(stderr, "%s: not a valid SVG file, or no size given\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (!image.save(out, "PNG")) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        return 1;
    }
    return 0;
}
