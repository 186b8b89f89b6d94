#include "platform/scan_background.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QStringConverter>
#include <array>
#include <cmath>
#include <memory>
#include <poppler-qt6.h>
#include <vector>

#include "base/atomic_file.h"

namespace {

// The largest picture loaded: a letter sheet scanned at 1200 dpi is 135 million pixels,
// which no clerk needs under a form; 600 dpi (34 million) is plenty.
constexpr qint64 kMaxScanPixels = 60'000'000;
// A sidecar is three short lines; anything much larger is not one of ours.
constexpr size_t kMaxSidecarBytes = 16 * 1024;
// A sheet smaller or larger than this is not a paper form: the resolution that gave it
// is taken as wrong (a photo's 72 dpi makes a letter page almost a metre wide).
constexpr double kMinSheetMm = 20;
constexpr double kMaxSheetMm = 600;

const QString kSidecarSuffix = QStringLiteral(".fondo");
const char* const kKeyPath = "archivo";
const char* const kKeyDpi = "resolucion";
const char* const kKeyFade = "atenuacion";

QString Quoted(const QString& path)
{
    return QStringLiteral("«%1»").arg(QDir::toNativeSeparators(path));
}

ScanLoadResult Failure(ScanLoadStatus status, const QString& message, ScanBackground& scan)
{
    scan = ScanBackground{};
    return {status, message};
}

bool DpiInRange(double dpi)
{
    return std::isfinite(dpi) && dpi >= kMinScanDpi && dpi <= kMaxScanDpi;
}

bool SheetPlausible(QSize pixels, double dpiX, double dpiY)
{
    const double w = pixels.width() * 25.4 / dpiX;
    const double h = pixels.height() * 25.4 / dpiY;
    return w >= kMinSheetMm && h >= kMinSheetMm && w <= kMaxSheetMm && h <= kMaxSheetMm;
}

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

uint16_t BigEndian16(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

// Dots per metre are whole numbers: 150 dpi is stored as 5905 (149.987 dpi). A value
// that close to a whole resolution is that resolution, as scanners only offer those.
double ScannerDpi(int dotsPerMeter)
{
    const double dpi = dotsPerMeter * 0.0254;
    return std::abs(dpi - std::round(dpi)) < 0.05 ? std::round(dpi) : dpi;
}

// A resolution a file states, per axis, in dots per inch; 0 where it states none.
struct FileResolution {
    double x = 0;
    double y = 0;
};

// A PNG's pHYs chunk in pixels per metre, walked chunk by chunk up to the image data.
FileResolution PngDpi(const std::vector<uint8_t>& b)
{
    size_t at = 8;
    while (b.size() - at >= 12) {
        const uint32_t length = BigEndian32(&b[at]);
        const uint8_t* type = &b[at + 4];
        if (length > b.size() - at - 12)
            return {};
        if (std::equal(type, type + 4, "pHYs") && length == 9) {
            const uint8_t* d = &b[at + 8];
            if (d[8] != 1)
                return {};
            return {ScannerDpi(BigEndian32(d)), ScannerDpi(BigEndian32(d + 4))};
        }
        if (std::equal(type, type + 4, "IDAT"))
            return {};
        at += 12 + size_t(length);
    }
    return {};
}

// A JPEG's JFIF density in dots per inch or per centimetre; units 0 is an aspect ratio.
FileResolution JpegDpi(const std::vector<uint8_t>& b)
{
    size_t at = 2;
    while (b.size() - at >= 4 && b[at] == 0xFF) {
        const uint8_t marker = b[at + 1];
        const uint16_t length = BigEndian16(&b[at + 2]);
        if (length < 2 || length > b.size() - at - 2)
            return {};
        const uint8_t* d = &b[at + 4];
        if (marker == 0xE0 && length >= 16 && std::equal(d, d + 5, "JFIF")) {
            const uint8_t units = d[7];
            const double perUnit = units == 1 ? 1.0 : units == 2 ? 2.54 : 0.0;
            return {BigEndian16(d + 8) * perUnit, BigEndian16(d + 10) * perUnit};
        }
        if (marker == 0xDA)  // the image data starts: no JFIF header came before it
            return {};
        at += 2 + size_t(length);
    }
    return {};
}

ScanLoadResult LoadPdf(const QString& path, ScanBackground& scan)
{
    const QString bad = QStringLiteral("No se pudo leer el fondo escaneado %1: no es un PDF válido o está protegido con contraseña.")
                            .arg(Quoted(path));
    // A damaged PDF is reported to the clerk once, in Spanish, not as the reader's notes.
    Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant());
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document || document->isLocked() || document->numPages() < 1)
        return Failure(ScanLoadStatus::Unreadable, bad, scan);
    std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page)
        return Failure(ScanLoadStatus::Unreadable, bad, scan);
    const QSizeF points = page->pageSizeF();
    if (!(points.width() > 0 && points.height() > 0))
        return Failure(ScanLoadStatus::Unreadable, bad, scan);
    // A page larger than any form is rendered at a lower resolution rather than refused.
    const double inches = points.width() / 72.0 * points.height() / 72.0;
    const double dpi = std::min(kPdfScanRenderDpi, std::sqrt(double(kMaxScanPixels) / inches));
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    QImage image = page->renderToImage(dpi, dpi);
    if (image.isNull())
        return Failure(ScanLoadStatus::Unreadable, bad, scan);
    scan.image = image.convertToFormat(QImage::Format_RGB32);
    // The page's size in points is exact, whatever pixels it was rendered to.
    scan.widthMm = points.width() * 25.4 / 72.0;
    scan.heightMm = points.height() * 25.4 / 72.0;
    scan.dpiX = scan.image.width() * 25.4 / scan.widthMm;
    scan.dpiY = scan.image.height() * 25.4 / scan.heightMm;
    scan.fromPdf = true;
    return {ScanLoadStatus::Loaded, {}};
}

