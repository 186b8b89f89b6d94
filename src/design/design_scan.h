#pragma once
// The scanned form under a design frame's page: choosing it, its resolution and fade,
// removing it, bringing it back when the format is reopened and noting it beside the
// format whenever the format has a file. The scan is the frame's alone: it never enters
// the format, its history or its modified state.
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "platform/scan_background.h"

class Prompts;
class QPainter;
class QWidget;

// The dialogs the scan commands ask through; tests replace them.
struct ScanDialogs {
    // A scan file; empty when the clerk cancels.
    std::function<QString(QWidget*)> scanFile;
    // The resolution of a picture that carries none; nothing when cancelled.
    std::function<std::optional<double>(QWidget*, const QString& path, QSize pixels)> resolution;
    // The fade, shown live through the callback; nothing when cancelled.
    std::function<std::optional<int>(QWidget*, int fadePercent, const std::function<void(int)>& preview)> fade;
};
// The program's own dialogs.
ScanDialogs PlatformScanDialogs();

class DesignScan {
public:
    // `repaint` redraws the page after the scan or its fade changed.
    explicit DesignScan(std::function<void()> repaint);

    void SetDialogs(ScanDialogs dialogs) { m_dialogs = std::move(dialogs); }

    const ScanBackground& Scan() const { return m_scan; }
    bool HasScan() const { return !m_scan.IsEmpty(); }
    // A scan is shown, or one is noted for the format whose file could not be read: either
    // can be removed.
    bool CanRemove() const { return HasScan() || m_noted.has_value(); }
    ScanDrawCache& Cache() { return m_cache; }

    // "Fondo escaneado...": the file dialog, the resolution when the picture has none,
    // then the scan replaces any other and is noted beside the format (if it has a file).
    // A file that cannot be read is reported through `prompts` and changes nothing.
    // Returns a status-bar text (empty: nothing to say).
    QString Choose(QWidget* parent, const QString& formatPath, Prompts& prompts);
    // "Atenuar fondo...".
    QString ChooseFade(QWidget* parent, const QString& formatPath);
    // "Quitar fondo": the scan goes, and so does its note beside the format.
    QString Remove(const QString& formatPath);
    // The format at `formatPath` (empty: a new format or a failed read) now fills the
    // frame: its noted scan comes back. A missing or unreadable scan, or a damaged note,
    // is only a status-bar text.
    QString RestoreFor(const QString& formatPath);
    // The format was written to `formatPath` (a first save, a save under a new name, or
    // a save over its own file): the scan is noted beside it. A format without a scan
    // leaves any note there alone on a plain save, and removes it when saved under a new
    // name (it belonged to the file that was replaced).
    QString FormatSaved(const QString& formatPath, bool newName);

    // Draws the scan under the page: page (0,0) at `pageOriginPx`, `pixelsPerUnit`
    // pixels per 0.1 mm, only inside `exposedPx`.
    void Draw(QPainter& painter, QPointF pageOriginPx, double pixelsPerUnit, const QRectF& exposedPx);

private:
    QString Note(const QString& formatPath);

    std::function<void()> m_repaint;
    ScanDialogs m_dialogs;
    ScanBackground m_scan;
    ScanDrawCache m_cache;
    // What the format's note says when its scan could not be shown (kept so that saving
    // the format under a new name does not forget it).
    std::optional<ScanSidecar> m_noted;
};
