// Writes pictures of the properties panel (a table element with a column selected) and
// of the two rulers with a marker, for looking at them: design_panel_demo OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QPixmap>

#include "base/prompts.h"
#include "design/properties_panel_bar.h"
#include "design/ruler_corner_view.h"
#include "design/rules.h"
#include "model/element_factory.h"
#include "model/fmt_grid.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    Format format;
    format.title = "Factura";
    format.elements.push_front(CreateElementAt(kKindGrid, 200, -400));
    auto* grid = static_cast<CFmtGrid*>(format.elements.front().get());
    grid->m_selColumn = 2;
    grid->m_columns[2].title = "Importe";
    grid->m_columns[2].type = kGridCurrencyCalc;
    grid->m_columns[2].formula = "C1*C2";
    ScriptedPrompts prompts;
    QMainWindow frame;
    frame.resize(700, 500);
    frame.show();
    CPropertiesBar bar(format, prompts, &frame);
    bar.ShowFor(grid);
    app.processEvents();
    bar.grab().save(out.filePath("panel_column.png"));
    grid->m_selColumn = -1;
    bar.ShowFor(grid);
    app.processEvents();
    bar.grab().save(out.filePath("panel_table.png"));
    bar.ShowFor(nullptr);
    app.processEvents();
    bar.grab().save(out.filePath("panel_title.png"));

    QWidget rulers;
    rulers.resize(616, 316);
    auto* corner = new CRulerCornerView(&rulers);
    corner->move(0, 0);
    auto* h = new CRules(&rulers);
    h->setGeometry(16, 0, 600, 16);
    auto* v = new CRules(&rulers);
    v->SetOrientation(CRules::kVertical);
    v->setGeometry(0, 16, 16, 300);
    rulers.show();
    app.processEvents();
    h->UpdateRuler(CRules::kCodePointerX, 1230);
    h->UpdateRuler(CRules::kCodePointerX, 1234);
    v->UpdateRuler(CRules::kCodePointerY, -456);
    rulers.grab().save(out.filePath("rulers.png"));
    rulers.grab(QRect(0, 0, 200, 120)).scaled(800, 480).save(out.filePath("rulers_zoom.png"));
    return 0;
}
