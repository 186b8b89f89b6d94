// ordexa-cli dump FORMAT.fmt: the format as one JSON document, elements in file order.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "cli/cli_command.h"
#include "model/codigo_barras.h"
#include "model/cuadros_var.h"
#include "model/embedded_image.h"
#include "model/fmt_grid.h"
#include "model/format_file.h"
#include "model/imagen.h"
#include "model/linea.h"
#include "model/marca_var.h"
#include "model/textline_var.h"

namespace {

QJsonArray RectJson(const Rect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

QJsonObject FontJson(const LogFont& f)
{
    return {{"height", f.height},         {"width", f.width},
            {"escapement", f.escapement}, {"orientation", f.orientation},
            {"weight", f.weight},         {"italic", f.italic},
            {"underline", f.underline},   {"strikeOut", f.strikeOut},
            {"charSet", f.charSet},       {"outPrecision", f.outPrecision},
            {"clipPrecision", f.clipPrecision}, {"quality", f.quality},
            {"pitchAndFamily", f.pitchAndFamily}, {"face", QString::fromStdString(f.face)}};
}

QJsonObject ElementJson(const CControles& e)
{
    QJsonObject o{{"kind", e.m_kind},
                  {"kindName", QString::fromStdString(e.KindName())},
                  {"text", QString::fromStdString(e.m_text)},
                  {"align", e.m_align},
                  {"screenPlaced", e.m_screenPlaced != 0},
                  {"page", RectJson(e.m_rcPage)},
                  {"screen", RectJson(e.m_rcScreen)},
                  {"captionLeft", e.m_captionLeft},
                  {"color", qint64(e.m_textColor)},
                  {"order", e.m_order},
                  {"font", FontJson(e.m_logFont)}};
    if (auto* t = dynamic_cast<const CTextlineVar*>(&e)) {
        o["formula"] = QString::fromStdString(t->m_formula);
    } else if (auto* b = dynamic_cast<const CCuadrosVar*>(&e)) {
        o["boxCount"] = b->m_boxCount;
        o["boxGap"] = b->m_boxGap;
        o["boxWidth"] = b->m_boxWidth;
    } else if (auto* m = dynamic_cast<const CMarcaVar*>(&e)) {
        o["mark"] = QString::fromStdString(m->m_mark);
    } else if (auto* g = dynamic_cast<const CFmtGrid*>(&e)) {
        QJsonArray columns;
        for (const GridColumn& c : g->m_columns)
            columns.append(QJsonObject{{"align", c.align},
                                       {"title", QString::fromStdString(c.title)},
                                       {"width", c.width},
                                       {"screenWidth", c.screenWidth},
                                       {"type", c.type},
                                       {"formula", QString::fromStdString(c.formula)}});
        QJsonArray rows;
        for (const GridRow& r : g->m_rows)
            rows.append(r.height);
        o["columns"] = columns;
        o["rows"] = rows;
    } else if (auto* l = dynamic_cast<const CLinea*>(&e)) {
        o["horizontal"] = l->m_horizontal;
    } else if (auto* i = dynamic_cast<const CImagen*>(&e)) {
        // The picture is described, never copied out.
        EmbeddedImageInfo info;
        std::string reason;
        ProbeEmbeddedImage(i->Bytes(), info, reason);
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(ImageContentKey(i->Bytes())));
        o["image"] = QJsonObject{{"format", ImageTypeName(info.type)},
                                 {"widthPx", qint64(info.width)},
                                 {"heightPx", qint64(info.height)},
                                 {"bytes", qint64(i->Bytes().size())},
                                 {"hash", hash}};
        o["keepAspect"] = i->KeepsAspect();
    } else if (auto* c = dynamic_cast<const CCodigoBarras*>(&e)) {
        o["symbology"] = SymbologyName(c->m_symbology);
        o["qrLevel"] = c->m_qrLevel;
        o["template"] = QString::fromStdString(c->m_template);
        o["moduleSize"] = c->m_moduleSize;
        o["quietZone"] = c->m_quietZone;
        o["showText"] = (c->m_flags & CCodigoBarras::kShowText) != 0;
    }
    return o;
}

}  // namespace

int RunDump(const CliArgs& args)
{
    if (args.size() != 1 || args[0].starts_with("--"))
        return UsageError("dump FORMATO.fmt");
    Format format;
    std::string message;
    if (!LoadFormatFile(args[0], format, message))
        return Refuse(message);
    QJsonArray elements;
    // The list holds the entries in reverse file order.
    for (auto it = format.elements.rbegin(); it != format.elements.rend(); ++it)
        elements.append(ElementJson(**it));
    const QJsonObject doc{{"title", QString::fromStdString(format.title)},
                          {"extent", RectJson(format.screenExtent)},
                          {"elements", elements}};
    const QByteArray json = QJsonDocument(doc).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return kExitOk;
}
