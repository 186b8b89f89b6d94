#include "fmtcapture_view.h"

#include <QPainter>
#include <algorithm>
#include <map>

#include "calc_edit.h"
#include "grid_entry_factory.h"
#include "format_render.h"
#include "qt_dc.h"

CCaptureForm::CCaptureForm(Format& format, const LogFont& screenFont, QWidget* parent)
    : QWidget(parent), m_format(format), m_screenFont(screenFont)
{
    setAutoFillBackground(true);
}

void CCaptureForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QtDc dc(painter, logicalDpiX());
    dc.SetMapMode(MapMode::Pixels);
    dc.SetBkTransparent(true);
    dc.SelectFont(m_screenFont);
    for (auto& element : m_format.elements) {
        element->m_screenFont = &m_screenFont;
        // A label shows its own text; every other element its caption (constants none).
        if (element->m_kind == kKindEtiqueta)
            element->DrawScreen(dc, false);
        else
            element->DrawCaption(dc);
        element->m_screenFont = nullptr;
    }
}

CFmtcaptureView::CFmtcaptureView(QWidget* parent)
    : QScrollArea(parent), m_screenFont(CaptureScreenFont())
{
    m_form = new CCaptureForm(m_format, m_screenFont);
    m_factory = new CGridEntryFactory(m_form);
    setWidget(m_form);
    setBackgroundRole(QPalette::Button);
}

CFmtcaptureView::~CFmtcaptureView()
{
    // The elements own their controls, which are children of the form: let the elements
    // go first so that no widget is deleted twice.
    m_format.elements.clear();
}

void CFmtcaptureView::SetPath(const std::string& path)
{
    m_path = path;
    const size_t cut = path.find_last_of("\\/:");
    m_fileName = cut == std::string::npos ? path : path.substr(cut + 1);
}

void CFmtcaptureView::ShowFormat()
{
    const Rect& extent = m_format.screenExtent;
    m_form->setFixedSize(std::max(1, extent.right - extent.left), std::max(1, extent.bottom - extent.top));
    BuildEntryControls();
    m_form->update();
}

void CFmtcaptureView::BuildEntryControls()
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QtDc dc(painter, logicalDpiX());
    dc.SetMapMode(MapMode::Pixels);
    for (auto& element : m_format.elements)
        element->CreateEntryControl(dc, *m_factory, kFirstControlId + element->m_order, m_screenFont);
    // The tab order is the capture order: control ids ascending.
    std::map<int, QWidget*> byId;
    for (QWidget* w : m_form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (const int id = EntryControlId(w))
            byId.emplace(id, w);
    QWidget* previous = nullptr;
    for (const auto& [id, widget] : byId) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    if (!byId.empty())
        byId.begin()->second->setFocus();
}

QWidget* CFmtcaptureView::ControlWidget(int controlId) const
{
    for (QWidget* w : m_form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (EntryControlId(w) == controlId)
            return w;
    return nullptr;
}
