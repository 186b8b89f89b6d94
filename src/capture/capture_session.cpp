#include "capture/capture_session.h"

#include "base/upper_case.h"

#include <algorithm>
#include <filesystem>

#include "base/archive.h"
#include "base/atomic_file.h"
#include "base/cp1252.h"
#include "base/file_messages.h"
#include "base/text_layout.h"
#include "model/barcode_template.h"
#include "model/codigo_barras.h"
#include "model/cuadros_var.h"
#include "model/fmt_grid.h"
#include "model/grid_capture.h"
#include "model/marca_var.h"
#include "model/text_value_element.h"

namespace {

// What a captured-data file is called in the damaged-file message.
constexpr const char* kCaptureFileKind = "una captura de Ordexa";

// `pattern` with each "%s" replaced by the next argument.
std::string Fill(const std::string& pattern, std::initializer_list<std::string> args)
{
    std::string out;
    auto arg = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && arg != args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsCaptureKind(int32_t kind)
{
    return (kind >= kKindTextlineVar && kind <= kKindGrid) || kind == kKindCodigoBarras;
}

TextEntry* TextControl(const CControles& element)
{
    if (element.m_kind != kKindTextlineVar && element.m_kind != kKindParrafoVar && element.m_kind != kKindCuadrosVar &&
        element.m_kind != kKindCodigoBarras)
        return nullptr;
    return static_cast<const CTextValueElement&>(element).m_pControl.get();
}

CheckEntry* CheckControl(const CControles& element)
{
    return element.m_kind == kKindMarcaVar ? static_cast<const CMarcaVar&>(element).m_pControl.get() : nullptr;
}

bool HasControl(const CControles& element)
{
    if (element.m_kind == kKindGrid)
        return static_cast<const CFmtGrid&>(element).TableWindow() != nullptr;
    return TextControl(element) || CheckControl(element);
}

// A paragraph's value on one line: line breaks as \n, a backslash as \\.
std::string EscapeParagraph(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            out += "\\\\";
        } else if (text[i] == '\r' || text[i] == '\n') {
            out += "\\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// A typed paragraph value: \n, a real line break (LF or CR LF) each become the CR LF the
// paragraph stores; \\ is a backslash.
std::string UnescapeParagraph(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[i + 1] == 'n' ? "\r\n" : "\\";
            ++i;
        } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\r\n";
            ++i;
        } else if (text[i] == '\n' || text[i] == '\r') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string RecordedFormatName(const std::string& formatPath)
{
    const size_t cut = formatPath.find_last_of("\\/:");
    return cut == std::string::npos ? formatPath : formatPath.substr(cut + 1);
}

// The session's controls as the calculation reads and writes them.
class CaptureSession::Fields : public CalcFields {
public:
    explicit Fields(CaptureSession& session) : m_session(session) {}
    std::string FieldText(int controlId) const override { return m_session.ControlText(controlId); }
    void SetFieldText(int controlId, const std::string& utf8) override { m_session.SetControlText(controlId, utf8); }
    double ColumnTotal(int tableId, int column) const override { return m_session.TableColumnTotal(tableId, column); }

private:
    CaptureSession& m_session;
};

CaptureSession::CaptureSession() = default;

CaptureSession::~CaptureSession()
{
    // The controls go with their elements, before anything they were made from.
    m_format.elements.clear();
}

bool CaptureSession::LoadFormat(const std::string& path, std::string& message)
{
    Format format;
    if (!LoadFormatFile(path, format, message)) {
        AdoptFormat(Format{}, std::string());
        return false;
    }
    AdoptFormat(std::move(format), path);
    return true;
}

void CaptureSession::AdoptFormat(Format format, const std::string& path)
{
    m_controls.clear();
    m_calc.Reset();
    m_format.elements.clear();
    m_format = std::move(format);
    m_formatPath = path;
    m_formatFileName = RecordedFormatName(path);
    m_capturePath.clear();
    m_savedBytes.reset();
}

int CaptureSession::BuildEntryControls(Dc& dc, EntryFactory& factory, const LogFont& screenFont)
{
    // In-memory tables tell this session when their calculated columns change, as the
    // capture screen's table windows do through their signal.
    if (auto* memory = dynamic_cast<MemoryEntryFactory*>(&factory))
        memory->SetGridChangedListener([this](int controlId) { OnGridChanged(controlId); });
    int made = 0;
    for (auto& element : m_format.elements)
        made += element->CreateEntryControl(dc, factory, kFirstControlId + element->m_order, screenFont);
    IndexControls();
    m_calc.Build(m_format.elements);
    FillBarcodes();
    m_capturePath.clear();
    m_savedBytes = CaptureBytes();
    return made;
}

void CaptureSession::IndexControls()
{
    m_controls.clear();
    for (auto& element : m_format.elements)
        if (HasControl(*element))
            m_controls.emplace_back(kFirstControlId + element->m_order, element.get());
    // Ids ascending; of two elements with one id (a damaged file) the one nearer the head
    // of the list answers, as a search of the list from its head would.
    std::stable_sort(m_controls.begin(), m_controls.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

CControles* CaptureSession::ElementByControlId(int controlId) const
{
    const auto it = std::lower_bound(m_controls.begin(), m_controls.end(), controlId,
                                     [](const auto& entry, int id) { return entry.first < id; });
    return it != m_controls.end() && it->first == controlId ? it->second : nullptr;
}

CControles* CaptureSession::FindVariable(const std::string& name) const
{
    const std::string folded = UpperCaseLatin1(name);
    CControles* found = nullptr;
    for (const auto& element : m_format.elements) {
        if (!IsCaptureKind(element->m_kind) || UpperCaseLatin1(element->m_text) != folded)
            continue;
        if (!found || element->m_order < found->m_order)
            found = element.get();
    }
    return found;
}

std::vector<CControles*> CaptureSession::ControlsInCaptureOrder() const
{
    std::vector<CControles*> out;
    for (const auto& [id, element] : m_controls)
        out.push_back(element);
    return out;
}

int CaptureSession::FirstControlId() const
{
    return m_controls.empty() ? 0 : m_controls.front().first;
}

std::string CaptureSession::ControlText(int controlId) const
{
    const CControles* element = ElementByControlId(controlId);
    const TextEntry* control = element ? TextControl(*element) : nullptr;
    return control ? control->Text() : std::string();
}

void CaptureSession::SetControlText(int controlId, const std::string& text)
{
    const CControles* element = ElementByControlId(controlId);
    if (TextEntry* control = element ? TextControl(*element) : nullptr)
        control->SetText(text);
}

double CaptureSession::TableColumnTotal(int tableId, int column) const
{
    const CControles* element = ElementByControlId(tableId);
    if (!element || element->m_kind != kKindGrid)
        return 0;
    return static_cast<const CFmtGrid&>(*element).ColumnTotal(column);
}

void CaptureSession::OnFieldLeft(int controlId)
{
    Fields fields(*this);
    m_calc.FieldLeft(controlId, fields);
    FillBarcodes();
}

void CaptureSession::OnGridChanged(int controlId)
{
    Fields fields(*this);
    m_calc.GridChanged(controlId, fields);
    FillBarcodes();
}

std::vector<CalcProblem> CaptureSession::CalcProblems() const
{
    // The calculation only reads the controls here.
    Fields fields(const_cast<CaptureSession&>(*this));
    return m_calc.Problems(fields);
}

bool CaptureSession::TypeValue(CControles& element, const std::string& utf8, std::string& message)
{
    // Named in a message only: a batch types thousands of values that need none.
    const auto name = [&element] { return Quoted(element.m_text); };
    if (element.m_kind == kKindGrid) {
        message = "El campo " + name() + " es una tabla: escriba sus celdas como " + element.m_text +
                  "[RENGLON,COLUMNA]=VALOR.";
        return false;
    }
    if (element.m_kind == kKindMarcaVar) {
        CheckEntry* check = CheckControl(element);
        if (!check || (utf8 != "1" && utf8 != "0")) {
            message = check ? "La marca " + name() + " solo acepta 1 (marcada) o 0 (sin marcar), no " + Quoted(utf8) + "."
                            : "La marca " + name() + " no tiene casilla en esta captura.";
            return false;
        }
        check->SetChecked(utf8 == "1");
        FillBarcodes();
        return true;
    }
    TextEntry* control = TextControl(element);
    if (!control) {
        message = "El campo " + name() + " no se captura en este formato.";
        return false;
    }
    // The captured-data file holds only what Windows-1252 can; a value it would turn
    // into "?" is refused here, as the capture screen refuses it while it is typed.
    if (const std::string bad = cp1252::FirstUnencodable(utf8); !bad.empty()) {
        message = "El campo " + name() + " no acepta " + Quoted(utf8) + ". " + cp1252::CannotKeepMessage(bad);
        return false;
    }
    if (element.m_kind == kKindCodigoBarras) {
        const auto& barcode = static_cast<const CCodigoBarras&>(element);
        std::string reason;
        if (barcode.TakesDataFromTemplate()) {
            message = "El código " + name() + " toma sus datos de otros campos; no se escribe.";
            return false;
        }
        if (!barcode.CheckData(utf8, reason)) {
            message = "El código " + name() + " no acepta " + Quoted(utf8) + ": " + reason + ".";
            return false;
        }
        control->SetText(utf8);
        FillBarcodes();
        return true;
    }
    std::string value = utf8;
    if (element.m_kind == kKindParrafoVar) {
        value = UnescapeParagraph(utf8);
    } else if (element.m_kind == kKindCuadrosVar) {
        // The box edit takes no more characters than there are boxes.
        const auto characters = SplitCharacters(utf8);
        const size_t limit = size_t(std::max(static_cast<const CCuadrosVar&>(element).m_boxCount, 1));
        value.clear();
        for (size_t i = 0; i < characters.size() && i < limit; ++i)
            value += characters[i];
    }
    control->SetText(value);
    if (element.m_kind == kKindTextlineVar)
        OnFieldLeft(kFirstControlId + element.m_order);
    else
        FillBarcodes();
    return true;
}

bool CaptureSession::TypeCell(CFmtGrid& grid, int row, int column, const std::string& utf8, std::string& message)
{
    CGridCapture* cells = grid.Capture();
    if (!cells || !grid.TableWindow()) {
        message = "La tabla " + Quoted(grid.m_text) + " no tiene renglones en esta captura.";
        return false;
    }
    if (row < 1 || row > cells->CellRows() || column < 1 || column > cells->CellColumns()) {
        message = "La celda [" + std::to_string(row) + "," + std::to_string(column) + "] está fuera de la tabla " +
                  Quoted(grid.m_text) + ", que tiene " + std::to_string(cells->CellRows()) + " renglones y " +
                  std::to_string(cells->CellColumns()) + " columnas.";
        return false;
    }
    if (const std::string refusal = cells->CellRefusal(row, column, utf8); !refusal.empty()) {
        // The table's own refusal already names the value and what to write instead.
        message = "Celda [" + std::to_string(row) + "," + std::to_string(column) + "] de la tabla " +
                  Quoted(grid.m_text) + ": " + refusal;
        return false;
    }
    cells->TypeCell(row, column, utf8);
    FillBarcodes();
    return true;
}

std::vector<std::string> CaptureSession::ValueLines() const
{
    std::vector<std::string> lines;
    for (const auto& [id, element] : m_controls) {
        if (element->m_kind == kKindGrid) {
            CGridCapture* cells = static_cast<const CFmtGrid&>(*element).Capture();
            if (!cells)
                continue;
            // A filled cell is one the table window shows: a number never typed (or
            // computed) in a row stays blank there, although its text form is 0.00.
            for (int r = 1; r <= cells->CellRows(); ++r)
                for (int c = 1; c <= cells->CellColumns(); ++c)
                    if (!cells->CellDisplay(r, c).text.empty())
                        lines.push_back(element->m_text + "[" + std::to_string(r) + "," + std::to_string(c) +
                                        "]=" + cells->CellTextAt(r, c));
        } else if (const CheckEntry* check = CheckControl(*element)) {
            lines.push_back(element->m_text + "=" + (check->IsChecked() ? "1" : "0"));
        } else if (const TextEntry* text = TextControl(*element)) {
            const std::string value = text->Text();
            lines.push_back(element->m_text + "=" +
                            (element->m_kind == kKindParrafoVar ? EscapeParagraph(value) : value));
        }
    }
    return lines;
}

void CaptureSession::Clear()
{
    for (auto& element : m_format.elements)
        element->ClearValue();
    Fields fields(*this);
    m_calc.ReadOperands(fields);
    FillBarcodes();
}

std::vector<uint8_t> CaptureSession::CaptureBytes() const
{
    ArchiveWriter ar;
    ar.WriteString(m_formatFileName);
    for (const auto& element : m_format.elements)
        element->SaveValue(ar);
    return ar.Take();
}

bool CaptureSession::SaveCapture(const std::string& path, std::string& message)
{
    std::vector<uint8_t> bytes = CaptureBytes();
    if (!WriteFileAtomically(path, bytes, &message))
        return false;
    m_capturePath = path;
    m_savedBytes = std::move(bytes);
    return true;
}

CaptureLoadStatus CaptureSession::LoadCapture(const std::string& path, std::string& message)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, &message))
        return CaptureLoadStatus::Unreadable;
    const CaptureLoadStatus status = LoadCaptureBytes(bytes, path, message);
    if (status == CaptureLoadStatus::Loaded)
        m_capturePath = path;
    return status;
}

bool CaptureSession::ReadCaptureFormatName(const std::string& path, std::string& formatFileName, std::string& message)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, &message))
        return false;
    ArchiveReader ar(bytes);
    try {
        formatFileName = ar.ReadString();
    } catch (const ArchiveError& e) {
        message = DamagedFileMessage(path, kCaptureFileKind, e.Offset());
        return false;
    }
    return true;
}

