// Records an SVG file's drawing as a picture of painter commands, at the SVG's own size.
// Used at build time, so the program draws its artwork without an SVG reader.
#include <QGuiApplication>
#include <QPainter>
#include <QPicture>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN.svg OUT.picture\n", argv[0]);
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
    QPicture picture;
    // The bounds are the SVG's own, not those of what is drawn: a stroke on the edge or
    // a transparent margin must not shift or scale the picture.
    picture.setBoundingRect(QRect(QPoint(0, 0), renderer.defaultSize()));
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(picture.boundingRect()));
    }
    if (!picture.save(out)) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        return 1;
    }
    return 0;
}
