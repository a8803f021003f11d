#include "IdentifyScene.h"

#include "RecordingFeedback.h"
#include "SilentUpgradeDisplay.h"

#include "catalogue/StructureUpgrade.h"
#include "identify/ReferenceLists.h"
#include "names/FileNameTags.h"

#include <QDir>
#include <QTest>

namespace quillon::test {

namespace {

TestEntry Entry(const char* name, quint32 seed, int size, const char* year = "", const char* publisher = "",
                const char* cloneOf = "", const char* status = "")
{
  const QString title = QString::fromUtf8(name);
  return {title,
          title,
          QString::fromUtf8(year),
          QString::fromUtf8(publisher),
          QString::fromUtf8(cloneOf),
          {{title + QStringLiteral(".sfc"), RandomRom(seed, size), QString::fromUtf8(status), QString()}}};
}

}  // namespace

IdentifyScene::IdentifyScene() : m_romFolder(m_catalogue.Path(QStringLiteral("roms")) + QLatin1Char('/'))
{
  if (!m_catalogue.IsValid())
    return;
  RecordingFeedback feedback;
  SilentUpgradeDisplay display;
  UpdateDb(m_catalogue.Db(), feedback, display);
  QDir().mkpath(m_romFolder);
  m_catalogue.Exec(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, ?)"), {m_romFolder, kSystem});
  m_pathId = m_catalogue.Db().LastInsertId();
}

qint64 IdentifyScene::AddGame(const QString& fileName)
{
  m_catalogue.Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath, Country, Year, "
                                  "Manufacturer, Genre, Available, Selected, Edited) "
                                  "VALUES (?, ?, ?, ?, 1, 42, 319, 1, 1, 1, 1)"),
                   {ScannedFullName(fileName), fileName, kSystem, m_pathId});
  const qint64 gameId = m_catalogue.Db().LastInsertId();
  m_catalogue.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, 1)"), {gameId});
  return gameId;
}

qint64 IdentifyScene::AddRom(const QString& fileName, const QByteArray& data)
{
  if (!WriteFile(RomPath(fileName), data))
    qWarning("cannot write %s", qPrintable(fileName));
  return AddGame(fileName);
}

qint64 IdentifyScene::AddZip(const QString& fileName, const Members& members)
{
  if (!WriteZip(RomPath(fileName), members))
    qWarning("cannot write %s", qPrintable(fileName));
  return AddGame(fileName);
}

qint64 IdentifyScene::GameOf(const QString& fileName)
{
  return m_catalogue.Value(QStringLiteral("SELECT GameID FROM Games WHERE FileName = ?"), {fileName}).toLongLong();
}

QVariant IdentifyScene::GameValue(qint64 gameId, const QString& column)
{
  return m_catalogue.Value(QStringLiteral("SELECT %1 FROM Games WHERE GameID = ?").arg(column), {gameId});
}

TestList IdentifyScene::StandardList()
{
  TestList list{QStringLiteral("Test - Super Widget System"), QStringLiteral("20240101-000000"), {}};
  list.entries << Entry("Alpha Quest (USA)", 1, 4096, "1991", "Acme")
               << Entry("Beta Racer (USA)", 3, 8192, "1992", "Acme")
               << Entry("Beta Racer (Europe)", 2, 8192, "1992", "Acme", "Beta Racer (USA)")
               << Entry("Gamma Bad (Japan)", 4, 4096, "1993", "", "", "baddump") << Entry("Twin (Europe)", 5, 4096)
               << Entry("Twin (Germany)", 5, 4096) << Entry("Delta Zip (World)", 6, 4096, "199?", "<unknown>")
               << Entry("Epsilon Headered (USA)", 7, 8192) << Entry("Omega Missing (USA)", 8, 4096);
  return list;
}

QMap<QString, qint64> IdentifyScene::AddStandardFiles()
{
  QMap<QString, qint64> games;
  games.insert(QStringLiteral("Alpha Quest (USA).sfc"),
               AddRom(QStringLiteral("Alpha Quest (USA).sfc"), RandomRom(1, 4096)));
  games.insert(QStringLiteral("beta.smc"), AddRom(QStringLiteral("beta.smc"), RandomRom(2, 8192)));
  games.insert(QStringLiteral("gamma.sfc"), AddRom(QStringLiteral("gamma.sfc"), RandomRom(4, 4096)));
  games.insert(QStringLiteral("unknown.sfc"), AddRom(QStringLiteral("unknown.sfc"), RandomRom(99, 4096)));
  games.insert(QStringLiteral("twin.sfc"), AddRom(QStringLiteral("twin.sfc"), RandomRom(5, 4096)));
  games.insert(QStringLiteral("Twin (Germany).sfc"), AddRom(QStringLiteral("Twin (Germany).sfc"), RandomRom(5, 4096)));
  games.insert(QStringLiteral("delta.zip"),
               AddZip(QStringLiteral("delta.zip"), {{QStringLiteral("delta.sfc"), RandomRom(6, 4096)}}));
  games.insert(QStringLiteral("epsilon.smc"),
               AddRom(QStringLiteral("epsilon.smc"), CopierHeadered(RandomRom(7, 8192))));
  games.insert(QStringLiteral("gone.sfc"), AddGame(QStringLiteral("gone.sfc")));
  return games;
}

bool IdentifyScene::Import(const TestList& list, bool (*writer)(const QString&, const TestList&))
{
  const QString file = m_catalogue.Path(QStringLiteral("list%1.dat").arg(++m_lists));
  if (!writer(file, list))
    return false;
  RecordingFeedback feedback;
  const ListImport imported = ImportReferenceList(m_catalogue.Db(), feedback, kSystem, file);
  if (!imported.ok)
    qWarning("%s", qPrintable(imported.error));
  return imported.ok;
}

VerifySummary IdentifyScene::Verify(RecordingFeedback& feedback, const VerifyOptions& options)
{
  return VerifySystem(m_catalogue.Db(), feedback, kSystem, options);
}

const GameVerdict* VerdictOf(const VerifySummary& summary, qint64 gameId)
{
  for (const GameVerdict& verdict : summary.games) {
    if (verdict.gameId == gameId)
      return &verdict;
  }
  return nullptr;
}

}  // namespace quillon::test
