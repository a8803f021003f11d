#pragma once
// A catalogue brought to the current structure, real ROM files and pictures under a folder of the
// test's own, and the front-end exports run on them.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestGames.h"

#include "export/frontends/FrontendExport.h"

#include <QTemporaryDir>

namespace quillon::test {

constexpr qint64 kGenesis = 2;
constexpr qint64 kCustom1 = 29;

class FrontendScene {
 public:
  enum class Start { Empty, Golden };
  // With Start::Golden, the catalogue of the golden files (BuildGoldenCatalogue).
  explicit FrontendScene(Start start = Start::Empty);

  TestCatalogue& Db() { return m_catalogue; }
  RecordingFeedback& Feedback() { return m_feedback; }
  QString Root() const { return m_root.path(); }
  QString Path(const QString& relative) const { return m_root.filePath(relative); }

  // Gives a system a tab and a ROM folder below the root (made on disk); returns its PathID.
  qint64 AddRomFolder(qint64 systemId, const QString& folder);
  // Makes the ROM file and a ticked, available game of it. `columns` are further Games columns.
  qint64 AddGame(qint64 systemId, qint64 pathId, const QString& fileName, const QString& title,
                 const QVariantMap& columns = {});
  void SetYear(qint64 gameId, const QString& year);
  void SetMaker(qint64 gameId, const QString& maker);
  void SetGenres(qint64 gameId, const QStringList& genres);
  // Writes a real picture below pics/ (the format from the extension) and makes it the game's.
  QString AddPicture(qint64 gameId, const QString& fileName);

  FrontendExportResult Export(FrontendFormat format, const QList<qint64>& systems, const QString& destination,
                              MediaMode media = MediaMode::Copy, bool allGames = false);

 private:
  QTemporaryDir m_root;
  TestCatalogue m_catalogue;
  RecordingFeedback m_feedback;
};

// The small catalogue of the golden files: two systems of games with the cases that matter, and
// a renamed custom system without front-end names.
void BuildGoldenCatalogue(FrontendScene& scene);

// The content of a file, or empty.
QByteArray ReadFile(const QString& path);

}  // namespace quillon::test
