#pragma once
// The table window: a table shown as a spreadsheet, drawn entirely by the program into an
// off-screen bitmap that is then copied to the widget. A header row of raised cells with
// the column titles, a raised row-header column, one line per record and the new record
// line, a cell cursor with a framed marker, both scroll bars, column resizing in the
// header, row selection in the row-header column, a cell edit and two context menus.
//
// Every rule of editing, appending, deleting and sorting lives in CTablaEditor; this
// widget turns mouse and keys into its calls and paints what it gives. A variant (the
// grid's window) overrides the virtual hooks below.
#include "tables/table_editor.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

class QLineEdit;
class QScrollBar;
class QFrame;
class QMenu;
class QPainter;
class QPrinter;
class Locale;
class Prompts;

class CTablaWnd : public QWidget {
    Q_OBJECT
public:
    // Control ids of the child windows and command ids of the context menus.
    static constexpr int kIdVScroll = 1138;
    static constexpr int kIdHScroll = 1139;
    static constexpr int kIdEdit = 1140;
    static constexpr int kIdMarker = 1141;
    static constexpr int kCmdSort = 1143;
    static constexpr int kCmdCurrency = 1144;
    static constexpr int kCmdAlignLeft = 1145;
    static constexpr int kCmdAlignRight = 1146;
    static constexpr int kCmdAlignCenter = 1147;
    static constexpr int kCmdColumnTitle = 1148;
    static constexpr int kCmdExport = 1149;
    static constexpr int kCmdPrint = 1150;

    static constexpr const char* kMenuSort = "Ordenar por esta columna";
    static constexpr const char* kMenuCurrency = "Formato de moneda";
    static constexpr const char* kMenuNoFormat = "Sin formato";
    static constexpr const char* kMenuAlignLeft = "Alinear Izquierda";
    static constexpr const char* kMenuAlignRight = "Alinear Derecha";
    static constexpr const char* kMenuAlignCenter = "Alinear Centrado";
    static constexpr const char* kMenuColumnTitle = "Rótulo de Columna";
    static constexpr const char* kMenuExport = "Exportar tabla";
    static constexpr const char* kMenuPrint = "Imprimir tabla";

    static constexpr int kRowHeight = 20;
    static constexpr int kHeaderHeight = 20;
    static constexpr int kCellPadding = 3;
    static constexpr int kResizeGrip = 2;
    static constexpr int kMinColumnWidth = 4;

    // A window with its own editor; messages go to message boxes over the window and the
    // currency text follows the user's locale.
    CTablaWnd(QWidget* parent, int controlId);
    // A window over an editor someone else owns (the grid element keeps its editor, with
    // its table and calculated columns, also when no window is shown). The window's own
    // messages (a printer that does not start, an export) go to `prompts`, or to message
    // boxes over the window when none is given.
    CTablaWnd(QWidget* parent, int controlId, CTablaEditor& editor, Prompts* prompts = nullptr);
    ~CTablaWnd() override;

    // `Create`: placed over a rectangle of the parent, shown, with a tab stop.
    void Create(const QRect& rect);

    CTablaEditor& Editor() { return *m_editor; }
    const CTablaEditor& Editor() const { return *m_editor; }
    int ControlId() const { return m_controlId; }

    // The window's forms of the editor's operations: each repaints and updates the
    // scroll bars.
    bool Attach(CTabla* table);
    void Detach();
    void BuildColumns();
    void RemoveColumn(int n);
    void SetColumnWidth(int n, int pixels);
    void SetColumnAlign(int n, int code);
    void Reset();

    // Runs a context-menu command on a column (the current one for 0).
    void RunCommand(int commandId, int col = 0);
    // "Exportar tabla" and "Imprimir tabla" with their dialogs.
    virtual void ExportTable();
    virtual void PrintTable();
    // Prints the table on a printer already set up (the print command after its dialog,
    // and tests on a PDF printer). Returns the pages printed; a printer that does not start
    // is reported and gives 0.
    int PrintTableTo(QPrinter& printer);

