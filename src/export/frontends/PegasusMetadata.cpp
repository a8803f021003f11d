#include "export/frontends/PegasusMetadata.h"

#include "common/EmulatorCommand.h"
#include "export/frontends/FrontendWriter.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace quillon {

namespace {

const QString kMetadataFileName = QStringLiteral("metadata.pegasus.txt");
const QString kIndent = QStringLiteral("  ");

bool IsLineBreak(QChar c)
{
  return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x0B) || c == QChar(0x0C) || c == QChar(0x85) ||
         c == QChar(0x2028) || c == QChar(0x2029);
}

// A value on one line: line breaks become blanks (Pegasus reads only the first line of a title).
QString SingleLine(QString text)
{
  for (QChar& c : text) {
    if (IsLineBreak(c))
      c = QLatin1Char(' ');
  }
  return text.trimmed();
}

void AddValue(QStringList& lines, const QString& key, const QString& value)
{
  const QString line = SingleLine(value);
  if (!line.isEmpty())
    lines << key + QStringLiteral(": ") + line;
}

// A list: the first item on the key's line, each further item on a line of its own.
void AddList(QStringList& lines, const QString& key, const QStringList& values)
{
  bool first = true;
  for (const QString& value : values) {
    const QString item = SingleLine(value);
    if (item.isEmpty())
      continue;
    lines << (first ? key + QStringLiteral(": ") : kIndent) + item;
    first = false;
  }
}

void AddText(QStringList& lines, const QString& key, const QString& text)
{
  const QStringList paragraphs = PegasusDescriptionLines(text);
  if (paragraphs.isEmpty())
    return;
  lines << key + QLatin1Char(':');
  for (const QString& line : paragraphs)
    lines << kIndent + line;
}

QStringList CollectionLines(const PegasusCollection& collection)
{
  QStringList lines{kPegasusHeader};
  AddValue(lines, QStringLiteral("collection"), collection.name);
  AddValue(lines, QStringLiteral("shortname"), collection.shortName);
  if (!collection.extensions.isEmpty())
    AddValue(lines, QStringLiteral("extensions"), collection.extensions.join(QStringLiteral(", ")));
  AddValue(lines, QStringLiteral("launch"), collection.launch);
  AddValue(lines, QStringLiteral("workdir"), collection.workdir);
  return lines;
}

QStringList GameLines(const PegasusGame& game)
{
  QStringList lines;
  AddValue(lines, QStringLiteral("game"), game.title);
  AddValue(lines, QStringLiteral("file"), game.file);
  AddValue(lines, QStringLiteral("developer"), game.developer);
  AddList(lines, QStringLiteral("genre"), game.genres);
  AddValue(lines, QStringLiteral("release"), game.release);
  AddValue(lines, QStringLiteral("rating"), game.rating);
  AddValue(lines, QStringLiteral("x-region"), game.region);
  AddText(lines, QStringLiteral("description"), game.description);
  AddValue(lines, QStringLiteral("assets.boxFront"), game.boxFront);
  AddValue(lines, QStringLiteral("launch"), game.launch);
  AddValue(lines, QStringLiteral("workdir"), game.workdir);
  return lines;
}

QString Quoted(const QString& program)
{
  for (const QChar c : program) {
    if (c.isSpace())
      return QLatin1Char('"') + program + QLatin1Char('"');
  }
  return program;
}

// A path as Pegasus reads it from the metadata file in `folder`: "./" + the path below the
// folder (so a name like "Ab:cd.nes" is not taken for an address), else the absolute path, which
// resolves wherever the metadata file is moved.
QString PathFrom(const QString& folder, const QString& path)
{
  const QString relative = QDir(folder).relativeFilePath(path);
  if (QFileInfo(relative).isAbsolute() || relative == QStringLiteral("..") ||
      relative.startsWith(QStringLiteral("../")))
    return path;
  return QStringLiteral("./") + relative;
}

QString WithoutLastExtension(const QString& path)
{
  const QString suffix = QFileInfo(path).suffix();
  return suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
}

QString RatingPercent(std::optional<int> rating)
{
  return rating ? QString::number(std::clamp(*rating, 0, 10) * 10) + QLatin1Char('%') : QString();
}

QString EffectiveEmulator(const TargetGame& entry)
{
  return entry.game->emulator.isEmpty() ? entry.system->emulator : entry.game->emulator;
}

class PegasusWriter final : public FrontendWriter {
 public:
  explicit PegasusWriter(const QString& folder) : m_folder(folder) {}

  QString NameOf(const SystemNames& names) const override { return names.pegasus; }

  QString FileOf(const FrontendSystem& system, const QString& name, const ExportedGame& game,
                 QString* reason) const override
  {
    if (std::any_of(game.path.begin(), game.path.end(), IsLineBreak)) {
      *reason = QStringLiteral("its file name holds a line break, which Pegasus cannot read");
      return {};
    }
    if (game.path.isEmpty() || game.path.back().isSpace()) {
      *reason = QStringLiteral("its file name ends in a blank, which Pegasus drops");
      return {};
    }
    if (!m_folder.isEmpty())
      return QDir(m_folder).filePath(name + QLatin1Char('/') + kMetadataFileName);
    const QString folder = game.romFolder.isEmpty() ? system.romFolders.value(0) : game.romFolder;
    if (folder.isEmpty()) {
      *reason = QStringLiteral("it has no ROM folder to hold Pegasus's metadata file");
      return {};
    }
    return folder + kMetadataFileName;
  }

