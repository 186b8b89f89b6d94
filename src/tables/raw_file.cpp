#include "tables/raw_file.h"

#include "base/atomic_file.h"
#include "tables/raw_file_io.h"

#include <algorithm>
#include <cerrno>

bool RawFile::KeepCopy(uint64_t limit)
{
    DropCopy();
    const int64_t size = Size();
    if (limit == 0 || size < 0 || uint64_t(size) > limit)
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!ReadAt(0, bytes))
        return false;
    m_copy = std::move(bytes);
    m_copyLimit = limit;
    return true;
}

void RawFile::DropCopy()
{
    m_copyLimit = 0;
    std::vector<uint8_t>().swap(m_copy);
}

void RawFile::CopyWrite(uint64_t position, std::span<const uint8_t> bytes)
{
    if (!HasCopy() || bytes.empty())
        return;
    const uint64_t end = position + bytes.size();
    if (end > m_copyLimit) {
        DropCopy();
        return;
    }
    // Writing past the end leaves a gap the file reads as zeros.
    if (end > m_copy.size())
        m_copy.resize(size_t(end), 0);
    std::copy(bytes.begin(), bytes.end(), m_copy.begin() + ptrdiff_t(position));
}

void RawFile::CopyResize(uint64_t size)
{
    if (!HasCopy())
        return;
    if (size > m_copyLimit)
        DropCopy();
    else
        m_copy.resize(size_t(size), 0);
}

bool RawFile::ReadAt(uint64_t position, std::span<uint8_t> bytes) const
{
    if (!HasCopy())
        return FileReadAt(m_fd, position, bytes, m_error);
    // As from the file: what lies before the end is given, a read past it fails.
    const uint64_t size = m_copy.size();
    const uint64_t available = position < size ? std::min<uint64_t>(size - position, bytes.size()) : 0;
    std::copy_n(m_copy.begin() + ptrdiff_t(position < size ? position : size), size_t(available), bytes.begin());
    if (available == bytes.size())
        return true;
    m_error = EIO;
    return false;
}

bool RawFile::WriteAt(uint64_t position, std::span<const uint8_t> bytes)
{
    if (FileWriteAt(m_fd, position, bytes, m_error)) {
        CopyWrite(position, bytes);
        return true;
    }
    // Part of the bytes may have reached the file: only the file knows what it holds.
    DropCopy();
    return false;
}

bool RawFile::Truncate(uint64_t size)
{
    if (FileResize(m_fd, size, m_error)) {
        CopyResize(size);
        return true;
    }
    DropCopy();
    return false;
}

int64_t RawFile::Size() const
{
    if (HasCopy())
        return int64_t(m_copy.size());
    return FileSizeOf(m_fd, m_error);
}

bool RawFile::ReadPrefix(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    RawFile file;
    if (!file.Open(path, false))
        return false;
    const int64_t size = file.Size();
    if (size < 0)
        return false;
    bytes.resize(size_t(std::min<uint64_t>(uint64_t(size), maxBytes)));
    return file.ReadAt(0, bytes);
}

bool RawFile::ReplaceContents(const std::string& path, std::span<const uint8_t> bytes)
{
    return WriteFileAtomically(path, bytes, nullptr, true);
}