std::string CaptureSession::FindCaptureFormat(const std::string& capturePath, const std::string& formatFileName,
                                              const std::vector<std::string>& knownFormats)
{
    namespace fs = std::filesystem;
    auto isFile = [](const fs::path& p) {
        std::error_code ec;
        return fs::is_regular_file(p, ec);
    };
    // A name with a folder in it is not a file name this program stores.
    if (formatFileName.empty() || formatFileName.find_first_of("/\\") != std::string::npos)
        return {};
    const fs::path beside = fs::path(capturePath).parent_path() / formatFileName;
    if (isFile(beside))
        return beside.string();
    for (const std::string& known : knownFormats)
        if (!known.empty() && RecordedFormatName(known) == formatFileName && isFile(known))
            return known;
    return {};
}

CaptureLoadStatus CaptureSession::LoadCaptureBytes(const std::vector<uint8_t>& bytes, const std::string& fileLabel,
                                                   std::string& message)
{
    ArchiveReader ar(bytes);
    std::string storedName;
    try {
        storedName = ar.ReadString();
    } catch (const ArchiveError& e) {
        message = DamagedFileMessage(fileLabel, kCaptureFileKind, e.Offset());
        return CaptureLoadStatus::Unreadable;
    }
    // The name as this program would have stored it (characters outside Windows-1252
    // become "?"), so that a format whose name has such characters still recognises its
    // own files.
    ArchiveWriter stored;
    stored.WriteString(m_formatFileName);
    ArchiveReader storedReader(stored.Bytes());
    if (storedName != storedReader.ReadString()) {
        message = Fill(kWrongFormatMessage, {storedName, m_formatFileName});
        return CaptureLoadStatus::WrongFormat;
    }

    for (auto& element : m_format.elements)
        element->ClearValue();
    CaptureLoadStatus status = CaptureLoadStatus::Loaded;
    try {
        while (!ar.AtEnd()) {
            const size_t recordStart = ar.Offset();
            const int32_t order = ar.ReadInt32();
            CControles* target = nullptr;
            for (auto& element : m_format.elements) {
                if (IsCaptureKind(element->m_kind) && element->m_order == order) {
                    target = element.get();
                    break;
                }
            }
            if (!target) {
                // The record's layout depends on the kind of its field: nothing after it
                // can be read.
                message = "El archivo " + Quoted(fileLabel) + " tiene en el byte " + std::to_string(recordStart) +
                          " un dato del campo número " + std::to_string(order) + ", que el formato " +
                          Quoted(m_formatFileName) + " no tiene; solo se cargaron los datos anteriores.";
                status = CaptureLoadStatus::Partial;
                break;
            }
            target->LoadValue(ar);
        }
    } catch (const ArchiveError& e) {
        message = DamagedFileMessage(fileLabel, kCaptureFileKind, e.Offset()) +
                  " Solo se cargaron los datos anteriores a ese punto.";
        status = CaptureLoadStatus::Partial;
    }

    Fields fields(*this);
    m_calc.ReadOperands(fields);
    FillBarcodes();
    if (status == CaptureLoadStatus::Loaded)
        m_savedBytes = CaptureBytes();
    else
        m_savedBytes.reset();
    return status;
}

