// Shows a table window over a few records, for looking at it on a real display:
//   tabla_wnd_demo [--select]
#include "platform/qt_locale.h"
#include "platform/qt_prompts.h"
#include "tables/tabla.h"
#include "tables/ui/tabla_wnd.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QtPrompts prompts;
    QtLocale locale;
    CTabla table(prompts, locale);
    const CKVField fields[] = {{"Clave", 0, kvInt32, kvIndexUnique | kvIndexDefault},
                               {"Concepto", 30, kvText},
                               {"Importe", 0, kvDouble},
                               {"Fecha", 0, kvDate}};
    if (!table.Create(QDir(folder.path()).filePath("demo").toStdString(), fields, true))
        return 1;
    CTablaEditor editor(prompts, locale);
    QWidget frame;
    frame.setWindowTitle("Ordexa");
    auto* layout = new QVBoxLayout(&frame);
    auto* wnd = new CTablaWnd(&frame, 1173, editor);
    layout->addWidget(wnd);
    wnd->Attach(&table);
    wnd->BuildColumns();
    wnd->SetColumnWidth(2, 180);
    wnd->SetColumnWidth(3, 110);
    wnd->SetColumnWidth(4, 100);
    wnd->Reset();
    const char* rows[][4] = {{"101", "Renta de oficina", "15000", "01/03/2024"},
                             {"102", "Papelería", "-1234.5", "05/03/2024"},
                             {"103", "Luz", "830.25", "09/03/2024"},
                             {"104", "Teléfono e internet", "-99.9", "12/03/2024"},
                             {"105", "Mantenimiento", "2500", "15/03/2024"}};
    for (const auto& r : rows) {
        for (int c = 4; c >= 1; --c)
            editor.TypeIntoCell(editor.RowCount(), c, r[c - 1], c == 1 ? TablaKey::Enter : TablaKey::F3);
    }
    editor.ToggleCurrency(3);
    editor.TypeIntoCell(editor.RowCount(), 2, "nuevo", TablaKey::F3);
    if (argc > 1 && QString(argv[1]) == "--select")
        editor.SelectRows(2, 3);
    editor.MoveCursor(1, 2);
    wnd->Reset();
    editor.MoveCursor(4, 2);
    if (argc > 1 && QString(argv[1]) == "--select")
        editor.SelectRows(2, 3);
    frame.resize(560, 260);
    frame.show();
    frame.activateWindow();
    wnd->setFocus();
    return app.exec();
}
