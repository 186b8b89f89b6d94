#pragma once
// CPropertiesPanel: the properties panel of the format design frame. It shows what the
// selected element is, where it lies and how wide it is, and edits the element's name or
// text, the boxes of a boxed text, the mark of a check mark, the calculation of a
// variable text line, and the columns, rows and column types of a table element. With
// nothing selected it edits the format's title. With a design document it also shows and
// takes the measures in millimetres and the letter, colour and alignment of the selection;
// with several selected, what they have in common. It lives in a CPropertiesBar.
//
// Wiring by the frame:
//  - Refresh(selection) after every press in the view, every drag step, insertion,
//    deletion, undo or redo and file read, so the panel always describes the current
//    selection. Refresh(nullptr) shows the format's title.
//  - aboutToChange() comes right before the panel changes the format (an element or the
//    title): record an undo snapshot then. Exactly one of changed() (the format changed:
//    repaint the page, mark the frame modified) or changeAbandoned() (the commit changed
//    nothing after all, for instance a refused count: drop that snapshot) follows it.
//  - closeRequested(): the panel's "Cerrar" button; the bar hides itself on it.
//  - colourRequested(): the "Color..." button; the frame runs its colour command.
//
// Edits are committed when an edit box loses the keyboard focus, when the column type
// list changes or when "Campo calculado" is clicked. A value that is not a whole number
// (or a mark longer than one character) is refused with a message through the prompts,
// and the box gets the focus back; the rest of the commit goes ahead with the values the
// panel held before.
//
// The panel lends the format and the selected element from the frame and owns neither.
// An edit still pending when the selection changes is committed first, to the element it
// was typed for, as long as that element is still in the format.
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "model/format_file.h"

class DesignDocument;
class Prompts;
class CControles;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CPropertiesPanel : public QWidget {
    Q_OBJECT
public:
    // Identifiers of the panel's controls (the objectName of each is "ctl<id>").
    enum ControlId : int {
        kIdKindName = 1000,     // kind name (read only)
        kIdPosition = 1002,     // position (read only)
        kIdWidth = 1003,        // width (read only)
        kIdName = 1005,         // name or text of the element
        kIdEnterSink = 1007,    // absorbs the Enter key
        kIdFirstNumber = 1008,  // box count, or column count
        kIdSecondNumber = 1009, // box width, or row count
        kIdFirstLabel = 1010,
        kIdMark = 1011,         // mark character
        kIdSecondLabel = 1012,
        kIdClose = 1013,        // "Cerrar"
        kIdNameCaption = 1014,  // "Nombre:"
        kIdText = 1015,         // text of a constant paragraph, or the format's title
        kIdColumnType = 1018,   // data type of the selected column
        kIdThirdLabel = 1023,
        kIdGap = 1024,          // gap between boxes
        kIdFormula = 1025,      // calculation text, upper case
        kIdCalculated = 1026,   // "Campo calculado"
        // Barcodes and images.
        kIdMedia = 1030,        // the group of the controls below
        kIdSymbology = 1031,    // symbology list
        kIdQrLevel = 1032,      // QR error-correction level
        kIdTemplate = 1033,     // data template with {NAME} placeholders
        kIdModuleSize = 1034,   // module size in mm, 0 to fill the rectangle
        kIdQuietZone = 1035,    // quiet zone in modules
        kIdShowText = 1036,     // "Imprimir el texto"
        kIdKeepAspect = 1037,   // "Conservar proporción"
        // The letter, colour and alignment of the selection (what several share).
        kIdStyle = 1040,        // the group of the controls below
        kIdFace = 1041,         // font family
        kIdPoints = 1042,       // size in points
        kIdBold = 1043,
        kIdItalic = 1044,
        kIdUnderline = 1045,
        kIdColour = 1046,       // "Color..." (the frame's colour command)
        kIdAlign = 1047,        // text alignment list
        // The measures typed in millimetres, and the hint shown with nothing selected.
        kIdMeasureX = 2001,
        kIdMeasureY = 2002,
        kIdMeasureWidth = 2003,
        kIdMeasureHeight = 2004,
        kIdMeasureCaption = 2005,
        kIdHint = 2010,
    };
    static constexpr const char* kMsgUnknownField = "La plantilla nombra el campo \"%1\", que el formato no tiene.";
    static constexpr const char* kMsgTemplateTooLong = "La plantilla no puede pasar de 4000 caracteres.";
    static constexpr const char* kMsgModuleSize = "Escriba el tamaño del módulo en milímetros, de 0 a 10 (0 llena el rectángulo).";
    static constexpr const char* kMsgQuietZone = "Escriba la zona de silencio en módulos, de 0 a 50.";
    static constexpr const char* kMsgPoints = "Escriba el tamaño de la letra en puntos, de 1 a 200 (por ejemplo 10.5).";
    // Shown in a box or list whose value differs among the selected elements.
    static constexpr const char* kMixed = "varios";
    static constexpr std::array<const char*, 3> kAlignNames = {"Izquierda", "Centro", "Derecha"};
    static constexpr std::array<int, 4> kMeasureIds = {kIdMeasureX, kIdMeasureY, kIdMeasureWidth, kIdMeasureHeight};
    static constexpr const char* kMsgNotMeasure = "Introduzca una medida en milímetros, por ejemplo 25.4.";
    // %1 and %2 are the least and the greatest measure, in millimetres.
    static constexpr const char* kMsgMeasureRange = "La medida debe estar entre %1 y %2 mm.";
    static constexpr const char* kHint =
        "Ningún control seleccionado. Haga clic en un control de la página para ver y cambiar sus propiedades; "
        "aquí abajo puede escribir el título del formato.";

