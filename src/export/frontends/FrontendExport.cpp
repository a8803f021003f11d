#include "export/frontends/FrontendExport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "common/AtomicFile.h"
#include "export/frontends/EsdeGamelist.h"
#include "export/frontends/FrontendPictures.h"
#include "export/frontends/FrontendWriter.h"
#include "export/frontends/RetroArchPlaylist.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <deque>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("ExportToFrontend");
constexpr int kYieldEvery = 100;
// Up to this many systems without games are named in the summary, more are counted.
constexpr qsizetype kNamedEmptySystems = 3;

// Names of the override columns, as the options and `quillon-cli system set` know them.
QString NameColumn(FrontendFormat format)
{
  switch (format) {
    case FrontendFormat::Esde:
      return kEsdeNameColumn;
    case FrontendFormat::Pegasus:
      return kPegasusNameColumn;
    case FrontendFormat::RetroArch:
      return kRetroArchNameColumn;
  }
  return {};
}

// A front-end name becomes a folder or file name: it must be one.
bool IsUsableName(const QString& name)
{
  return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

std::unique_ptr<FrontendWriter> WriterFor(const FrontendExportRequest& request)
{
  switch (request.format) {
    case FrontendFormat::Esde:
      return MakeEsdeWriter(request.destination);
    case FrontendFormat::Pegasus:
      return MakePegasusWriter(request.destination);
    case FrontendFormat::RetroArch:
      return MakeRetroArchWriter(request.destination);
  }
  return nullptr;
}

class FrontendRun {
 public:
  FrontendRun(Catalogue& catalogue, Feedback& feedback, const FrontendExportRequest& request)
      : m_catalogue(catalogue),
        m_feedback(feedback),
        m_request(request),
        m_frontend(FrontendName(request.format)),
        m_writer(WriterFor(request))
  {
  }

  FrontendExportResult Run()
  {
    if (m_request.format != FrontendFormat::Pegasus && m_request.destination.trimmed().isEmpty())
      return Failed(QStringLiteral("no %1 folder was given").arg(m_frontend));
    for (const qint64 systemId : m_request.systemIds) {
      if (!Collect(systemId))
        return Failed(QStringLiteral("the catalogue could not be read"));
    }
    if (m_targets.empty())
      return Failed(NothingToExport());
    m_feedback.SetProgressMaximum(m_gameCount);
    for (FrontendTarget& target : m_targets) {
      if (!Write(target))
        return m_result;
    }
    m_feedback.SetProgressValue(0);
    if (!m_targetErrors.isEmpty())
      return Failed(m_targetErrors.join(QStringLiteral("; ")), false);
    m_result.outcome = ExportResult::Outcome::Done;
    m_feedback.SetStatus(StatusKind::Text,
                         QStringLiteral("%1 game(s) exported to %2.").arg(m_result.games).arg(m_frontend));
    return m_result;
  }

 private:
  // Reads a system and files its games under their targets. False only when the catalogue fails.
  bool Collect(qint64 systemId)
  {
    std::optional<FrontendSystem> read = ReadFrontendSystem(m_catalogue, m_feedback, systemId);
    if (!read)
      return false;
    const FrontendSystem& system = m_systems.emplace_back(std::move(*read));
    const QString name = m_writer->NameOf(system.names);
    if (name.isEmpty()) {
      LeaveOutSystem(system, QStringLiteral("it has no %1 name; give it one in its options (%2)")
                                 .arg(m_frontend, NameColumn(m_request.format)));
      return true;
    }
    if (!IsUsableName(name)) {
      LeaveOutSystem(system, QStringLiteral("its %1 name \"%2\" cannot name a folder").arg(m_frontend, name));
      return true;
    }
    std::optional<std::vector<ExportedGame>> games =
        ReadExportedGames(m_catalogue, m_feedback, system, m_request.allGames);
    if (!games)
      return false;
    const std::vector<ExportedGame>& kept = m_games.emplace_back(std::move(*games));
    if (kept.empty()) {
      m_result.emptySystems << system.name;
      return true;
    }
    for (const ExportedGame& game : kept)
      File(system, name, game);
    return true;
  }

  void File(const FrontendSystem& system, const QString& name, const ExportedGame& game)
  {
    if (game.path.isEmpty()) {
      LeaveOut(system, game, QStringLiteral("it has no ROM file"));
      return;
    }
    if (system.dropRoms && game.picture.isEmpty()) {
      LeaveOut(system, game, QStringLiteral("it has no picture, and the system leaves such games out"));
      return;
    }
    QString reason;
    const QString file = m_writer->FileOf(system, name, game, &reason);
    if (file.isEmpty()) {
      LeaveOut(system, game, reason);
      return;
    }
    auto index = m_targetIndex.constFind(file);
    if (index == m_targetIndex.constEnd()) {
      index = m_targetIndex.insert(file, m_targets.size());
      m_targets.push_back(FrontendTarget{file, name, {}});
      m_entriesOf.emplace_back();
    }
    // One entry per file, as the front-end knows it (a path below the ROM folder, for ES-DE).
    QHash<QString, const ExportedGame*>& entries = m_entriesOf[*index];
    const QString key = m_writer->EntryKey(game);
    if (const ExportedGame* first = entries.value(key)) {
      LeaveOut(system, game,
               first->path == game.path ? QStringLiteral("its file is also that of \"%1\"").arg(first->title)
                                        : QStringLiteral("its entry would be that of \"%1\"").arg(first->title));
      return;
    }
    entries.insert(key, &game);
    m_targets[*index].games.push_back(TargetGame{&system, &game, {}});
    ++m_gameCount;
  }

  bool Write(FrontendTarget& target)
  {
    m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Exporting %1 to %2...").arg(target.name, m_frontend));
    QByteArray existing;
    bool exists = false;
    QString error;
    if (!ReadWholeFile(target.file, &existing, &exists, &error))
      return Fail(error);
    if (exists && !m_writer->AcceptsExisting(existing, &error)) {
      const QString why = QStringLiteral("%1 was left as it is: %2").arg(QDir::toNativeSeparators(target.file), error);
      m_targetErrors << why;
      LeaveOutSystem(*target.games.front().system,
                     QStringLiteral("%1 game(s) not written: %2").arg(target.games.size()).arg(why));
      AdvanceProgress(static_cast<int>(target.games.size()));
      return true;
    }
    if (!PrepareFolder(target.file))
      return false;
    for (TargetGame& entry : target.games) {
      entry.picture = PictureOf(target, entry);
      AdvanceProgress(1);
    }
    const QByteArray content = m_writer->Content(target, existing);
    if (!exists || content != existing) {
      if (!WriteFileAtomically(target.file, content, &error))
        return Fail(error);
    } else {
      m_result.unchanged << target.file;
    }
    m_result.files << target.file;
    m_result.games += static_cast<int>(target.games.size());
    return true;
  }

  // Places the game's picture (or, without placing, names it where it is).
  QString PictureOf(const FrontendTarget& target, const TargetGame& entry)
  {
    const QString source = entry.game->picture;
    if (m_request.media == MediaMode::None)
      return !source.isEmpty() && QFileInfo(source).isFile() ? source : QString();
    if (source.isEmpty())
      return {};
    const PictureSpot spot = m_writer->PictureSpotOf(target, entry);
    if (spot.pathWithoutExtension.isEmpty())
      return {};
    const PlacedPicture placed =
        PlacePicture(source, spot.pathWithoutExtension, spot.extensions, m_request.media, m_madeFolders);
    using Outcome = PlacedPicture::Outcome;
    switch (placed.outcome) {
      case Outcome::Copied:
        ++m_result.pictures.copied;
        break;
      case Outcome::Linked:
        ++m_result.pictures.linked;
        break;
      case Outcome::Converted:
        ++m_result.pictures.converted;
        break;
      case Outcome::Current:
        ++m_result.pictures.current;
        break;
      case Outcome::Missing:
        ++m_result.pictures.missing;
        return {};
      case Outcome::Failed:
        ++m_result.pictures.failed;
        m_feedback.AddResultLine(QStringLiteral("Picture of %1 not placed: %2").arg(entry.game->title, placed.error));
        return {};
    }
    return placed.path;
  }

  void AdvanceProgress(int games)
  {
    for (int i = 0; i < games; ++i) {
      m_feedback.SetProgressValue(++m_progress);
      if (m_progress % kYieldEvery == 0)
        m_feedback.Yield();
    }
  }

  void LeaveOutSystem(const FrontendSystem& system, const QString& reason)
  {
    m_result.leftOut.append({system.name, {}, reason});
  }

  void LeaveOut(const FrontendSystem& system, const ExportedGame& game, const QString& reason)
  {
    m_result.leftOut.append({system.name, game.title, reason});
  }

  QString NothingToExport() const
  {
    QStringList why;
    int games = 0;
    for (const LeftOut& out : m_result.leftOut) {
      if (out.game.isEmpty())
        why << out.system + QStringLiteral(": ") + out.reason;
      else
        ++games;
    }
    if (games > 0)
      why << QStringLiteral("%1 game(s) left out").arg(games);
    if (!m_result.emptySystems.isEmpty())
      why << QStringLiteral("no %1available games in %2")
                 .arg(m_request.allGames ? QString() : QStringLiteral("ticked, "),
                      m_result.emptySystems.join(QStringLiteral(", ")));
    if (m_request.systemIds.isEmpty())
      why << QStringLiteral("no system was chosen");
    return QStringLiteral("nothing to export (%1)").arg(why.join(QStringLiteral("; ")));
  }

  // Makes the folder of a target file, or says why it cannot be written there.
  bool PrepareFolder(const QString& file)
  {
    const QString folder = QFileInfo(file).absolutePath();
    QString existing = folder;
    for (QString parent = QFileInfo(existing).absolutePath(); !QFileInfo::exists(existing) && parent != existing;
         parent = QFileInfo(existing).absolutePath())
      existing = parent;
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable()) {
      const QString blocked = QFileInfo(existing).isDir() && !QFileInfo(existing).isWritable()
                                  ? QStringLiteral("%1 is not writable").arg(QDir::toNativeSeparators(existing))
                                  : QStringLiteral("the folder cannot be made");
      return Fail(QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(file), blocked));
    }
    return true;
  }

  // A failure of the file system: the export stops where it is.
  bool Fail(const QString& error)
  {
    ReportError(m_feedback, kPathFileAccessError, kRoutine, error);
    Failed(error, false);
    return false;
  }

  FrontendExportResult Failed(const QString& error, bool report = true)
  {
    if (report)
      m_feedback.SetStatus(StatusKind::Error, QStringLiteral("Export to %1: %2.").arg(m_frontend, error));
    m_feedback.SetProgressValue(0);
    m_result.outcome = ExportResult::Outcome::Failed;
    m_result.error = error;
    return m_result;
  }

  Catalogue& m_catalogue;
  Feedback& m_feedback;
  const FrontendExportRequest& m_request;
  QString m_frontend;
  std::unique_ptr<FrontendWriter> m_writer;
  std::deque<FrontendSystem> m_systems;
  std::deque<std::vector<ExportedGame>> m_games;
  std::vector<FrontendTarget> m_targets;
  std::vector<QHash<QString, const ExportedGame*>> m_entriesOf;  // per target: entry key -> game
  QHash<QString, size_t> m_targetIndex;
  QStringList m_targetErrors;
  QSet<QString> m_madeFolders;
  int m_gameCount = 0;
  int m_progress = 0;
  FrontendExportResult m_result;
};

