#pragma once
// A catalogue with games to export: systems set up, games added with their genre links, and the
// export options of `Inc`.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"

#include "export/ExportOptions.h"

#include <QTemporaryDir>
#include <QVariantMap>

namespace quillon::test {

class ExportScene {
 public:
  ExportScene();

  TestCatalogue& Db() { return m_catalogue; }
  RecordingFeedback& Feedback() { return m_feedback; }
  // A folder for the exported files.
  QString Out(const QString& name = {}) const { return m_out.filePath(name); }

  // Sets columns of a system (and enables its tab).
  void SetSystem(qint64 systemId, const QVariantMap& columns);
  // Adds a ROM folder for a system; returns its PathID.
  qint64 AddRomPath(qint64 systemId, const QString& folder);
  // Adds a selected, available game with these columns (GameID, System and RomPath at least)
  // linked to the genres given.
  void AddGame(const QVariantMap& columns, const QList<qint64>& genres);
  // The export options from "IncC=1 IncG=0 ..." over all-false.
  static ExportOptions Options(const QString& assignments);

 private:
  TestCatalogue m_catalogue;
  RecordingFeedback m_feedback;
  QTemporaryDir m_out;
};

// A file's bytes.
QByteArray FileBytes(const QString& path);

}  // namespace quillon::test
