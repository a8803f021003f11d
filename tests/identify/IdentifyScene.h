#pragma once
// A scene for identification tests: a catalogue at the current structure whose SNES system has a
// ROM folder of files made by the test, games for them, and a DAT file that knows most of them.
#include "RomFiles.h"
#include "TestCatalogue.h"

#include "identify/Verification.h"

#include <QMap>

namespace quillon::test {

class RecordingFeedback;

class IdentifyScene {
 public:
  static constexpr qint64 kSystem = 3;

  IdentifyScene();

  bool IsValid() const { return m_catalogue.IsValid(); }
  TestCatalogue& Catalogue() { return m_catalogue; }
  quillon::Catalogue& Db() { return m_catalogue.Db(); }
  QString RomFolder() const { return m_romFolder; }
  QString RomPath(const QString& fileName) const { return m_romFolder + fileName; }

  // A file in the ROM folder and its game (full name as a scan derives it, nothing else known,
  // one "[Unknown]" genre link). Returns the GameID.
  qint64 AddRom(const QString& fileName, const QByteArray& data);
  qint64 AddZip(const QString& fileName, const Members& members);
  // A game whose file is not on disk.
  qint64 AddGame(const QString& fileName);
  qint64 GameOf(const QString& fileName);
  QVariant GameValue(qint64 gameId, const QString& column);

  // The standard list: Alpha Quest (USA), Beta Racer (USA) and its clone Beta Racer (Europe),
  // Gamma Bad (Japan) (a bad dump), Twin (Europe) and Twin (Germany) (one checksum), Delta Zip
  // (World), Epsilon Headered (USA) and Omega Missing (USA).
  static TestList StandardList();
  // The files of the standard scene, one of each kind of result; returns their GameIDs by file.
  QMap<QString, qint64> AddStandardFiles();
  bool Import(const TestList& list, bool (*writer)(const QString&, const TestList&) = WriteLogiqx);

  VerifySummary Verify(RecordingFeedback& feedback, const VerifyOptions& options = {});

 private:
  TestCatalogue m_catalogue;
  QString m_romFolder;
  qint64 m_pathId = 0;
  int m_lists = 0;
};

// The verdict of a game in a summary; nullptr when the game has none.
const GameVerdict* VerdictOf(const VerifySummary& summary, qint64 gameId);

}  // namespace quillon::test
