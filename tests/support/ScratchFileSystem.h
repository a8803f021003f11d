#pragma once
// A small file system of its own for a test: a tmpfs mounted in a temporary folder, which can be
// filled to the last byte (a full disk) or made read-only. Mounting needs root; elsewhere
// IsMounted() is false and the test says why it skips.
#include <QString>
#include <QTemporaryDir>

namespace quillon::test {

class ScratchFileSystem {
 public:
  explicit ScratchFileSystem(qint64 bytes);
  ~ScratchFileSystem();
  ScratchFileSystem(const ScratchFileSystem&) = delete;
  ScratchFileSystem& operator=(const ScratchFileSystem&) = delete;

  bool IsMounted() const { return m_mounted; }
  // Why it could not be mounted.
  QString Error() const { return m_error; }
  QString Path() const { return m_dir.path(); }

  // Fills the file system with a file of its own, leaving `freeBytes` free (rounded to pages).
  bool Fill(qint64 freeBytes = 0);
  bool MakeReadOnly();

 private:
  QTemporaryDir m_dir;
  qint64 m_bytes;
  bool m_mounted = false;
  QString m_error;
};

}  // namespace quillon::test
