#include "model/element_factory.h"

#include "model/codigo_barras.h"
#include "model/cons_parrafo.h"
#include "model/cons_text.h"
#include "model/cuadros_var.h"
#include "model/etiqueta.h"
#include "model/fmt_grid.h"
#include "model/imagen.h"
#include "model/linea.h"
#include "model/marca_var.h"
#include "model/parrafo_var.h"
#include "model/rectangulo.h"
#include "model/textline_var.h"

std::unique_ptr<CControles> CreateElementOfKind(int32_t kind)
{
    switch (kind) {
    case kKindTextlineVar: return std::make_unique<CTextlineVar>();
    case kKindParrafoVar: return std::make_unique<CParrafoVar>();
    case kKindCuadrosVar: return std::make_unique<CCuadrosVar>();
    case kKindMarcaVar: return std::make_unique<CMarcaVar>();
    case kKindGrid: return std::make_unique<CFmtGrid>();
    case kKindConsText: return std::make_unique<CConsText>();
    case kKindConsParrafo: return std::make_unique<CConsParrafo>();
    case kKindLinea: return std::make_unique<CLinea>();
    case kKindRectangulo: return std::make_unique<CRectangulo>();
    case kKindImagen: return std::make_unique<CImagen>();
    case kKindEtiqueta: return std::make_unique<CEtiqueta>();
    case kKindCodigoBarras: return std::make_unique<CCodigoBarras>();
    default: return nullptr;
    }
}

std::unique_ptr<CControles> CreateElementAt(int32_t kind, int x, int y)
{
    switch (kind) {
    case kKindTextlineVar: return CTextlineVar::CreateAt(x, y);
    case kKindParrafoVar: return CParrafoVar::CreateAt(x, y);
    case kKindCuadrosVar: return CCuadrosVar::CreateAt(x, y);
    case kKindMarcaVar: return CMarcaVar::CreateAt(x, y);
    case kKindGrid: return CFmtGrid::CreateAt(x, y);
    case kKindConsText: return CConsText::CreateAt(x, y);
    case kKindConsParrafo: return CConsParrafo::CreateAt(x, y);
    case kKindLinea: return CLinea::CreateAt(x, y);
    case kKindRectangulo: return CRectangulo::CreateAt(x, y);
    case kKindEtiqueta: return CEtiqueta::CreateAt(x, y);
    case kKindCodigoBarras: return CCodigoBarras::CreateAt(x, y);
    default: return nullptr;
    }
}
