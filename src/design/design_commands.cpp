#include "design/design_commands.h"

#include <array>

#include "model/controles.h"
#include "platform/command_ids.h"

namespace {

using namespace CommandId;

// Menu texts, status-bar prompts and tool tips of the design commands.
constexpr std::array kCommands = {
    DesignCommand{kNewDesign, "Nuevo formato", "Crea un formato nuevo", "Nuevo formato"},
    DesignCommand{kOpenDesign, "Abrir formato...", "Abre un archivo de formato para su edición", "Abrir formato"},
    DesignCommand{kSaveDesign, "Guardar formato", "Guardar el formato", "Guardar"},
    DesignCommand{kSaveDesignAs, "Guardar formato como...", "Guarda el formato con otro nombre", nullptr},
    DesignCommand{kCloseDesign, "Cerrar formato", "Cierra el formato", nullptr},
    DesignCommand{kUndo, "&Deshacer", "Deshace el último cambio del formato", nullptr},
    DesignCommand{kRedo, "&Rehacer", "Vuelve a hacer el cambio deshecho", nullptr},
    DesignCommand{kSnapMillimetre, "Anclar al &milímetro", "Ancla el objeto seleccionado al milímetro", "Anclar mm"},
    DesignCommand{kSnapCentimetre, "Anclar al &centímetro", "Ancla el objeto seleccionado al centímetro", "Anclar cm"},
    DesignCommand{kProperties, "&Propiedades", "Despliega la ventana de propiedades", "Propiedades"},
    DesignCommand{kSelectTool, "&Seleccionar", "Herramienta de selección", "Seleccionar"},
    DesignCommand{kDeleteElement, "&Borrar", "Elimina el objeto seleccionado", "Borrar"},
    DesignCommand{kInsertTextlineVar, "Línea de texto", "Inserta un control de captura de línea de texto",
                  "Captura línea de texto", kKindTextlineVar},
    DesignCommand{kInsertParrafoVar, "Párrafo", "Inserta un control de captura de párrafo", "Captura de párrafo",
                  kKindParrafoVar},
    DesignCommand{kInsertCuadrosVar, "Texto en cuadros", "Inserta un control de captura de texto de un cuadro por letra",
                  "Texto en cuadros", kKindCuadrosVar},
    DesignCommand{kInsertMarcaVar, "Marca de verificación", "Inserta un control de captura de marca de verificación",
                  "Marca", kKindMarcaVar},
    DesignCommand{kInsertGrid, "Cuadrícula", "Inserta un control de captura de retícula", "Tabla", kKindGrid},
    DesignCommand{kInsertConsText, "Línea de texto", "Inserta una línea de texto constante", "Texto", kKindConsText},
    DesignCommand{kInsertConsParrafo, "Párrafo", "Inserta un párrafo de texto constante", "Párrafo constante",
                  kKindConsParrafo},
    DesignCommand{kInsertLinea, "Línea", "Dibuja una línea", "Línea", kKindLinea},
    DesignCommand{kInsertRectangulo, "Rectángulo", "Dibuja un rectángulo", "Rectángulo", kKindRectangulo},
    DesignCommand{kInsertEtiqueta, "Etiqueta", "Inserta texto no imprimible", "Etiqueta", kKindEtiqueta},
    DesignCommand{kFont, "&Fuente", "Selecciona el tipo de letra", "Fuente"},
    DesignCommand{kColor, "&Color", "Selecciona el color de impresión", "Color"},
    DesignCommand{kAlignLeft, "&Izquierda", "Alinea el texto a la izquierda", "Izquierda"},
    DesignCommand{kAlignCenter, "&Centrado", "Alinea el texto al centro del área", "Centrar"},
    DesignCommand{kAlignRight, "&Derecha", "Alinea el texto a la derecha del área de impresión", "Derecha"},
    DesignCommand{kLineHorizontal, "Línea &horizontal", "Línea horizontal", "Horizontal"},
    DesignCommand{kLineVertical, "Línea &vertical", "Línea vertical", "Vertical"},
    DesignCommand{kResetCaptureScreen, "Reinicializar pantalla de captura",
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
                                       0,                  kInsertConsText,   kInsertConsParrafo, kInsertLinea,
                                       kInsertRectangulo,  kInsertEtiqueta};

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
