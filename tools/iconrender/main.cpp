// brv-iconrender SVG SIZE OUT.png: the drawing rendered into a square picture
// of SIZE pixels with a transparent background.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args[2].toInt(&sizeOk) : 0;
    if (!sizeOk || size <= 0) {
        std::fprintf(stderr, "usage: brv-iconrender SVG SIZE OUT.png\n");
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "brv-iconrender: %s is not a drawing\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    QDir().mkpath(QFileInfo(args[3]).absolutePath());
    if (!image.save(args[3], "PNG")) {
        std::fprintf(stderr, "brv-iconrender: %s cannot be written\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
