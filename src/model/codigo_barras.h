#pragma once
#include "model/barcode_symbol.h"
#include "model/text_value_element.h"

// Barcode (kind 11): a variable element that prints its data as a barcode symbol drawn
// in vectors. Its data is what its entry control shows: typed by the clerk when the
// template is empty, else the template filled from the other fields (the capture screen
// keeps it filled, and the control is read-only then).
//
// Stored tail: symbology, QR error-correction level (0 default, 1..4 = L..H), the data
// template (a string of at most 4,000 characters), the module size in 0.01 mm (0: the
// symbol fills the rectangle), the quiet zone in modules (0..50), and flags (bit 0: the
// data is printed as text under the symbol).
class CCodigoBarras : public CTextValueElement {
public:
    static constexpr int32_t kShowText = 1;
    static constexpr int32_t kMaxQuietZone = 50;
    static constexpr int32_t kMaxModuleSize = 1000;  // 10 mm

    CCodigoBarras();
    // As the designer inserts it: a 30 mm square QR code with (x, y) as its top-left corner.
    static std::unique_ptr<CCodigoBarras> CreateAt(int x, int y);

    // Four handles on the page; on the screen layout its entry is one line, which only
    // widens.
    void UpdateHandles() override { ComputeHandles(m_layoutMode ? HandleSet::LeftRight : HandleSet::All); }
    void FixFontHeight() override;
    void DrawDesign(Dc& dc) override;
    void DrawScreen(Dc& dc, bool showOrder) override;
    void Print(Dc& dc) override;
    int CreateEntryControl(Dc& dc, EntryFactory& factory, int controlId, const LogFont& font) override;

    // The data comes from other fields (the template is not empty).
    bool TakesDataFromTemplate() const { return !m_template.empty(); }
    // The data the element encodes now: its control's text (empty without control).
    std::string Data() const;
    // Whether `data` makes a valid symbol; false with the reason in Spanish.
    bool CheckData(const std::string& data, std::string& reason) const;
    // The data the design view draws: the template with each placeholder replaced by its
    // name, or a sample of the symbology when that is not valid data for it.
    std::string SampleData() const;

    Symbology m_symbology = Symbology::Qr;
    int32_t m_qrLevel = kQrLevelDefault;
    std::string m_template;
    int32_t m_moduleSize = 0;  // 0.01 mm; 0: fill the rectangle
    int32_t m_quietZone = 2;   // modules
    int32_t m_flags = 0;

protected:
    void ReadTail(ArchiveReader& ar) override;
    void WriteTail(ArchiveWriter& ar) const override;
    void AfterRead() override { UpdateHandles(); }

private:
    // The symbol of `data`, encoded once per data and settings.
    const BarcodeVector* Encoded(const std::string& data) const;
    void DrawSymbol(Dc& dc, const Rect& rc, const std::string& data) const;
    // The height kept under the symbol for its text: one cell of the element's font.
    int RecordingTextCell() const;

    struct Cache {
        Symbology symbology = Symbology::Qr;
        int32_t qrLevel = -1;
        std::string data;
        bool ok = false;
        std::string reason;
        BarcodeVector symbol;
    };
    mutable Cache m_cache;
};
