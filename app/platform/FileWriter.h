#pragma once

#include <QByteArrayView>
#include <QString>

#include <sys/types.h>

// Writes one file so that it is either whole at its place or not there at all: the bytes go
// into a hidden file beside the destination, which takes the destination's name (replacing
// a file that is there in one step) only when commit() finds every byte written, flushed
// to the disk and the file closed without error. A writer that is dropped before that, or
// whose writing fails, removes its hidden file.
//
// Failures throw BrivetError with the system's reason, such as "No space left on device".
// The system calls are used directly because a disk that fills up shows in places a
// buffered writer may not report: a short write that sets no error, or a flush at close.
class FileWriter {
public:
    // The one call that hands bytes to the system, with the contract of write(2): the
    // number of bytes taken (possibly fewer than given), or -1 with errno set.
    using WriteCall = ssize_t (*)(int descriptor, const void *data, size_t size);

    // Creates the hidden file in the destination's folder, which must exist.
    explicit FileWriter(QString destination);
    ~FileWriter();
    FileWriter(const FileWriter &) = delete;
    FileWriter &operator=(const FileWriter &) = delete;

    const QString &destination() const { return m_destination; }
    void write(QByteArrayView bytes);
    // Puts the file at its destination. After a failure nothing is there that was not before.
    void commit();

    // Replaces the write call of every writer, so that a test can make the disk fail
    // exactly where a full one does; returns the call that was in place.
    static WriteCall setWriteCall(WriteCall call);

private:
    void discard();

    QString m_destination;
    QString m_temporary;
    int m_descriptor = -1;
};
