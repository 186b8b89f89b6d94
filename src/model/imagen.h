#pragma once
#include <vector>

#include "model/controles.h"

// Image (kind 9): a picture (PNG or JPEG) kept inside the format, so the format travels as
// one file. It prints at the picture's full resolution stretched over its rectangle.
//
// Stored tail: an integer of flags (bit 0: the aspect ratio is unlocked), then the
// picture's byte count (1 .. 4 MB) and its bytes. The picture is decoded when the record
// is read, through the bounded path of embedded_image.h, so a format that reads can draw.
class CImagen : public CControles {
public:
    static constexpr int32_t kAspectUnlocked = 1;

    CImagen() : CControles(kKindImagen, 1, 0, 0, 1) {}
    // As the designer inserts it: the picture's bytes (already checked by the caller)
    // with (x, y) as the top-left corner, `widthUnits` wide and as high as its aspect ratio
    // gives. Null with a Spanish reason when the bytes are no picture this kind keeps.
    static std::unique_ptr<CImagen> CreateAt(int x, int y, int widthUnits, std::vector<uint8_t> bytes,
                                             std::string& reason);

    void UpdateHandles() override { ComputeHandles(HandleSet::All); }
    void ResizeByHandle(int handle, int dx, int dy) override;
    void DrawDesign(Dc& dc) override;
    void Print(Dc& dc) override;

    bool KeepsAspect() const { return (m_flags & kAspectUnlocked) == 0; }
    void SetKeepsAspect(bool keep);
    // The page rectangle's height made to follow its width by the picture's ratio (the
    // top edge stays).
    void FitHeightToAspect();

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    const DcImage& Picture() const { return m_picture; }

    int32_t m_flags = 0;

protected:
    void ReadTail(ArchiveReader& ar) override;
    void WriteTail(ArchiveWriter& ar) const override;
    void AfterRead() override { UpdateHandles(); }

private:
    std::vector<uint8_t> m_bytes;
    DcImage m_picture;
};
