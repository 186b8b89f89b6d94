// Renders one of the program's drawings (.svg) into the picture the program loads at
// start (.png), at the size it is shown: render_icon DRAWING.svg PICTURE.png SIZE.
// Run by the build, so the drawings stay the only source of the pictures.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "uso: render_icon DIBUJO.svg IMAGEN.png TAMAÑO\n");
        return 2;
    }
    QSvgRenderer drawing(QString::fromLocal8Bit(argv[1]));
    const int size = QString::fromLatin1(argv[3]).toInt();
    if (!drawing.isValid() || size <= 0) {
        std::fprintf(stderr, "render_icon: no se pudo leer el dibujo %s\n", argv[1]);
        return 1;
    }
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    drawing.render(&painter);
    painter.end();
    if (!picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "render_icon: no se pudo escribir %s\n", argv[2]);
        return 1;
    }
    return 0;
}
