#pragma once
// A catalogue with games to export: systems set up, games added with their genre links, and the
// export options of `Inc`.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"

#include "export/ExportOptions.h"

#include <QTemporaryDir>

namespace quillon::test {

class ExportScene {
 public:
  ExportScene();

  TestCatalogue& Db() { return m_catalogue; }
  RecordingFeedback& Feedback() { return m_feedback; }
  // A path in the folder for exported files.
  QString Out(const QString& name = {}) const { return m_out.filePath(name); }

  // Sets columns of a system ("FullRomPath RemoveText" and their values) and gives it a tab.
  void SetSystem(qint64 systemId, const QString& columns = {}, const QVariantList& values = {});
  // Adds a ROM folder for a system; returns its PathID.
  qint64 AddRomPath(qint64 systemId, const QString& folder);
  // Adds a selected, available game with these columns (GameID first) linked to the genres given.
  void AddGame(const QString& columns, const QVariantList& values, const QList<qint64>& genres);
  // The export options from "IncC=1 IncG=1 ..." over all-false.
  static ExportOptions Options(const QString& assignments);

 private:
  TestCatalogue m_catalogue;
  RecordingFeedback m_feedback;
  QTemporaryDir m_out;
};

}  // namespace quillon::test
