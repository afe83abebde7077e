// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-render-icon: draws an SVG icon into a square PNG of the given size, so the build
// can give the icon theme its fixed-size pictures from the one scalable drawing.
// Usage: quillet-render-icon input.svg size output.png
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("Usage: quillet-render-icon input.svg size output.png\n", stderr);
        return 2;
    }
    bool sizeIsNumber = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&sizeIsNumber);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!sizeIsNumber || size <= 0 || !renderer.isValid()) {
        std::fprintf(stderr, "quillet-render-icon: cannot draw %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "quillet-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