bool IsPdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(5) == "%PDF-";
}

}  // namespace

namespace {

// The resolution a picture file states in its own header, per axis, whatever its pixels
// are (bit depth, colour type); 0 where it states none or one outside the accepted range.
FileResolution StoredResolution(const QString& path)
{
    std::vector<uint8_t> bytes;
    // The resolution sits in the first few kilobytes; a header past 1 MB is not looked at.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(1 << 20);
    bytes.assign(head.begin(), head.end());
    FileResolution dpi;
    static constexpr std::array<uint8_t, 8> kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= 8 && std::equal(kPng.begin(), kPng.end(), bytes.begin()))
        dpi = PngDpi(bytes);
    else if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8)
        dpi = JpegDpi(bytes);
    if (!DpiInRange(dpi.x) || !DpiInRange(dpi.y))
        return {};
    return dpi;
}

}  // namespace

double StoredScanDpi(const QString& path)
{
    return StoredResolution(path).x;
}

bool SetScanResolution(ScanBackground& scan, double dpi)
{
    if (!DpiInRange(dpi) || scan.image.isNull())
        return false;
    scan.dpiX = scan.dpiY = dpi;
    scan.widthMm = scan.image.width() * 25.4 / dpi;
    scan.heightMm = scan.image.height() * 25.4 / dpi;
    return true;
}

ScanLoadResult LoadScan(const QString& path, double dpiIfMissing, ScanBackground& scan, int fadePercent)
{
    scan = ScanBackground{};
    const QFileInfo info(path);
    if (!info.exists())
        return Failure(ScanLoadStatus::Missing,
                       QStringLiteral("No se encontró el fondo escaneado %1.").arg(Quoted(path)), scan);
    const QString absolute = info.absoluteFilePath();
    const QString unreadable =
        QStringLiteral("No se pudo leer el fondo escaneado %1: no es una imagen PNG o JPEG ni un documento PDF que se pueda abrir.")
            .arg(Quoted(path));
    if (!info.isFile() || !info.isReadable())
        return Failure(ScanLoadStatus::Unreadable, unreadable, scan);

    ScanLoadResult result{ScanLoadStatus::Loaded, {}};
    if (IsPdf(absolute)) {
        result = LoadPdf(absolute, scan);
        if (result.status != ScanLoadStatus::Loaded)
            return result;
    } else {
        QImageReader reader(absolute);
        reader.setAutoTransform(true);
        const QByteArray format = reader.format();
        if (format != "png" && format != "jpeg" && format != "jpg")
            return Failure(ScanLoadStatus::Unreadable, unreadable, scan);
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() > kMaxScanPixels)
            return Failure(ScanLoadStatus::Unreadable,
                           QStringLiteral("El fondo escaneado %1 es demasiado grande (%2 × %3 puntos); escanee a 300 puntos por pulgada o menos.")
                               .arg(Quoted(path))
                               .arg(size.width())
                               .arg(size.height()),
                           scan);
        QImage image = reader.read();
        if (image.isNull())
            return Failure(ScanLoadStatus::Unreadable, unreadable, scan);
        // Transparent parts of a picture lie on white paper.
        if (image.hasAlphaChannel()) {
            QImage flat(image.size(), QImage::Format_RGB32);
            flat.fill(Qt::white);
            QPainter(&flat).drawImage(0, 0, image);
            image = flat;
        }
        scan.image = image.convertToFormat(QImage::Format_RGB32);
        // Qt gives a picture without a resolution the screen's, and does not keep the
        // file's for every kind of pixel (16-bit grey): only the file's header counts.
        const FileResolution stored = StoredResolution(absolute);
        const double dpiX = stored.x;
        const double dpiY = stored.y;
        if (dpiX > 0 && dpiY > 0 && SheetPlausible(scan.image.size(), dpiX, dpiY)) {
            scan.dpiX = dpiX;
            scan.dpiY = dpiY;
            scan.widthMm = scan.image.width() * 25.4 / dpiX;
            scan.heightMm = scan.image.height() * 25.4 / dpiY;
        } else if (!SetScanResolution(scan, dpiIfMissing)) {
            result = {ScanLoadStatus::NeedsResolution,
                      QStringLiteral("La imagen %1 no indica su resolución.").arg(Quoted(path))};
        }
    }
    scan.path = absolute;
    scan.fadePercent = std::clamp(fadePercent, 0, 100);
    return result;
}