CaptureLoadStatus CaptureSession::RestoreRecoveredValues(const std::vector<uint8_t>& bytes,
                                                         const std::string& capturePath, const std::string& fileLabel,
                                                         std::string& message)
{
    const CaptureLoadStatus status = LoadCaptureBytes(bytes, fileLabel, message);
    if (status == CaptureLoadStatus::Loaded || status == CaptureLoadStatus::Partial) {
        m_capturePath = capturePath;
        m_savedBytes.reset();
    }
    return status;
}

bool CaptureSession::IsModified() const
{
    return !m_savedBytes || CaptureBytes() != *m_savedBytes;
}

void CaptureSession::MarkSaved()
{
    m_savedBytes = CaptureBytes();
}

std::string CaptureSession::ShownText(const std::string& name) const
{
    const CControles* element = FindVariable(name);
    if (!element)
        return std::string();
    if (const TextEntry* text = TextControl(*element))
        return text->Text();
    if (const CheckEntry* check = CheckControl(*element))
        return check->IsChecked() ? static_cast<const CMarcaVar&>(*element).m_mark : std::string();
    return std::string();
}

void CaptureSession::FillBarcodes() const
{
    for (const auto& element : m_format.elements) {
        if (element->m_kind != kKindCodigoBarras)
            continue;
        const auto& barcode = static_cast<const CCodigoBarras&>(*element);
        if (!barcode.TakesDataFromTemplate() || !barcode.m_pControl)
            continue;
        const std::string data = FillTemplate(barcode.m_template, [this](const std::string& name) {
            return std::optional<std::string>(ShownText(name));
        });
        if (barcode.m_pControl->Text() != data)
            barcode.m_pControl->SetText(data);
    }
}

std::string CaptureSession::BarcodeProblem(int controlId) const
{
    const CControles* element = ElementByControlId(controlId);
    if (!element || element->m_kind != kKindCodigoBarras)
        return std::string();
    const auto& barcode = static_cast<const CCodigoBarras&>(*element);
    const std::string data = barcode.Data();
    std::string reason;
    if (data.empty() || barcode.CheckData(data, reason))
        return std::string();
    return "El código " + Quoted(barcode.m_text) + " no se puede imprimir con los datos " + Quoted(data) + ": " +
           reason + ".";
}

void CaptureSession::Print(Dc& sheet, PrintOffsets offsets) const
{
    FillBarcodes();
    PrintElements(m_format.elements, sheet, offsets);
}
