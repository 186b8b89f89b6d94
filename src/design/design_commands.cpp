#include "design/design_commands.h"

#include <array>

#include "model/controles.h"
#include "platform/command_ids.h"

namespace {

using namespace CommandId;

// Texts are the program's own, misspellings included: clerks know them this way.
constexpr std::array kCommands = {
    DesignCommand{kNewDesign, "Nuevo formato", "Crea un formato nuevo", "Nuevo formato"},
    DesignCommand{kOpenDesign, "Abrir formato...", "Abre un archivo de formato para su edición", "Abrir formato"},
    DesignCommand{kSaveDesign, "Guardar formato", "Guardar el formato", "Guardar"},
    DesignCommand{kSaveDesignAs, "Guardar formato como...", "Guarda el formato con otro nombre", nullptr},
    DesignCommand{kCloseDesign, "Cerrar formato", "Cierra el formato", nullptr},
    DesignCommand{kUndo, "&Deshacer", "Deshace el último cambio del formato", nullptr},
    DesignCommand{kRedo, "&Rehacer", "Vuelve a hacer el cambio deshecho", nullptr},
    DesignCommand{kSnapMillimetre, "Anclar al &milimetro", "Ancla el objeto seleccionado al milimetro", "Anclar mm"},
    DesignCommand{kSnapCentimetre, "Anclar al &centimetro", "Ancla el objeto seleccionado al centimetro", "Anclar cm"},
    DesignCommand{kProperties, "&Propiedades", "Despliega la ventana de propiedades", "Propiedades"},
    DesignCommand{kSelectTool, "&Seleccionar", "Herramienta de selección", "Seleccionar"},
    DesignCommand{kDeleteElement, "&Borrar", "Elimina el objeto seleccionado", "Borrar"},
    DesignCommand{kInsertTextlineVar, "Linea de texto", "Inserta un control de captura de linea de texto",
                  "Captura linea de texto", kKindTextlineVar},
    DesignCommand{kInsertParrafoVar, "Parrafo", "Inserta un control de captura de parrafo", "Captura de parrafo",
                  kKindParrafoVar},
    DesignCommand{kInsertCuadrosVar, "Texto en cuadros", "Inserta un control de captura de texto de un cudro por letra",
                  "Texto en cuadros", kKindCuadrosVar},
    DesignCommand{kInsertMarcaVar, "Marca de verificación", "Inserta un control de captura de marca de verificación",
                  "Marca", kKindMarcaVar},
    DesignCommand{kInsertGrid, "Cuadricula", "Inserta un control de captura de reticula", "Tabla", kKindGrid},
    DesignCommand{kInsertConsText, "Linea de texto", "Inserta una linea de texto constante", "Texto", kKindConsText},
    DesignCommand{kInsertConsParrafo, "Parrafo", "Inserta un parrafo de texto constante", "Parrafo constante",
                  kKindConsParrafo},
    DesignCommand{kInsertLinea, "Linea", "Dibuja un linea", "Linea", kKindLinea},
    DesignCommand{kInsertRectangulo, "Rectangulo", "Dibuja un rectangulo", "Rectangulo", kKindRectangulo},
    DesignCommand{kInsertEtiqueta, "Etiqueta", "Inserta texto no imprimible", "Etiqueta", kKindEtiqueta},
    DesignCommand{kInsertImagen, "Insertar imagen...", "Inserta una imagen desde un archivo", "Imagen", kKindImagen},
    DesignCommand{kInsertCodigoBarras, "Código de barras",
                  "Inserta un código de barras o QR con datos capturados o tomados de otros campos", "Código de barras",
                  kKindCodigoBarras},
    DesignCommand{kFont, "&Fuente", "Selecciona el tipo de letra", "Fuente"},
    DesignCommand{kColor, "&Color", "Selecciona el color de impresión", "Color"},
    DesignCommand{kAlignLeft, "&Izquierda", "Alinea el texto a la izquierda", "Izquierda"},
    DesignCommand{kAlignCenter, "&Centrado", "Alinea el texto al centro del area", "Centrar"},
    DesignCommand{kAlignRight, "&Derecha", "Alinea el texto a la derecha del area de impresión", "Derecha"},
    DesignCommand{kLineHorizontal, "Linea &horizontal", "Linea horizontal", "Horizontal"},
    DesignCommand{kLineVertical, "Linea &vertical", "Linea vertical", "Vertical"},
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
