#pragma once
// What the capture tests share: formats built in memory (an invoice whose total is
// reached by two paths, chains and cycles of formulas), and a session over in-memory
// controls with scripted prompts and the Spanish (Mexico) locale.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/prompts.h"
#include "base/recording_dc.h"
#include "capture/capture_session.h"
#include "model/element_factory.h"
#include "model/fmt_grid.h"
#include "model/marca_var.h"
#include "model/textline_var.h"
#include "base/fixed_locale.h"

inline std::unique_ptr<CControles> Variable(int32_t kind, const std::string& name, int order, int x = 100,
                                            int y = -100)
{
    auto element = CreateElementAt(kind, x, y);
    element->m_text = name;
    element->m_order = order;
    return element;
}

inline std::unique_ptr<CControles> Line(const std::string& name, int order, const std::string& formula = "",
                                        int x = 100, int y = -100)
{
    auto element = Variable(kKindTextlineVar, name, order, x, y);
    static_cast<CTextlineVar&>(*element).m_formula = formula;
    return element;
}

// Detalle: Cantidad, Descripcion, Precio, Importe = C1*C3 (three rows).
inline std::unique_ptr<CControles> InvoiceLines(int order)
{
    std::unique_ptr<CControles> element = CFmtGrid::CreateAt(100, -600);
    auto& grid = static_cast<CFmtGrid&>(*element);
    grid.m_text = "Detalle";
    grid.m_order = order;
    grid.SetRowCount(3);
    grid.m_columns[0].title = "Cantidad";
    grid.m_columns[0].type = kGridNumber;
    grid.m_columns[1].title = "Descripcion";
    grid.m_columns[2].title = "Precio";
    grid.m_columns[2].type = kGridNumber;
    grid.m_columns[3].title = "Importe";
    grid.m_columns[3].type = kGridNumberCalc;
    grid.m_columns[3].formula = "C1*C3";
    return element;
}

// The invoice's calculated lines. The list runs in the order given (head first), so the
// two orders of IMPUESTO and TOTAL exercise both ways a diamond can be walked.
inline Format InvoiceFormat(bool totalBeforeTax)
{
    Format format;
    format.title = "Factura";
    auto& list = format.elements;
    list.push_back(InvoiceLines(1));
    list.push_back(Line("Subtotal", 2, "DETALLE&IMPORTE"));
    if (totalBeforeTax) {
        list.push_back(Line("Total", 4, "SUBTOTAL+IMPUESTO"));
        list.push_back(Line("Impuesto", 3, "SUBTOTAL*0.16"));
    } else {
        list.push_back(Line("Impuesto", 3, "SUBTOTAL*0.16"));
        list.push_back(Line("Total", 4, "SUBTOTAL+IMPUESTO"));
    }
    list.push_back(Line("Letra", 5, "$TOTAL"));
    list.push_back(Variable(kKindMarcaVar, "Pagada", 6));
    list.push_back(Variable(kKindParrafoVar, "Notas", 7));
    list.push_back(Variable(kKindCuadrosVar, "RFC", 8));
    list.push_back(CreateElementAt(kKindConsText, 100, -50));
    return format;
}

struct CaptureFixture {
    ScriptedPrompts prompts;
    FixedLocale locale;
    MemoryEntryFactory factory;
    RecordingDc dc;
    CaptureSession session;

    CaptureFixture() { factory.SetTableServices(prompts, locale); }

    void Open(Format format, const std::string& path = "/tmp/Factura.fmt")
    {
        session.AdoptFormat(std::move(format), path);
        session.BuildEntryControls(dc, factory, LogFont{});
    }

    CControles& Field(const std::string& name)
    {
        CControles* element = session.FindVariable(name);
        EXPECT_NE(element, nullptr) << name;
        return *element;
    }
    std::string Text(const std::string& name)
    {
        CControles& element = Field(name);
        return static_cast<CTextValueElement&>(element).m_pControl->Text();
    }
    void Type(const std::string& name, const std::string& value)
    {
        std::string message;
        EXPECT_TRUE(session.TypeValue(Field(name), value, message)) << name << ": " << message;
    }
    void TypeCell(const std::string& name, int row, int column, const std::string& value)
    {
        std::string message;
        EXPECT_TRUE(session.TypeCell(static_cast<CFmtGrid&>(Field(name)), row, column, value, message)) << message;
    }
};