// --- The sidecar ----------------------------------------------------------------------------

QString ScanSidecarPath(const QString& formatPath)
{
    return formatPath + kSidecarSuffix;
}

ScanSidecar SidecarOf(const ScanBackground& scan)
{
    ScanSidecar sidecar;
    sidecar.scanPath = scan.path;
    sidecar.dpi = scan.fromPdf ? 0 : scan.dpiX;
    sidecar.fadePercent = scan.fadePercent;
    return sidecar;
}

SidecarReadStatus ReadScanSidecar(const QString& formatPath, ScanSidecar& sidecar, QString* message)
{
    sidecar = ScanSidecar{};
    const QString path = ScanSidecarPath(formatPath);
    const auto damaged = [&](const QString& why) {
        if (message)
            *message = QStringLiteral("Se ignoró el archivo del fondo escaneado %1: %2.").arg(Quoted(path), why);
        sidecar = ScanSidecar{};
        return SidecarReadStatus::Damaged;
    };
    if (!QFileInfo::exists(path))
        return SidecarReadStatus::Absent;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(path.toStdString(), bytes, &error, kMaxSidecarBytes)) {
        if (message)
            *message = QString::fromStdString(error);
        return SidecarReadStatus::Damaged;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (decoder.hasError() || text.contains(QChar(0)))
        return damaged(QStringLiteral("no es texto"));

    bool havePath = false, haveDpi = false, haveFade = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return damaged(QStringLiteral("la línea «%1» no tiene la forma clave=valor").arg(line.left(60)));
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1);
        if (key == QLatin1String(kKeyPath)) {
            if (havePath || value.isEmpty())
                return damaged(QStringLiteral("el nombre del escaneo falta o está repetido"));
            havePath = true;
            sidecar.scanPath = QDir(QFileInfo(formatPath).absolutePath()).absoluteFilePath(value);
        } else if (key == QLatin1String(kKeyDpi)) {
            bool ok = false;
            const double dpi = value.trimmed().toDouble(&ok);
            if (haveDpi || !ok || (dpi != 0 && !DpiInRange(dpi)))
                return damaged(QStringLiteral("la resolución «%1» no es válida").arg(value.left(20)));
            haveDpi = true;
            sidecar.dpi = dpi;
        } else if (key == QLatin1String(kKeyFade)) {
            bool ok = false;
            const int fade = value.trimmed().toInt(&ok);
            if (haveFade || !ok || fade < 0 || fade > 100)
                return damaged(QStringLiteral("la atenuación «%1» no es válida").arg(value.left(20)));
            haveFade = true;
            sidecar.fadePercent = fade;
        }
        // Other keys are left for later versions of the program.
    }
    if (!havePath)
        return damaged(QStringLiteral("no dice qué archivo es el escaneo"));
    return SidecarReadStatus::Read;
}

bool WriteScanSidecar(const QString& formatPath, const ScanSidecar& sidecar, QString* message)
{
    const QString path = ScanSidecarPath(formatPath);
    if (sidecar.scanPath.isEmpty() || sidecar.scanPath.contains(QLatin1Char('\n')) ||
        sidecar.scanPath.contains(QLatin1Char('\r'))) {
        if (message)
            *message = QStringLiteral("No se puede anotar el fondo escaneado %1 en %2: su nombre no es válido.")
                           .arg(Quoted(sidecar.scanPath), Quoted(path));
        return false;
    }
    // A scan kept in the format's folder (or below it) is noted relative to it, so the
    // two can be moved or copied together.
    const QDir folder(QFileInfo(formatPath).absolutePath());
    QString noted = QFileInfo(sidecar.scanPath).absoluteFilePath();
    const QString relative = folder.relativeFilePath(noted);
    if (!relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative))
        noted = relative;
    QString text = QStringLiteral("# Fondo escaneado que Ordexa muestra bajo el formato; no se imprime.\n");
    text += QStringLiteral("%1=%2\n").arg(QLatin1String(kKeyPath), noted);
    text += QStringLiteral("%1=%2\n").arg(QLatin1String(kKeyDpi)).arg(sidecar.dpi, 0, 'g', 10);
    text += QStringLiteral("%1=%2\n").arg(QLatin1String(kKeyFade)).arg(std::clamp(sidecar.fadePercent, 0, 100));
    const QByteArray utf8 = text.toUtf8();
    std::string error;
    if (!WriteFileAtomically(path.toStdString(),
                             std::span(reinterpret_cast<const uint8_t*>(utf8.constData()), size_t(utf8.size())), &error)) {
        if (message)
            *message = QString::fromStdString(error);
        return false;
    }
    return true;
}