  // Pictures go to media/boxFront/ under the ROM's name: one folder for all (a folder per game, as
  // Pegasus would look for them without the metadata's asset lines, costs a second per 10,000).
  PictureSpot PictureSpotOf(const FrontendTarget& target, const TargetGame& entry) const override
  {
    const ExportedGame& game = *entry.game;
    const QString folder = QFileInfo(target.file).absolutePath();
    QString key = QDir(folder).relativeFilePath(game.path);
    if (key.startsWith(QStringLiteral("../")) || QFileInfo(key).isAbsolute())
      key =
          game.romFolder.isEmpty() ? QFileInfo(game.path).fileName() : QDir(game.romFolder).relativeFilePath(game.path);
    if (key.startsWith(QStringLiteral("../")))
      key = QFileInfo(game.path).fileName();
    return {folder + QStringLiteral("/media/boxFront/") + WithoutLastExtension(key),
            {QStringLiteral("png"), QStringLiteral("jpg")}};
  }

  bool AcceptsExisting(const QByteArray& existing, QString* error) override
  {
    QByteArray text = existing;
    if (text.startsWith("\xEF\xBB\xBF"))
      text.remove(0, 3);
    const qsizetype end = text.indexOf('\n');
    if (QString::fromUtf8(end < 0 ? text : text.left(end)).trimmed() == kPegasusHeader)
      return true;
    *error = QStringLiteral("it was not written by Quillon (move it away to export there)");
    return false;
  }

  QByteArray Content(const FrontendTarget& target, const QByteArray&) override
  {
    const QString folder = QFileInfo(target.file).absolutePath();
    const FrontendSystem& first = *target.games.front().system;
    PegasusCollection collection{first.name, target.name, {}, {}, {}};
    collection.launch = PegasusLaunch(first.emulator, &collection.workdir);
    std::vector<PegasusGame> games;
    games.reserve(target.games.size());
    for (const TargetGame& entry : target.games) {
      for (const QString& extension : entry.system->extensions) {
        if (!collection.extensions.contains(extension, Qt::CaseInsensitive))
          collection.extensions << extension;
      }
      const ExportedGame& game = *entry.game;
      PegasusGame out{game.title,
                      PathFrom(folder, game.path),
                      game.maker,
                      game.genres,
                      game.year,
                      RatingPercent(game.rating),
                      game.overview,
                      game.country,
                      entry.picture.isEmpty() ? QString() : PathFrom(folder, entry.picture),
                      {},
                      {}};
      const QString emulator = EffectiveEmulator(entry);
      if (emulator != first.emulator)
        out.launch = PegasusLaunch(emulator, &out.workdir);
      games.push_back(std::move(out));
    }
    return PegasusMetadataText(collection, games);
  }

 private:
  QString m_folder;
};

}  // namespace

QString PegasusLaunch(const QString& emulatorCommand, QString* workdir)
{
  const EmulatorCommand command = SplitEmulator(emulatorCommand.trimmed());
  const QString program = command.program.trimmed();
  if (program.isEmpty())
    return {};
  if (workdir && QFileInfo(program).isAbsolute())
    *workdir = QFileInfo(program).absolutePath();
  QString launch = Quoted(program);
  if (!command.options.trimmed().isEmpty())
    launch += QLatin1Char(' ') + command.options.trimmed();
  return launch + QStringLiteral(" \"{file.path}\"");
}

QStringList PegasusDescriptionLines(const QString& text)
{
  QStringList lines;
  bool pendingBreak = false;
  for (QString paragraph : text.split(QStringLiteral("\n\n"))) {
    paragraph.replace(QStringLiteral("\\n"), QStringLiteral("\\\\n"));
    paragraph.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    paragraph.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
    paragraph = paragraph.trimmed();
    // Every paragraph after the first starts with the break; an empty one adds only its break.
    if (pendingBreak)
      lines << QStringLiteral(".");
    pendingBreak = true;
    if (!paragraph.isEmpty())
      lines << paragraph;
  }
  while (!lines.isEmpty() && lines.front() == QStringLiteral("."))
    lines.removeFirst();
  while (!lines.isEmpty() && lines.back() == QStringLiteral("."))
    lines.removeLast();
  return lines;
}

QByteArray PegasusMetadataText(const PegasusCollection& collection, const std::vector<PegasusGame>& games)
{
  QString out = CollectionLines(collection).join(QLatin1Char('\n')) + QLatin1Char('\n');
  for (const PegasusGame& game : games)
    out += QLatin1Char('\n') + GameLines(game).join(QLatin1Char('\n')) + QLatin1Char('\n');
  return out.toUtf8();
}

std::unique_ptr<FrontendWriter> MakePegasusWriter(const QString& folder)
{
  return std::make_unique<PegasusWriter>(folder);
}

}  // namespace quillon
