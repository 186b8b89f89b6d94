#pragma once
// The capture screen without a window: one format read for capture, its entry controls
// (made through whatever EntryFactory the caller lends: Qt widgets in the program,
// in-memory controls in ordexa-cli and the tests), the calculated fields, the
// captured-data file and the print job. The capture view, ordexa-cli and the tests all
// drive this one object, so every capture rule is written once.
//
// Values live in the entry controls only. The session never shows a message itself:
// operations that can fail return false (or a status) with one Spanish line that names
// the file and what is wrong, and the caller shows it (a message box, standard error).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/dc.h"
#include "base/entry_control.h"
#include "calc/calc_record.h"
#include "capture/capture_calc.h"
#include "capture/print_job.h"
#include "model/format_file.h"

class CFmtGrid;

// How opening a captured-data file ended.
enum class CaptureLoadStatus {
    Loaded,       // every record read; the file became the session's captured-data file
    WrongFormat,  // captured with another format: nothing changed (type message)
    Unreadable,   // the file could not be read or its header is damaged: nothing changed
    Partial,      // a record could not be read or names no field: the values before it are
                  // shown, the file did not become the captured-data file
};

// The name a captured-data file records for its format: the last part of the format's
// path after its last "\\", "/" or ":", whichever system wrote it.
std::string RecordedFormatName(const std::string& formatPath);

class CaptureSession {
public:
    // "El archivo seleccionado es del tipo %s y no del formato %s actual": the stored
    // format file name, then the current one.
    static constexpr const char* kWrongFormatMessage =
        "El archivo seleccionado es del tipo %s y no del formato %s actual";
    // The question before closing or replacing values that were never saved.
    static constexpr const char* kSaveQuestion = "¿Desea guardar los datos capturados?";

    CaptureSession();
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // --- The format ----------------------------------------------------------------
    // Reads the format at `path`. On failure the session holds no elements, keeps no
    // path and `message` names the file and the byte offset. Controls are not made yet.
    bool LoadFormat(const std::string& path, std::string& message);
    // Takes a format already read (the path gives the format's file name, which the
    // captured-data files carry).
    void AdoptFormat(Format format, const std::string& path);
    // Makes the entry control of every variable element, from the head of the list, with
    // the id 1173 + its capture order and the lent screen font; parses the calculated
    // fields; the captured-data path is forgotten and the values count as saved. Returns
    // the number of controls made. The factory must outlive the controls (the session's
    // elements); `dc` is only lent for the call.
    int BuildEntryControls(Dc& dc, EntryFactory& factory, const LogFont& screenFont);

    Format& GetFormat() { return m_format; }
    const Format& GetFormat() const { return m_format; }
    ElementList& Elements() { return m_format.elements; }
    const std::string& Title() const { return m_format.title; }
    const std::string& FormatPath() const { return m_formatPath; }
    // The last part of the format path after its last "\", "/" or ":" (extension
    // included): what a captured-data file records as its format.
    const std::string& FormatFileName() const { return m_formatFileName; }
    // Empty until a captured-data file is saved or opened completely.
    const std::string& CapturePath() const { return m_capturePath; }

    // --- Elements and controls -------------------------------------------------------
    // The element whose entry control has this id (1173 + capture order), or null.
    CControles* ElementByControlId(int controlId) const;
    // The variable element (kinds 0 to 4 and the barcode) named `name` (its m_text) without regard to
    // case: the first in capture order. Null when none is.
    CControles* FindVariable(const std::string& name) const;
    // Variable elements that have an entry control, in capture order (ids ascending):
    // the tab order of the capture screen.
    std::vector<CControles*> ControlsInCaptureOrder() const;
    // The lowest control id, where the focus starts; 0 when there is no control.
    int FirstControlId() const;

    // --- What the controls tell ----------------------------------------------------------
    // A text line's control lost the focus: recomputes every formula that depends on it,
    // rippling through chains depth first (see CaptureCalc).
    void OnFieldLeft(int controlId);
    // A table's calculated columns changed: recomputes the column totals that read it.
    void OnGridChanged(int controlId);
    // The fields whose value a calculation cannot use (a text that is no amount, an
    // amount too large for words), each with the clerk's message; empty when every
    // calculation could run.
    std::vector<CalcProblem> CalcProblems() const;

