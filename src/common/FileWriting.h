#pragma once
// Writing and renaming files so that a failure carries the system's own reason ("No space left on
// device", "Read-only file system", "Permission denied"). Qt's file classes report a short write
// (a disk that fills up in the middle of a file) without one, as "Unknown error".
#include <QByteArrayView>
#include <QString>

class QFileDevice;

namespace quillon {

// The system's words for an error number (errno).
QString SystemErrorText(int errorNumber);

// Why no file can be written in `folder`, in the system's words; empty when a small one can.
QString FolderWriteProblem(const QString& folder);

// Writes all of `bytes` to an open file and flushes it. A short write is followed by another, so
// a failure leaves the system's reason in the file's errorString().
bool WriteAll(QFileDevice& file, QByteArrayView bytes);
// Flushes what the file buffers, the same way.
bool FlushAll(QFileDevice& file);

// Renames a file only when no file of the new name exists (RENAME_NOREPLACE where the file system
// offers it). False with `error` set otherwise.
bool RenameWithoutReplacing(const QString& oldPath, const QString& newPath, QString* error);

}  // namespace quillon
