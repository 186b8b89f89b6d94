#include "model/barcode_symbol.h"

#include <zint.h>

#include <memory>

namespace {

int ZintSymbology(Symbology symbology)
{
    switch (symbology) {
    case Symbology::Qr: return BARCODE_QRCODE;
    case Symbology::Code128: return BARCODE_CODE128;
    case Symbology::Ean13: return BARCODE_EANX;
    case Symbology::Pdf417: return BARCODE_PDF417;
    case Symbology::DataMatrix: return BARCODE_DATAMATRIX;
    }
    return BARCODE_CODE128;
}

// The library's reason in Spanish, from its error number (the text after "Error NNN:").
std::string SpanishReason(const zint_symbol& sym, const std::string& data)
{
    const std::string text = sym.errtxt;
    int number = 0;
    if (text.rfind("Error ", 0) == 0)
        number = std::atoi(text.c_str() + 6);
    if (data.empty())
        return "no hay datos que codificar";
    switch (number) {
    case 275: {
        // "Invalid check digit 'X', expecting 'Y'"
        const auto expecting = text.find("expecting '");
        std::string reason = "el dígito verificador no es correcto";
        if (expecting != std::string::npos && expecting + 11 < text.size())
            reason += " (debe ser " + text.substr(expecting + 11, 1) + ")";
        return reason;
    }
    case 284:
    case 206:
        return "los datos solo pueden llevar dígitos";
    case 294:
    case 348:
        return "los datos deben tener 12 o 13 dígitos";
    case 778:
        return "no hay datos que codificar";
    default:
        break;
    }
    if (text.find("too long") != std::string::npos || text.find("Too long") != std::string::npos ||
        text.find("too large") != std::string::npos)
        return "los datos son demasiado largos para este código";
    if (text.find("Invalid character") != std::string::npos || text.find("invalid character") != std::string::npos)
        return "los datos llevan un carácter que este código no admite";
    if (text.find("check digit") != std::string::npos)
        return "el dígito verificador no es correcto";
    return "los datos no se pueden codificar en este código (" + text + ")";
}

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

}  // namespace

const char* SymbologyName(Symbology symbology)
{
    switch (symbology) {
    case Symbology::Qr: return "QR";
    case Symbology::Code128: return "Code 128";
    case Symbology::Ean13: return "EAN-13";
    case Symbology::Pdf417: return "PDF417";
    case Symbology::DataMatrix: return "Data Matrix";
    }
    return "";
}

bool IsLinear(Symbology symbology)
{
    return symbology == Symbology::Code128 || symbology == Symbology::Ean13;
}

bool EncodeBarcode(Symbology symbology, int32_t qrLevel, const std::string& data, BarcodeVector& out,
                   std::string& reason)
{
    out = BarcodeVector{};
    const std::unique_ptr<zint_symbol, SymbolDeleter> sym(ZBarcode_Create());
    if (!sym) {
        reason = "no hay memoria para el código";
        return false;
    }
    sym->symbology = ZintSymbology(symbology);
    sym->show_hrt = 0;
    sym->input_mode = UNICODE_MODE;
    if (symbology == Symbology::Qr && qrLevel >= 1 && qrLevel <= kQrLevelMax)
        sym->option_1 = qrLevel;
    if (symbology == Symbology::Ean13 && data.size() != 12 && data.size() != 13) {
        // The library would take fewer digits and pad them with zeros: a code the clerk
        // did not type.
        const bool digits = data.find_first_not_of("0123456789") == std::string::npos;
        reason = !digits ? "los datos solo pueden llevar dígitos" : data.empty() ? "no hay datos que codificar"
                                                                               : "los datos deben tener 12 o 13 dígitos";
        return false;
    }
    const int result = ZBarcode_Encode_and_Buffer_Vector(
        sym.get(), reinterpret_cast<const unsigned char*>(data.data()), int(data.size()), 0);
    if (result >= ZINT_ERROR || !sym->vector) {
        reason = SpanishReason(*sym, data);
        return false;
    }
    // The library lays a module as two vector units at scale 1.
    const double unit = sym->vector->width > 0 && sym->width > 0 ? 2.0 : 1.0;
    out.widthModules = sym->vector->width / unit;
    out.heightModules = sym->vector->height / unit;
    for (const zint_vector_rect* r = sym->vector->rectangles; r; r = r->next)
        out.bars.push_back({r->x / unit, r->y / unit, (r->x + r->width) / unit, (r->y + r->height) / unit});
    return true;
}