    // --- Typing without a window (ordexa-cli, tests, batch filling) ---------------------
    // Types a whole value into a variable element as a user would, then leaves the field:
    // a box edit takes no more characters than it has boxes, a line break typed into a
    // paragraph (a real one, or "\n"; "\\" is a backslash) is stored as CR LF, a check
    // mark takes "1" or "0", a text line sends the
    // field-left notification. False with a message for a table, a value that does not
    // parse or an element without control.
    bool TypeValue(CControles& element, const std::string& utf8, std::string& message);
    // Types a cell (1-based row and column) of a table element and commits it as the
    // table window does (calculated columns, then the totals that read the table).
    // False with a message when the element has no table, the cell lies outside it or
    // the table refuses the value there (a calculated column, a number that does not
    // read as one); nothing is typed then.
    bool TypeCell(CFmtGrid& grid, int row, int column, const std::string& utf8, std::string& message);

    // The values as ordexa-cli prints them, one line each, in capture order:
    // "NAME=VALUE" (check marks 1/0; a paragraph's line breaks as "\n" and a backslash as
    // "\\", so that each value stays on its line); a table gives "NAME[ROW,COL]=TEXT" for
    // each cell its window shows, rows then columns, TEXT being the cell's text form.
    std::vector<std::string> ValueLines() const;

    // "&Limpiar formato": every value emptied; the calculated fields' operands follow the
    // emptied controls.
    void Clear();

    // --- Captured-data file ------------------------------------------------------------
    // The file's bytes for the current values: the format file name, then one record per
    // element from the head of the list.
    std::vector<uint8_t> CaptureBytes() const;
    // Writes the captured-data file atomically (a failure leaves the old file as it was);
    // on success `path` becomes the captured-data path and the values count as saved.
    bool SaveCapture(const std::string& path, std::string& message);
    // Opens a captured-data file (see CaptureLoadStatus). Before loading, every value is
    // cleared, so the screen shows the file's values and nothing older; calculated
    // fields show their stored texts (nothing is recomputed), and the formulas' operands
    // follow the loaded values.
    CaptureLoadStatus LoadCapture(const std::string& path, std::string& message);
    // The file name of the format a captured-data file was captured with (its header),
    // without loading anything. False with a message naming the file when it cannot be
    // read or its header is damaged.
    static bool ReadCaptureFormatName(const std::string& path, std::string& formatFileName, std::string& message);
    // Where the format named `formatFileName` by the captured-data file `capturePath`
    // lies: beside the captured-data file, else the first of `knownFormats` (the recent
    // formats) with that file name, compared as the captured-data file's open compares
    // it (exactly). Empty when none exists.
    static std::string FindCaptureFormat(const std::string& capturePath, const std::string& formatFileName,
                                         const std::vector<std::string>& knownFormats);
    // The same from bytes already read (`fileLabel` names the file in messages).
    CaptureLoadStatus LoadCaptureBytes(const std::vector<uint8_t>& bytes, const std::string& fileLabel,
                                       std::string& message);

    // Values kept in a recovery copy, loaded as opening a captured-data file loads them;
    // then `capturePath` (the file they came from, empty for none) is the captured-data
    // path again and the values count as modified: nothing is written until the clerk
    // saves.
    CaptureLoadStatus RestoreRecoveredValues(const std::vector<uint8_t>& bytes, const std::string& capturePath,
                                             const std::string& fileLabel, std::string& message);

    // True when the values differ from those last saved or opened (after a build: from
    // the empty form). The capture screen asks kSaveQuestion before discarding them.
    bool IsModified() const;
    // The current values count as saved (after the user chose not to save, for instance).
    void MarkSaved();

    // --- Printing ----------------------------------------------------------------------
    // Prints every element from the head of the list on `sheet` (see PrintElements).
    void Print(Dc& sheet, PrintOffsets offsets) const;

    const CaptureCalc& Calc() const { return m_calc; }

    // --- Barcodes --------------------------------------------------------------------
    // Fills the entry of every barcode that takes its data from a template with the
    // template's placeholders replaced by the fields' texts as shown (typed or
    // calculated). The session does it after every change it hears of and before printing.
    void FillBarcodes() const;
    // Why the barcode with this control id cannot print its data (a Spanish sentence that
    // names the field, the data and the reason), or empty when it can or has no data.
    std::string BarcodeProblem(int controlId) const;

private:
    // The text of the variable element NAME as the clerk sees it (a check mark: its mark
    // when ticked); empty when the format has no such field.
    std::string ShownText(const std::string& name) const;
    class Fields;
    void IndexControls();
    std::string ControlText(int controlId) const;
    void SetControlText(int controlId, const std::string& text);
    double TableColumnTotal(int tableId, int column) const;

    Format m_format;
    std::string m_formatPath;
    std::string m_formatFileName;
    std::string m_capturePath;
    CaptureCalc m_calc;
    std::vector<std::pair<int, CControles*>> m_controls;  // id -> element, ids ascending
    // The captured-data bytes last saved or opened; none after a partial load, so the
    // values count as modified.
    std::optional<std::vector<uint8_t>> m_savedBytes;
};
