#pragma once
// A fresh catalogue from the delivered one, in its own temporary data folder.
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace quillon::test {

// The delivered catalogue the build made from data/catalogue.sql.
QString DeliveredCatalogue();
// A file of the test data made by real programs (tests/data: Mame outputs, SQLite 2 libraries).
QString TestDataPath(const QString& relative);

class TestCatalogue {
 public:
  TestCatalogue();

  bool IsValid() const { return m_catalogue != nullptr; }
  Catalogue& Db() { return *m_catalogue; }
  const DataFolder& Folder() const { return m_folder; }
  QString Path(const QString& relative) const { return m_dir.filePath(relative); }
  // Closes and reopens the connection (to prove what was written is in the file).
  void Reopen();
  void Close() { m_catalogue.reset(); }

  // Runs statements the test needs to set its scene; fails the test on error.
  void Exec(const QString& sql, const QVariantList& binds = {});
  QVariant Value(const QString& sql, const QVariantList& binds = {});

 private:
  QTemporaryDir m_dir;
  DataFolder m_folder;
  std::unique_ptr<Catalogue> m_catalogue;
};

// Creates an empty file (and its folders) for a test.
bool TouchFile(const QString& path, const QByteArray& content = {});

}  // namespace quillon::test