QString Plural(int count, const QString& one, const QString& many)
{
  return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

}  // namespace

QString FrontendName(FrontendFormat format)
{
  switch (format) {
    case FrontendFormat::Esde:
      return QStringLiteral("ES-DE");
    case FrontendFormat::Pegasus:
      return QStringLiteral("Pegasus");
    case FrontendFormat::RetroArch:
      return QStringLiteral("RetroArch");
  }
  return {};
}

QString DefaultFrontendDestination(FrontendFormat format)
{
  switch (format) {
    case FrontendFormat::Esde:
      return EsdeDefaultDataFolder();
    case FrontendFormat::Pegasus:
      return {};
    case FrontendFormat::RetroArch:
      return RetroArchDefaultConfigFolder();
  }
  return {};
}

std::optional<MediaMode> MediaModeByName(const QString& name)
{
  if (name == QStringLiteral("copy"))
    return MediaMode::Copy;
  if (name == QStringLiteral("link"))
    return MediaMode::Link;
  if (name == QStringLiteral("none"))
    return MediaMode::None;
  return std::nullopt;
}

QList<qint64> TabSystemIds(Catalogue& catalogue, Feedback& feedback)
{
  QList<qint64> ids;
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kRoutine, QStringLiteral("SELECT SystemID FROM System WHERE EnableTab <> 0 ORDER BY System, SystemID"));
  if (rows) {
    for (const QVariantList& row : rows->All())
      ids << row.value(0).toLongLong();
  }
  return ids;
}

