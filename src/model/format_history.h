#pragma once
// Undo and redo for an editor of a format: before each change the editor records the
// format as it stood, as the bytes its file would hold. Formats are small, so a whole
// snapshot per change is cheap, and restoring one cannot drift from the model the way
// hand-written inverse operations can.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "model/format_file.h"

class FormatHistory {
public:
    // Records `format` as it stands now, before a change; forgets whatever could be redone.
    void RecordBefore(const Format& format);
    // Records a snapshot taken before a change that has now happened (a drag records the
    // format when the button goes down and keeps it only if something moved).
    void RecordSnapshot(std::vector<uint8_t> before);
    // Forgets the snapshot recorded last, for a change that was refused after recording.
    void DropLast();

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // Replaces `format` by the state before the last change; false when there is none.
    bool Undo(Format& format);
    bool Redo(Format& format);
    void Clear();

    // Snapshots kept at most; the oldest is forgotten first.
    static constexpr size_t kMaxSteps = 200;

    // The format as the bytes of its file, written without changing anything.
    static std::vector<uint8_t> Snapshot(const Format& format);
    // Reads a snapshot back into `format`; the selection is not part of the file, so
    // every element comes back unselected.
    static bool Restore(const std::vector<uint8_t>& bytes, Format& format);

private:
    std::deque<std::vector<uint8_t>> m_undo;
    std::deque<std::vector<uint8_t>> m_redo;
};
