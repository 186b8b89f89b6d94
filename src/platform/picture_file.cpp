#include "platform/picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

#include "base/file_messages.h"
#include "model/embedded_image.h"

namespace {

// A placed picture is at least 1 cm and at most 20 cm wide.
constexpr int kMinWidthUnits = 100;
constexpr int kMaxWidthUnits = 2000;

std::string Quoted(const QString& path)
{
    return "\"" + path.toStdString() + "\"";
}

int PlacedWidth(double widthUnits)
{
    return std::clamp(int(std::lround(widthUnits)), kMinWidthUnits, kMaxWidthUnits);
}

bool RasteriseSvg(const QString& path, const QByteArray& raw, FormPicture& picture, std::string& message)
{
    QSvgRenderer renderer(raw);
    const QSizeF size = renderer.defaultSize();
    if (!renderer.isValid() || size.width() <= 0 || size.height() <= 0) {
        message = "El archivo " + Quoted(path) + " no es un dibujo SVG que el programa pueda leer.";
        return false;
    }
    // The drawing's own size (its user units are CSS pixels, 96 per inch), held within
    // the bounds of a placed picture.
    const int widthUnits = PlacedWidth(size.width() * 254.0 / 96.0);
    const double heightUnits = widthUnits * size.height() / size.width();
    const int widthPx = std::max(1, int(std::lround(widthUnits / 254.0 * kPictureDpi)));
    const int heightPx = std::max(1, int(std::lround(heightUnits / 254.0 * kPictureDpi)));
    if (uint64_t(widthPx) * uint64_t(heightPx) > kMaxImagePixels) {
        message = "El dibujo " + Quoted(path) + " es demasiado alto para su ancho.";
        return false;
    }
    QImage image(widthPx, heightPx, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(int(std::lround(kPictureDpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(kPictureDpi / 0.0254)));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, widthPx, heightPx));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG") || size_t(png.size()) > kMaxEmbeddedImageBytes) {
        message = "El dibujo " + Quoted(path) + " da una imagen de más de 4 MB a 300 ppp.";
        return false;
    }
    picture.bytes.assign(png.begin(), png.end());
    picture.widthUnits = widthUnits;
    return true;
}

}  // namespace

bool LoadFormPicture(const QString& path, FormPicture& picture, std::string& message)
{
    QFile file(path);
    if (!file.exists()) {
        message = "El archivo " + Quoted(path) + " no existe.";
        return false;
    }
    if (file.size() > qint64(16) * 1024 * 1024 && !path.endsWith(".svg", Qt::CaseInsensitive)) {
        message = "La imagen " + Quoted(path) + " ocupa más de 4 MB; guárdela más pequeña (por ejemplo como JPEG).";
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        message = "No se pudo leer el archivo " + Quoted(path) + ".";
        return false;
    }
    // An SVG drawing is at most a few megabytes of text.
    const QByteArray raw = file.read(qint64(16) * 1024 * 1024);
    if (path.endsWith(".svg", Qt::CaseInsensitive) || path.endsWith(".svgz", Qt::CaseInsensitive))
        return RasteriseSvg(path, raw, picture, message);
    if (size_t(raw.size()) > kMaxEmbeddedImageBytes) {
        message = "La imagen " + Quoted(path) + " ocupa más de 4 MB; guárdela más pequeña (por ejemplo como JPEG).";
        return false;
    }
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(raw.constData()), size_t(raw.size()));
    DcImage decoded;
    std::string reason;
    if (!DecodeEmbeddedImage(bytes, decoded, reason)) {
        message = "La imagen " + Quoted(path) + " no se puede usar: " + reason + ".";
        return false;
    }
    picture.bytes.assign(bytes.begin(), bytes.end());
    picture.widthUnits = PlacedWidth(decoded.width * 254.0 / kPictureDpi);
    return true;
}