bool RemoveScanSidecar(const QString& formatPath, QString* message)
{
    const QString path = ScanSidecarPath(formatPath);
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    if (message)
        *message = QStringLiteral("No se pudo borrar el archivo del fondo escaneado %1.").arg(Quoted(path));
    return false;
}

// --- Drawing --------------------------------------------------------------------------------

namespace {

// The picture drawn paler: each channel moves toward white by the fade.
QImage Faded(const QImage& image, int fadePercent)
{
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    const int keep = 100 - std::clamp(fadePercent, 0, 100);
    if (keep == 100)
        return out;
    std::array<uint8_t, 256> table;
    for (int c = 0; c < 256; ++c)
        table[size_t(c)] = uint8_t(255 - (255 - c) * keep / 100);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgb(table[size_t(qRed(p))], table[size_t(qGreen(p))], table[size_t(qBlue(p))]);
        }
    }
    return out;
}

}  // namespace

void ScanDrawCache::Clear()
{
    m_imageKey = 0;
    m_fade = -1;
    m_size = {};
    m_scaled = {};
}

const QImage& ScanDrawCache::Scaled(const ScanBackground& scan, QSize targetPx)
{
    const qint64 key = scan.image.cacheKey();
    if (key != m_imageKey || scan.fadePercent != m_fade || targetPx != m_size || m_scaled.isNull()) {
        // Scaling first makes the fade touch only the pixels that are shown.
        const QImage sized = targetPx == scan.image.size()
                                 ? scan.image
                                 : scan.image.scaled(targetPx, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled = Faded(sized, scan.fadePercent);
        m_imageKey = key;
        m_fade = scan.fadePercent;
        m_size = targetPx;
        ++m_builds;
    }
    return m_scaled;
}

void DrawScan(QPainter& painter, const ScanBackground& scan, QPointF pageOriginPx, double pixelsPerUnit,
              const QRectF& exposedPx, ScanDrawCache& cache, bool cacheEnlarged)
{
    if (scan.IsEmpty() || !(pixelsPerUnit > 0))
        return;
    const QSizeF sizePx(scan.WidthUnits() * pixelsPerUnit, scan.HeightUnits() * pixelsPerUnit);
    const QRectF target(pageOriginPx, sizePx);
    const QRectF shown = target.intersected(exposedPx);
    if (shown.isEmpty())
        return;
    const QSize wholePx(std::max(1, int(std::lround(sizePx.width()))), std::max(1, int(std::lround(sizePx.height()))));
    const qint64 targetPixels = qint64(wholePx.width()) * wholePx.height();
    const qint64 sourcePixels = qint64(scan.image.width()) * scan.image.height();
    if ((targetPixels <= sourcePixels || cacheEnlarged) && targetPixels <= kMaxCachedScanPixels) {
        // Drawn smaller than scanned (a screen): the scaled copy is drawn pixel for pixel.
        const QImage& picture = cache.Scaled(scan, wholePx);
        const QPoint corner(int(std::lround(pageOriginPx.x())), int(std::lround(pageOriginPx.y())));
        const QRect part = shown.toAlignedRect().translated(-corner).intersected(picture.rect());
        if (!part.isEmpty())
            painter.drawImage(part.topLeft() + corner, picture, part);
        return;
    }
    // Drawn larger than scanned (a printer's resolution): the faded picture at its own
    // size, scaled as it is drawn, rather than a copy of printer size kept in memory.
    const QImage& picture = cache.Scaled(scan, scan.image.size());
    const double sx = picture.width() / target.width();
    const double sy = picture.height() / target.height();
    const QRectF source((shown.left() - target.left()) * sx, (shown.top() - target.top()) * sy, shown.width() * sx,
                        shown.height() * sy);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(shown, picture, source);
    painter.restore();
}
