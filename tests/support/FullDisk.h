#pragma once

#include "FileWriter.h"

#include <QtGlobal>
#include <algorithm>
#include <cerrno>

#include <unistd.h>

// While it exists, every file Brivet writes behaves as on a disk with room for `room`
// more bytes: the write that reaches the limit takes what fits and the next one fails
// with ENOSPC, as the system does when a disk fills up.
class FullDisk {
public:
    explicit FullDisk(qint64 room = 0) : m_previous(FileWriter::setWriteCall(&write)) { s_room = room; }
    ~FullDisk() { FileWriter::setWriteCall(m_previous); }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

private:
    static ssize_t write(int descriptor, const void *data, size_t size)
    {
        if (s_room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        const ssize_t written = ::write(descriptor, data, std::min(size, size_t(s_room)));
        if (written > 0)
            s_room -= written;
        return written;
    }

    static inline qint64 s_room = 0;
    FileWriter::WriteCall m_previous;
};
