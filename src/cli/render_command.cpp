// ordexa-cli render FORMAT.fmt OUT.png [--mode design|screen|print] [--dpi N]
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <charconv>

#include "base/atomic_file.h"
#include "cli/cli_command.h"
#include "model/format_file.h"
#include "platform/format_render.h"

namespace {

constexpr const char* kRenderUsage = "render FORMATO.fmt SALIDA.png [--mode design|screen|print] [--dpi N]";

bool ParseDpi(const std::string& text, int& dpi)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, dpi);
    return ec == std::errc() && ptr == end && dpi >= 10 && dpi <= 2400;
}

}  // namespace

int RunRender(const CliArgs& args)
{
    std::vector<std::string> positional;
    RenderMode mode = RenderMode::Design;
    int dpi = 96;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        const bool isOption = arg.rfind("--", 0) == 0;
        if (isOption) {
            const size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            } else if (arg == "--mode" || arg == "--dpi") {
                if (i + 1 >= args.size())
                    return UsageError(kRenderUsage);
                value = args[++i];
            }
        }
        if (arg == "--mode") {
            if (value == "design")
                mode = RenderMode::Design;
            else if (value == "screen")
                mode = RenderMode::Screen;
            else if (value == "print")
                mode = RenderMode::Print;
            else
                return UsageError(kRenderUsage);
        } else if (arg == "--dpi") {
            if (!ParseDpi(value, dpi))
                return UsageError(kRenderUsage);
        } else if (isOption) {
            return UsageError(kRenderUsage);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2)
        return UsageError(kRenderUsage);
    const std::string& formatPath = positional[0];
    const std::string& outPath = positional[1];

    Format format;
    std::string message;
    if (!LoadFormatFile(formatPath, format, message))
        return Refuse(message);

    const QSize size = RenderSize(format, mode, dpi);
    if (const std::string why = RenderRefusal(size); !why.empty())
        return Refuse(formatPath + ": " + why);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return Refuse(outPath + ": no hay memoria para la imagen");
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        RenderFormat(format, mode, dpi, painter);
    }
    image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Refuse(outPath + ": no se pudo codificar la imagen");
    std::string error;
    const auto* bytes = reinterpret_cast<const uint8_t*>(png.constData());
    if (!WriteFileAtomically(outPath, std::span<const uint8_t>(bytes, size_t(png.size())), &error))
        return Refuse(error);
    return kExitOk;
}
