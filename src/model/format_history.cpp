#include "model/format_history.h"

#include <span>

std::vector<uint8_t> FormatHistory::Snapshot(const Format& format)
{
    // The extent is kept as it stands instead of being recomputed, so that restoring
    // gives back exactly what was there.
    return WriteFormatAsItStands(format);
}

bool FormatHistory::Restore(const std::vector<uint8_t>& bytes, Format& format)
{
    Format restored;
    FormatReadError error;
    if (!ReadFormat(std::span<const uint8_t>(bytes), restored, error))
        return false;
    format = std::move(restored);
    return true;
}

void FormatHistory::RecordBefore(const Format& format)
{
    RecordSnapshot(Snapshot(format));
}

void FormatHistory::RecordSnapshot(std::vector<uint8_t> before)
{
    m_undo.push_back(std::move(before));
    if (m_undo.size() > kMaxSteps)
        m_undo.pop_front();
    m_redo.clear();
}

void FormatHistory::DropLast()
{
    if (!m_undo.empty())
        m_undo.pop_back();
}

bool FormatHistory::Undo(Format& format)
{
    if (m_undo.empty())
        return false;
    std::vector<uint8_t> now = Snapshot(format);
    if (!Restore(m_undo.back(), format))
        return false;
    m_undo.pop_back();
    m_redo.push_back(std::move(now));
    return true;
}

bool FormatHistory::Redo(Format& format)
{
    if (m_redo.empty())
        return false;
    std::vector<uint8_t> now = Snapshot(format);
    if (!Restore(m_redo.back(), format))
        return false;
    m_redo.pop_back();
    m_undo.push_back(std::move(now));
    return true;
}

void FormatHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
}