    static constexpr const char* kMsgNotInteger = "Introduzca un número entero.";
    static constexpr const char* kMsgNotPositive = "Introduzca un número entero mayor que cero.";
    static constexpr const char* kMsgNotNegative = "Introduzca un número entero igual o mayor que cero.";
    // %1 is the character limit.
    static constexpr const char* kMsgTooManyChars = "No introduzca más de %1 caracteres.";
    static constexpr int kMarkMaxChars = 1;

    // The column data types in the list's order; an item's index is the type number.
    static constexpr std::array<const char*, 5> kColumnTypeNames = {"Texto", "Número", "Número calculado",
                                                                     "Moneda", "Moneda calculada"};
    // Order in which values are taken from the boxes; a refusal stops the exchange there.
    static constexpr std::array<int, 7> kExchangeOrder = {kIdName, kIdFirstNumber, kIdMark, kIdSecondNumber,
                                                          kIdText, kIdGap, kIdFormula};

    // `format` and `prompts` are lent by the design frame and outlive the panel. The panel
    // starts showing the format's title (nothing selected).
    CPropertiesPanel(Format& format, Prompts& prompts, QWidget* parent = nullptr);
    ~CPropertiesPanel() override;

    // Shows `element` (or the title with nullptr) after committing an edit still pending
    // for the element shown before. `element` must belong to the format.
    void Refresh(CControles* element);
    // The element shown; nullptr while the title is shown (or several are).
    CControles* Element() const { return m_element; }
    // The design document whose selection the panel shows: with it the panel also shows
    // and takes the measures in millimetres, and what several selected have in common.
    void SetDocument(DesignDocument* document) { m_document = document; }
    bool HasDocument() const { return m_document != nullptr; }
    // Shows the document's selection: one element, the title, or several.
    void RefreshSelection();
    bool ShowsSeveral() const { return m_several; }
    // Commits the edit of the focused box if its text differs from what the panel last
    // put there; nothing otherwise.
    void CommitPendingEdit();

    // The control with an identifier above (nullptr for an unknown one).
    QWidget* Control(int id) const;

signals:
    void aboutToChange();
    void changed();
    void changeAbandoned();
    void closeRequested();
    // "Color...": the frame asks for the colour and gives it to every selected element.
    void colourRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Builds the controls and their layout (properties_panel_controls.cpp).
    void BuildControls();
    // The barcode and image controls (properties_panel_media.cpp): built once, shown for
    // those kinds, each committed as soon as it is changed or left.
    QWidget* BuildMediaControls();
    void ShowMedia();
    void CommitMedia(int id);
    // Whether every placeholder of `tpl` names a field of the format; the message when not.
    bool TemplateFieldsExist(const std::string& tpl, std::string& message) const;
    void SetShown(int id, bool shown);
    void ShowByKind();
    void MoveValuesToControls();
    // Moves the values from the shown controls into the panel in the exchange order;
    // stops at the first refused one and returns its id (0 when every value was taken).
    int MoveValuesFromControls();
    void RefuseValue(int id, const std::string& message);
    bool IsPending(int id) const;
    // Runs the commit of one control, announcing and reporting the change.
    void Commit(int id);
    // Announces a change, applies it and reports whether it changed the format.
    void Announced(const std::function<void()>& apply);
    // The position and width lines of the element shown.
    void ShowPlace();
    void ApplyCommit(int id);
    // False for a commit that cannot touch the format (the name box with nothing shown,
    // the large box of an element that is not a paragraph...).
    bool MayChange(int id) const;
    void ColumnTypeChosen(int index);
    // The letter, colour and alignment controls (properties_panel_style.cpp): what the
    // selected elements share, each change applied to all of them as one step.
    QWidget* BuildStyleControls();
    void ShowStyle();
    void CommitStyle(int id);
    // Several of one kind: the boxed texts' counts, widths and gaps, the check marks'
    // character, each applied to all of them.
    void ShowShared(int kind);
    void CommitSeveral(int id);
    void ShowMeasures();
    void CommitMeasure(int id);
    void CalculatedClicked();
    bool ElementInFormat(const CControles* element) const;
    std::string ChangeFingerprint() const;

    Format& m_format;
    Prompts& m_prompts;
    DesignDocument* m_document = nullptr;
    CControles* m_element = nullptr;
    bool m_several = false;

    // The values behind the controls.
    std::string m_kindName, m_name, m_position, m_widthText, m_firstLabel, m_mark, m_secondLabel,
        m_text, m_thirdLabel, m_formula;
    int m_firstNumber = 0, m_secondNumber = 0, m_gap = 0;

    // What the panel last put into each edit box, to tell a pending edit.
    std::map<int, QString> m_shownText;
    std::map<int, QWidget*> m_controls;
    std::vector<QLabel*> m_measureLabels;
    bool m_committing = false;
    bool m_refusalPending = false;
};
