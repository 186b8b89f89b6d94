#pragma once
// A scanned (or photographed) blank paper form shown under a format's elements while the
// clerk places them, and under the print preview's page. It is a picture on screen only:
// it never prints, is never written into the .fmt and never marks the format modified.
//
// The picture's top-left corner is the sheet's corner, page (0,0); its size on the page
// follows its resolution (a PNG's or JPEG's own dots per metre, or the dots per inch the
// clerk gives when the file carries none) or, for a PDF, the first page's size in points.
//
// Its path, resolution and fade are kept beside the format in a small text file named
// after it ("Factura.fmt" -> "Factura.fmt.fondo"), so reopening the format shows it again.
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

// How pale the scan is drawn, 0 (as scanned) to 100 (white), when nothing else is said.
inline constexpr int kDefaultScanFadePercent = 50;
// The resolution offered when a picture carries none.
inline constexpr double kDefaultScanDpi = 150;
// The resolution a PDF's first page is rendered at.
inline constexpr double kPdfScanRenderDpi = 150;
// Resolutions accepted from a file or from the clerk; outside them a file's own value is
// taken as missing (the clerk is asked) and the clerk's is refused.
inline constexpr double kMinScanDpi = 30;
inline constexpr double kMaxScanDpi = 2400;

struct ScanBackground {
    QString path;              // the scan file, absolute
    QImage image;              // the page as loaded (RGB32), unfaded
    double dpiX = 0, dpiY = 0;  // pixels per inch of `image` on the sheet
    double widthMm = 0, heightMm = 0;  // the sheet area the picture covers
    int fadePercent = kDefaultScanFadePercent;
    bool fromPdf = false;

    bool IsEmpty() const { return image.isNull(); }
    // The size on the page in 0.1 mm.
    double WidthUnits() const { return widthMm * 10; }
    double HeightUnits() const { return heightMm * 10; }
};

enum class ScanLoadStatus {
    Loaded,           // `scan` is ready
    NeedsResolution,  // the picture is loaded but carries no usable resolution and
                      // `dpiIfMissing` was 0: ask the clerk, then SetScanResolution
    Missing,          // no file at that path (a quiet status-bar message)
    Unreadable,       // not a PNG, JPEG or PDF that can be read, or too large
};

struct ScanLoadResult {
    ScanLoadStatus status = ScanLoadStatus::Unreadable;
    QString message;  // Spanish sentence naming the file, for anything but Loaded
};

// Loads a PNG, JPEG or PDF (its first page, rendered at kPdfScanRenderDpi). A picture
// without a usable resolution of its own gets `dpiIfMissing` (when in range) or answers
// NeedsResolution. `fadePercent` is kept in the result. On failure `scan` is left empty.
ScanLoadResult LoadScan(const QString& path, double dpiIfMissing, ScanBackground& scan,
                        int fadePercent = kDefaultScanFadePercent);

// Sets the resolution of a loaded picture (after asking the clerk) and its size in mm.
// False when `dpi` is outside [kMinScanDpi, kMaxScanDpi].
bool SetScanResolution(ScanBackground& scan, double dpi);

// The resolution a picture file carries in its own header, or 0 when it carries none or
// one outside the accepted range (PNG pHYs in metres, JPEG JFIF density in inches or cm).
double StoredScanDpi(const QString& path);

// The sidecar file: path, resolution and fade of the scan shown under a format.
struct ScanSidecar {
    QString scanPath;  // absolute when read; written relative to the format's folder when
                       // the scan lies in or below it
    double dpi = 0;    // the resolution used (the file's own or the clerk's); 0 for a PDF
    int fadePercent = kDefaultScanFadePercent;
};

// "<format path>.fondo".
QString ScanSidecarPath(const QString& formatPath);

enum class SidecarReadStatus { Read, Absent, Damaged };

// Reads the sidecar of a format. Absent when there is none; Damaged (with a Spanish
// `message` naming the file) when it is too large, not UTF-8 text, lacks the scan's path
// or holds a value out of range or twice.
SidecarReadStatus ReadScanSidecar(const QString& formatPath, ScanSidecar& sidecar, QString* message = nullptr);

// Writes the sidecar atomically. False with a Spanish `message` on failure.
bool WriteScanSidecar(const QString& formatPath, const ScanSidecar& sidecar, QString* message = nullptr);

// Removes the sidecar (nothing to do when there is none). False with a message on failure.
bool RemoveScanSidecar(const QString& formatPath, QString* message = nullptr);

// The sidecar describing a loaded scan.
ScanSidecar SidecarOf(const ScanBackground& scan);

// The faded picture scaled to the size it is drawn at, kept between paints so that a
// repaint (a drag step) does not scale a large scan again. One per view or preview.
class ScanDrawCache {
public:
    void Clear();
    // The picture for `scan` at `targetPx` pixels, made on first use and whenever the
    // scan, its fade or the size changed.
    const QImage& Scaled(const ScanBackground& scan, QSize targetPx);
    // How many times a picture was made (for tests and benchmarks).
    int Builds() const { return m_builds; }

private:
    qint64 m_imageKey = 0;
    int m_fade = -1;
    QSize m_size;
    QImage m_scaled;
    int m_builds = 0;
};

// Draws the scan faded, its top-left corner at `pageOriginPx` (where page (0,0) lies in
// the painter's current coordinates, pixels with y downward) and `pixelsPerUnit` pixels
// per 0.1 mm, only inside `exposedPx` (same coordinates). Nothing happens for an empty
// scan. The scaled picture comes from `cache` when it is no larger than kMaxCachedScanPixels;
// beyond that (a printer's resolution) the faded source is scaled while drawing.
inline constexpr qint64 kMaxCachedScanPixels = 40'000'000;
// `cacheEnlarged`: a screen that draws the scan larger than scanned (a zoomed design
// view) also keeps the scaled copy, so that each repaint only copies pixels; a printer
// leaves it false and scales as it draws.
void DrawScan(QPainter& painter, const ScanBackground& scan, QPointF pageOriginPx, double pixelsPerUnit,
              const QRectF& exposedPx, ScanDrawCache& cache,
              bool cacheEnlarged = false);
