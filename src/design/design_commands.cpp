#include "design/design_commands.h"

#include <array>

#include "design/design_document.h"
#include "model/controles.h"
#include "platform/command_ids.h"

namespace {

using namespace CommandId;

// Menu texts, status-bar prompts and tool tips of the design commands.
constexpr std::array kCommands = {
    DesignCommand{kNewDesign, "&Nuevo formato", "Crea un formato nuevo", "Nuevo formato"},
    DesignCommand{kOpenDesign, "&Abrir formato...", "Abre un archivo de formato para su edición", "Abrir formato"},
    DesignCommand{kSaveDesign, "&Guardar formato", "Guardar el formato", "Guardar"},
    DesignCommand{kSaveDesignAs, "Guardar formato c&omo...", "Guarda el formato con otro nombre", nullptr},
    DesignCommand{kCloseDesign, "&Cerrar formato", "Cierra el formato", nullptr},
    DesignCommand{kUndo, "&Deshacer", "Deshace el último cambio del formato", nullptr, -1, "Ctrl+Z"},
    DesignCommand{kRedo, "&Rehacer", "Vuelve a hacer el cambio deshecho", nullptr, -1, "Ctrl+Y"},
    DesignCommand{kCut, "Cor&tar", "Quita los controles seleccionados y los pone en el portapapeles", nullptr, -1,
                  "Ctrl+X"},
    DesignCommand{kCopy, "&Copiar", "Copia los controles seleccionados al portapapeles", nullptr, -1, "Ctrl+C"},
    DesignCommand{kPaste, "&Pegar", "Pega en este formato los controles del portapapeles", nullptr, -1, "Ctrl+V"},
    DesignCommand{kDuplicate, "D&uplicar", "Hace una copia de los controles seleccionados", nullptr, -1, "Ctrl+D"},
    DesignCommand{kSelectAll, "Seleccionar t&odo", "Selecciona todos los controles del formato", nullptr, -1,
                  "Ctrl+A"},
    DesignCommand{kNextElement, "Control &siguiente", "Selecciona el control siguiente en el orden de captura",
                  nullptr, -1, nullptr, "Tab"},
    DesignCommand{kPreviousElement, "Control a&nterior", "Selecciona el control anterior en el orden de captura",
                  nullptr, -1, nullptr, "Mayús+Tab"},
    DesignCommand{kZoomIn, "&Acercar", "Amplía la vista de la página", nullptr, -1, "Ctrl++"},
    DesignCommand{kZoomOut, "A&lejar", "Reduce la vista de la página", nullptr, -1, "Ctrl+-"},
    DesignCommand{kZoomActual, "&Tamaño real (100 %)", "Muestra la página a su tamaño real", nullptr, -1, "Ctrl+0"},
    DesignCommand{kZoomFitWindow, "Ajustar a la &ventana", "Muestra la página entera en la ventana", nullptr},
    DesignCommand{kZoomPageWidth, "A&ncho de página", "Muestra la página a todo lo ancho de la ventana", nullptr},
    DesignCommand{kAlignLefts, "Alínear a la &izquierda", "Alínea los bordes izquierdos de los controles seleccionados",
                  nullptr},
    DesignCommand{kAlignRights, "Alínear a la &derecha", "Alínea los bordes derechos de los controles seleccionados",
                  nullptr},
    DesignCommand{kAlignTops, "Alínear a&rriba", "Alínea los bordes superiores de los controles seleccionados",
                  nullptr},
    DesignCommand{kAlignBottoms, "Alínear a&bajo", "Alínea los bordes inferiores de los controles seleccionados",
                  nullptr},
    DesignCommand{kAlignCentresHorizontally, "Centrar &horizontalmente",
                  "Pone los centros de los controles seleccionados en una misma vertical", nullptr},
    DesignCommand{kAlignCentresVertically, "Centrar &verticalmente",
                  "Pone los centros de los controles seleccionados en una misma horizontal", nullptr},
    DesignCommand{kDistributeHorizontally, "Distribuir hori&zontalmente",
                  "Deja espacios iguales entre los controles seleccionados, de izquierda a derecha", nullptr},
    DesignCommand{kDistributeVertically, "Distribuir vertical&mente",
                  "Deja espacios iguales entre los controles seleccionados, de arriba abajo", nullptr},
    DesignCommand{kSameWidth, "Mismo a&ncho", "Da a los controles seleccionados el ancho del primero seleccionado",
                  nullptr},
    DesignCommand{kSameHeight, "Mismo al&to", "Da a los controles seleccionados el alto del primero seleccionado",
                  nullptr},
    DesignCommand{kMoveLeft, "Mover a la &izquierda", "Mueve la selección un paso a la izquierda", nullptr, -1, nullptr,
                  "Izquierda"},
    DesignCommand{kMoveRight, "Mover a la &derecha", "Mueve la selección un paso a la derecha", nullptr, -1, nullptr,
                  "Derecha"},
    DesignCommand{kMoveUp, "Mover a&rriba", "Mueve la selección un paso hacia arriba", nullptr, -1, nullptr, "Arriba"},
    DesignCommand{kMoveDown, "Mover a&bajo", "Mueve la selección un paso hacia abajo", nullptr, -1, nullptr, "Abajo"},
    DesignCommand{kWiden, "Más &ancho", "Ensancha la selección un paso", nullptr, -1, nullptr, "Alt+Derecha"},
    DesignCommand{kNarrow, "Más an&gosto", "Angosta la selección un paso", nullptr, -1, nullptr, "Alt+Izquierda"},
    DesignCommand{kTaller, "Más a&lto", "Hace la selección un paso más alta", nullptr, -1, nullptr, "Alt+Abajo"},
    DesignCommand{kShorter, "Más ba&jo", "Hace la selección un paso más baja", nullptr, -1, nullptr, "Alt+Arriba"},
    DesignCommand{kSnapMillimetre, "Anclar al &milímetro", "Ancla el objeto seleccionado al milímetro", "Anclar mm"},
    DesignCommand{kSnapCentimetre, "Anclar al &centímetro", "Ancla el objeto seleccionado al centímetro", "Anclar cm"},
    DesignCommand{kProperties, "&Propiedades", "Despliega la ventana de propiedades", "Propiedades"},
    DesignCommand{kSelectTool, "&Seleccionar", "Herramienta de selección", "Seleccionar", -1, nullptr, "Esc"},
    DesignCommand{kDeleteElement, "&Borrar", "Elimina el objeto seleccionado", "Borrar", -1, nullptr, "Supr"},
    DesignCommand{kInsertTextlineVar, "&Línea de texto", "Inserta un control de captura de línea de texto",
                  "Captura línea de texto", kKindTextlineVar},
    DesignCommand{kInsertParrafoVar, "&Párrafo", "Inserta un control de captura de párrafo", "Captura de párrafo",
                  kKindParrafoVar},
    DesignCommand{kInsertCuadrosVar, "&Texto en cuadros", "Inserta un control de captura de texto de un cuadro por letra",
                  "Texto en cuadros", kKindCuadrosVar},
    DesignCommand{kInsertMarcaVar, "&Marca de verificación", "Inserta un control de captura de marca de verificación",
                  "Marca", kKindMarcaVar},
    DesignCommand{kInsertGrid, "&Cuadrícula", "Inserta un control de captura de retícula", "Tabla", kKindGrid},
    DesignCommand{kInsertConsText, "&Línea de texto", "Inserta una línea de texto constante", "Texto", kKindConsText},
    DesignCommand{kInsertConsParrafo, "&Párrafo", "Inserta un párrafo de texto constante", "Párrafo constante",
                  kKindConsParrafo},
    DesignCommand{kInsertLinea, "Lí&nea", "Dibuja una línea", "Línea", kKindLinea},
    DesignCommand{kInsertRectangulo, "&Rectángulo", "Dibuja un rectángulo", "Rectángulo", kKindRectangulo},
    DesignCommand{kInsertEtiqueta, "&Etiqueta", "Inserta texto no imprimible", "Etiqueta", kKindEtiqueta},
    DesignCommand{kInsertImagen, "Insertar i&magen...", "Inserta una imagen desde un archivo", "Imagen", kKindImagen},
    DesignCommand{kInsertCodigoBarras, "Código de &barras",
                  "Inserta un código de barras o QR con datos capturados o tomados de otros campos", "Código de barras",
                  kKindCodigoBarras},
    DesignCommand{kFont, "&Fuente", "Selecciona el tipo de letra", "Fuente"},
    DesignCommand{kColor, "&Color", "Selecciona el color de impresión", "Color"},
    DesignCommand{kAlignLeft, "&Izquierda", "Alínea el texto a la izquierda", "Izquierda"},
    DesignCommand{kAlignCenter, "&Centrado", "Alínea el texto al centro del área", "Centrar"},
    DesignCommand{kAlignRight, "&Derecha", "Alínea el texto a la derecha del área de impresión", "Derecha"},
    DesignCommand{kLineHorizontal, "Línea &horizontal", "Línea horizontal", "Horizontal"},
    DesignCommand{kLineVertical, "Línea &vertical", "Línea vertical", "Vertical"},
    DesignCommand{kResetCaptureScreen, "Reinicializar &pantalla de captura",
                  "Restaura las posiciones de los controles de captura a los originales en esta pantalla de diseño.",
                  nullptr},
    DesignCommand{kScanBackground, "Fondo &escaneado...",
                  "Muestra bajo el formato el formulario escaneado (PNG, JPEG o PDF); no se imprime", nullptr},
    DesignCommand{kScanFade, "&Atenuar fondo...", "Elige qué tan pálido se ve el fondo escaneado", nullptr},
    DesignCommand{kRemoveScanBackground, "&Quitar fondo", "Quita el fondo escaneado de este formato", nullptr},
};

constexpr std::array kDesignToolbar = {kNewDesign,         kOpenDesign,       kSaveDesign,      0,
                                       kSnapMillimetre,    kSnapCentimetre,   0,                kSelectTool,
                                       kDeleteElement,     kProperties,       0,                kInsertTextlineVar,
                                       kInsertParrafoVar,  kInsertCuadrosVar, kInsertMarcaVar,  kInsertGrid,
                                       kInsertCodigoBarras, 0,                kInsertConsText,  kInsertConsParrafo,
                                       kInsertLinea,       kInsertRectangulo, kInsertEtiqueta,  kInsertImagen};

constexpr std::array kFormatToolbar = {kFont, kColor, kAlignLeft, kAlignCenter, kAlignRight, kLineHorizontal, kLineVertical};

}  // namespace

std::span<const DesignCommand> DesignCommands()
{
    return kCommands;
}

const DesignCommand* FindDesignCommand(int id)
{
    for (const DesignCommand& c : kCommands)
        if (c.id == id)
            return &c;
    return nullptr;
}

std::span<const int> DesignToolbarButtons()
{
    return kDesignToolbar;
}

std::span<const int> FormatToolbarButtons()
{
    return kFormatToolbar;
}

std::optional<DesignArrange> ArrangeCommand(int id)
{
    switch (id) {
    case kAlignLefts: return DesignArrange::AlignLeft;
    case kAlignRights: return DesignArrange::AlignRight;
    case kAlignTops: return DesignArrange::AlignTop;
    case kAlignBottoms: return DesignArrange::AlignBottom;
    case kAlignCentresHorizontally: return DesignArrange::AlignCentresHorizontally;
    case kAlignCentresVertically: return DesignArrange::AlignCentresVertically;
    case kDistributeHorizontally: return DesignArrange::DistributeHorizontally;
    case kDistributeVertically: return DesignArrange::DistributeVertically;
    case kSameWidth: return DesignArrange::SameWidth;
    case kSameHeight: return DesignArrange::SameHeight;
    default: return std::nullopt;
    }
}