FrontendExportResult ExportToFrontend(Catalogue& catalogue, Feedback& feedback, const FrontendExportRequest& request)
{
  return FrontendRun(catalogue, feedback, request).Run();
}

QStringList FrontendExportSummary(FrontendFormat format, const FrontendExportResult& result)
{
  QStringList lines;
  lines << QStringLiteral("%1 written to %2 for %3.")
               .arg(Plural(result.games, QStringLiteral("game"), QStringLiteral("games")),
                    Plural(static_cast<int>(result.files.size()), QStringLiteral("file"), QStringLiteral("files")),
                    FrontendName(format));
  for (const QString& file : result.files)
    lines << QStringLiteral("  ") + QDir::toNativeSeparators(file);
  if (!result.unchanged.isEmpty())
    lines << QStringLiteral("%1 already up to date.")
                 .arg(Plural(static_cast<int>(result.unchanged.size()), QStringLiteral("file was"),
                             QStringLiteral("files were")));
  const PictureCounts& p = result.pictures;
  QStringList pictures;
  const auto count = [&pictures](int number, const QString& what) {
    if (number > 0)
      pictures << QStringLiteral("%1 %2").arg(number).arg(what);
  };
  count(p.copied, QStringLiteral("copied"));
  count(p.linked, QStringLiteral("linked"));
  count(p.converted, QStringLiteral("converted to the front-end's format"));
  count(p.current, QStringLiteral("already in place"));
  count(p.missing, QStringLiteral("missing on disk"));
  count(p.failed, QStringLiteral("failed"));
  if (!pictures.isEmpty())
    lines << QStringLiteral("Pictures: ") + pictures.join(QStringLiteral(", ")) + QLatin1Char('.');
  const qsizetype empty = result.emptySystems.size();
  if (empty > 0 && empty <= kNamedEmptySystems)
    lines << QStringLiteral("Nothing to export in %1.").arg(result.emptySystems.join(QStringLiteral(", ")));
  else if (empty > kNamedEmptySystems)
    lines << QStringLiteral("Nothing to export in %1 systems.").arg(empty);
  if (!result.leftOut.isEmpty()) {
    lines << QStringLiteral("Left out:");
    for (const LeftOut& out : result.leftOut) {
      lines << (out.game.isEmpty() ? QStringLiteral("  %1: %2").arg(out.system, out.reason)
                                   : QStringLiteral("  %1: \"%2\": %3").arg(out.system, out.game, out.reason));
    }
  }
  if (!result.Succeeded() && !result.error.isEmpty())
    lines << QStringLiteral("Failed: ") + result.error;
  return lines;
}

}  // namespace quillon