    // The cell edit while it is open, for tests and the grid's window.
    QLineEdit* CellEdit() const { return m_edit; }
    QRect CellRectPx(int row, int col) const;
    // The bitmap the last paint drew, for tests and screenshots.
    const QImage& Bitmap() const { return m_bitmap; }
    // The part of the window the cells are drawn in: the window less the scroll bars that
    // are shown. A scroll bar is shown only when the rows or the columns do not fit.
    QRect GridRect() const;
    // The last row the window shows: the new record line, unless nothing can ever be
    // appended (then typing there would keep nothing, so it is not offered).
    int LastShownRow() const;
    // The width and height the window needs to show every column and every row whole.
    QSize ContentSize() const;
    // The vertical bar's width and the horizontal bar's height, shown or not.
    QSize ScrollBarSize() const;
    // Paints into the off-screen bitmap now (the paint event does this too).
    void Render();

signals:
    // A cell changed by a committed edit (record 0: the new record line).
    void cellCommitted(int record, int col);
    // Something in the table changed other than by the edited cell (calculated columns);
    // the capture screen recomputes what depends on this window.
    void gridChanged(int controlId);

protected:
    // Ends the open edit with a key: the editor commits and carries out the key. The grid's
    // window commits its own way here.
    virtual void EndCellEdit(TablaKey key);
    // After a committed cell changed; emits cellCommitted.
    virtual void CellCommitted(int record, int col);
    virtual void ShowColumnMenu(int col, const QPoint& globalPos);
    virtual void ShowCornerMenu(const QPoint& globalPos);
    // Draws one data cell; the variant may draw calculated cells differently.
    virtual void DrawCell(QPainter& p, const QRect& cell, int row, int col, bool selected);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

    // Opens the cell edit on the cursor cell, with the typed character or (null) the
    // cell's text. The grid's window refuses calculated columns here.
    virtual void StartEdit(const QString* typed);
    Prompts& WindowPrompts() { return *m_prompts; }
    void UpdateScrollBars();
    void PlaceMarker();
    void AfterMove();
    int ColumnAtX(int x) const;
    int RowAtY(int y) const;
    // The column whose right edge lies within the grip of x in the header, or 0.
    int ResizeColumnAt(int x) const;
    void ComputeRightEdges() const;

private:
    enum class MouseState { Idle, ResizingColumn, SelectingRows };

    void Init();
    // Shows a scroll bar only where the content does not fit, and places both.
    void LayoutScrollBars();
    // Keeps the view from scrolling past what fills it: no column scrolled out of view
    // while the columns after it would leave blank space, and (without a new record line)
    // the cursor and the first row within the rows shown.
    void ClampView();
    int MaxFirstCol() const;
    void DrawRaised(QPainter& p, const QRect& r, bool pressed) const;
    void BeginColumnResize(int col, int x);
    void ResizeStep(int x);
    void BeginRowSelect(int row);
    void RowSelectStep(int row);
    void MoveFocusToNext(bool next);

    std::unique_ptr<Prompts> m_ownPrompts;
    Prompts* m_prompts = nullptr;
    std::unique_ptr<Locale> m_ownLocale;
    std::unique_ptr<CTablaEditor> m_ownEditor;
    CTablaEditor* m_editor = nullptr;
    int m_controlId = 0;
    QScrollBar* m_vScroll = nullptr;
    QScrollBar* m_hScroll = nullptr;
    QLineEdit* m_edit = nullptr;
    QFrame* m_marker = nullptr;
    QImage m_bitmap;
    MouseState m_mouse = MouseState::Idle;
    int m_resizeCol = 0;
    int m_resizeStartX = 0;
    int m_resizeStartWidth = 0;
    int m_selAnchor = 0;
    bool m_syncingScroll = false;
    bool m_showVScroll = false;
    bool m_showHScroll = false;
};
