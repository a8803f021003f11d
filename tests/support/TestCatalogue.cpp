#include "TestCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace quillon::test {

QString DeliveredCatalogue()
{
  return QStringLiteral(QUILLON_DELIVERED_CATALOGUE);
}

QString TestDataPath(const QString& relative)
{
  return QDir::cleanPath(QStringLiteral(QUILLON_TESTDATA_DIR) + QLatin1Char('/') + relative);
}

TestCatalogue::TestCatalogue() : m_folder(m_dir.path())
{
  QString error;
  if (!m_folder.EnsureFolders(&error) || !InstallDeliveredCatalogue(m_folder, DeliveredCatalogue(), &error)) {
    qWarning("%s", qPrintable(error));
    return;
  }
  Reopen();
}

void TestCatalogue::Reopen()
{
  m_catalogue.reset();
  bool missing = false;
  SqlFailure failure;
  m_catalogue = Catalogue::Open(m_folder.CatalogueFile(), &missing, &failure);
  if (!m_catalogue)
    qWarning("cannot open the test catalogue: %s", qPrintable(failure.description));
}

void TestCatalogue::Exec(const QString& sql, const QVariantList& binds)
{
  SqlFailure failure;
  if (!m_catalogue->TryExecute(sql, binds, &failure))
    QFAIL(qPrintable(QStringLiteral("%1: %2").arg(sql, failure.description)));
}

QVariant TestCatalogue::Value(const QString& sql, const QVariantList& binds)
{
  SqlFailure failure;
  const std::optional<Rows> rows = m_catalogue->TrySelect(sql, binds, &failure);
  if (!rows) {
    qWarning("%s: %s", qPrintable(sql), qPrintable(failure.description));
    return {};
  }
  return rows->Value(0, 0);
}

bool TouchFile(const QString& path, const QByteArray& content)
{
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  return file.write(content) == content.size();
}

}  // namespace quillon::test
