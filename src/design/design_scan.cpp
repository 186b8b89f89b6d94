#include "design/design_scan.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include "base/prompts.h"
#include "design/scan_dialogs.h"

ScanDialogs PlatformScanDialogs()
{
    return {AskScanFile, AskScanResolution, AskScanFade};
}

DesignScan::DesignScan(std::function<void()> repaint) : m_repaint(std::move(repaint)), m_dialogs(PlatformScanDialogs()) {}

QString DesignScan::Note(const QString& formatPath)
{
    if (formatPath.isEmpty())
        return {};
    QString message;
    const std::optional<ScanSidecar> sidecar = HasScan() ? std::optional(SidecarOf(m_scan)) : m_noted;
    if (!sidecar)
        return {};
    if (!WriteScanSidecar(formatPath, *sidecar, &message))
        return message;
    return {};
}

QString DesignScan::Choose(QWidget* parent, const QString& formatPath, Prompts& prompts)
{
    const QString path = m_dialogs.scanFile ? m_dialogs.scanFile(parent) : QString();
    if (path.isEmpty())
        return {};
    ScanBackground loaded;
    // A second scan keeps the fade the clerk chose for the first.
    const int fade = HasScan() ? m_scan.fadePercent : m_noted ? m_noted->fadePercent : kDefaultScanFadePercent;
    ScanLoadResult result = LoadScan(path, 0, loaded, fade);
    if (result.status == ScanLoadStatus::NeedsResolution) {
        const std::optional<double> dpi =
            m_dialogs.resolution ? m_dialogs.resolution(parent, path, loaded.image.size()) : std::nullopt;
        if (!dpi)
            return {};
        if (!SetScanResolution(loaded, *dpi)) {
            prompts.Message(QStringLiteral("La resolución %1 no es válida: escriba un número de %2 a %3 puntos por pulgada.")
                                .arg(*dpi)
                                .arg(kMinScanDpi)
                                .arg(kMaxScanDpi)
                                .toStdString(),
                            PromptIcon::Warning);
            return {};
        }
    } else if (result.status != ScanLoadStatus::Loaded) {
        prompts.Message(result.message.toStdString(), PromptIcon::Error);
        return {};
    }
    m_scan = std::move(loaded);
    m_noted.reset();
    m_cache.Clear();
    m_repaint();
    const QString failure = Note(formatPath);
    if (!failure.isEmpty())
        return failure;
    return QStringLiteral("Fondo escaneado «%1»: %2 × %3 mm.")
        .arg(QFileInfo(m_scan.path).fileName())
        .arg(m_scan.widthMm, 0, 'f', 1)
        .arg(m_scan.heightMm, 0, 'f', 1);
}

QString DesignScan::ChooseFade(QWidget* parent, const QString& formatPath)
{
    if (!HasScan() || !m_dialogs.fade)
        return {};
    const auto preview = [this](int fade) {
        m_scan.fadePercent = std::clamp(fade, 0, 100);
        m_repaint();
    };
    const int before = m_scan.fadePercent;
    const std::optional<int> chosen = m_dialogs.fade(parent, before, preview);
    if (!chosen) {
        // Cancel: the page goes back to the fade it had before the slider moved.
        preview(before);
        return {};
    }
    preview(*chosen);
    return Note(formatPath);
}

QString DesignScan::Remove(const QString& formatPath)
{
    if (!CanRemove())
        return {};
    m_scan = ScanBackground{};
    m_noted.reset();
    m_cache.Clear();
    m_repaint();
    QString message;
    if (!formatPath.isEmpty() && !RemoveScanSidecar(formatPath, &message))
        return message;
    return {};
}

QString DesignScan::RestoreFor(const QString& formatPath)
{
    m_scan = ScanBackground{};
    m_noted.reset();
    m_cache.Clear();
    m_repaint();
    if (formatPath.isEmpty())
        return {};
    ScanSidecar sidecar;
    QString message;
    switch (ReadScanSidecar(formatPath, sidecar, &message)) {
    case SidecarReadStatus::Absent:
        return {};
    case SidecarReadStatus::Damaged:
        return message;
    case SidecarReadStatus::Read:
        break;
    }
    ScanBackground loaded;
    const ScanLoadResult result = LoadScan(sidecar.scanPath, sidecar.dpi, loaded, sidecar.fadePercent);
    if (result.status != ScanLoadStatus::Loaded) {
        // The note stays: the scan may be on a disk that is not mounted today.
        m_noted = sidecar;
        return result.status == ScanLoadStatus::NeedsResolution
                   ? QStringLiteral("No se muestra el fondo escaneado «%1»: no se sabe su resolución.")
                         .arg(QDir::toNativeSeparators(sidecar.scanPath))
                   : result.message;
    }
    m_scan = std::move(loaded);
    m_repaint();
    return {};
}

QString DesignScan::FormatSaved(const QString& formatPath, bool newName)
{
    if (formatPath.isEmpty())
        return {};
    if (CanRemove())
        return Note(formatPath);
    QString message;
    if (newName && !RemoveScanSidecar(formatPath, &message))
        return message;
    return {};
}

void DesignScan::Draw(QPainter& painter, QPointF pageOriginPx, double pixelsPerUnit, const QRectF& exposedPx)
{
    DrawScan(painter, m_scan, pageOriginPx, pixelsPerUnit, exposedPx, m_cache, true);
}
