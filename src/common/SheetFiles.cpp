#include "common/SheetFiles.h"

#include "common/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace quillon {

namespace {

// A real cue, gdi or m3u is a few kilobytes; a file of that extension much larger is something else.
constexpr qint64 kLargestSheet = 1024 * 1024;

QStringList SheetLines(const QString& path, bool* readable)
{
  QFile file(path);
  *readable = file.size() <= kLargestSheet && file.open(QIODevice::ReadOnly);
  if (!*readable)
    return {};
  QString text = QString::fromUtf8(file.readAll());
  if (text.startsWith(QChar(0xFEFF)))
    text.remove(0, 1);
  return text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")), Qt::SkipEmptyParts);
}

// A name in double quotes, else the word at `word` (0-based, split at blanks); empty when none.
QString QuotedOrWord(const QString& text, int word)
{
  const qsizetype open = text.indexOf(QLatin1Char('"'));
  if (open >= 0) {
    const qsizetype close = text.indexOf(QLatin1Char('"'), open + 1);
    if (close > open)
      return text.mid(open + 1, close - open - 1);
  }
  const QStringList words = text.simplified().split(QLatin1Char(' '));
  return word < words.size() ? words[word] : QString();
}

// FILE "Track 01.bin" BINARY; unquoted names run to the type word at the end of the line.
QStringList CueNames(const QStringList& lines)
{
  QStringList names;
  for (const QString& line : lines) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QStringLiteral("FILE "), Qt::CaseInsensitive))
      continue;
    const QString rest = trimmed.mid(5).trimmed();
    if (rest.contains(QLatin1Char('"'))) {
      names << QuotedOrWord(rest, 0);
    } else {
      const qsizetype typeAt = rest.lastIndexOf(QLatin1Char(' '));
      names << (typeAt > 0 ? rest.left(typeAt).trimmed() : rest);
    }
  }
  return names;
}

// First line: the track count; then "number lba type sector-size name offset" per track.
QStringList GdiNames(const QStringList& lines)
{
  QStringList names;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QString track = lines[i].trimmed();
    if (track.isEmpty())
      continue;
    const QString name = track.contains(QLatin1Char('"')) ? QuotedOrWord(track, 0) : QuotedOrWord(track, 4);
    if (!name.isEmpty())
      names << name;
  }
  return names;
}

QStringList PlaylistNames(const QStringList& lines)
{
  QStringList names;
  for (const QString& line : lines) {
    const QString entry = line.trimmed();
    if (!entry.isEmpty() && !entry.startsWith(QLatin1Char('#')))
      names << entry;
  }
  return names;
}

// The existing file `name` means, relative to `folder`: exact first, then ignoring case.
QString Resolve(const QString& folder, QString name)
{
  name.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString path = QDir::cleanPath(QDir::isAbsolutePath(name) ? name : folder + QLatin1Char('/') + name);
  if (FileExists(path))
    return path;
  const QFileInfo info(path);
  const QStringList entries = info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  for (const QString& match : entries) {
    if (match.compare(info.fileName(), Qt::CaseInsensitive) == 0)
      return QDir::cleanPath(info.dir().filePath(match));
  }
  return path;
}

void AddNamed(SheetFiles& files, const QString& folder, const QStringList& names)
{
  for (const QString& name : names) {
    const QString path = Resolve(folder, name);
    files.required << path;
    if (!FileExists(path))
      files.missing << name;
  }
}

SheetFiles ReadOneSheet(const QString& path, bool followDiscs);

// A playlist's discs, and the tracks of those that are sheets.
void AddDiscs(SheetFiles& files, const QString& folder, const QStringList& names)
{
  for (const QString& name : names) {
    const QString disc = Resolve(folder, name);
    files.required << disc;
    if (!FileExists(disc)) {
      files.missing << name;
      continue;
    }
    const QString extension = ExtensionOf(disc);
    if (!IsSheetExtension(extension) || IsPlaylistExtension(extension))
      continue;
    const SheetFiles tracks = ReadOneSheet(disc, false);
    files.required << tracks.required;
    files.optional << tracks.optional;
    files.missing << tracks.missing;
  }
}

SheetFiles ReadOneSheet(const QString& path, bool followDiscs)
{
  SheetFiles files;
  const QFileInfo info(path);
  const QString folder = info.absolutePath();
  const QString extension = info.suffix().toLower();
  if (extension == QLatin1String("ccd")) {
    // CloneCD names no files: its image and subchannel data share its base name.
    files.readable = info.isFile();
    AddNamed(files, folder, {info.completeBaseName() + QStringLiteral(".img")});
    files.optional << Resolve(folder, info.completeBaseName() + QStringLiteral(".sub"))
                   << Resolve(folder, info.completeBaseName() + QStringLiteral(".cue"));
    return files;
  }
  const QStringList lines = SheetLines(path, &files.readable);
  if (extension == QLatin1String("cue"))
    AddNamed(files, folder, CueNames(lines));
  else if (extension == QLatin1String("gdi"))
    AddNamed(files, folder, GdiNames(lines));
  else if (extension == QLatin1String("m3u") && followDiscs)
    AddDiscs(files, folder, PlaylistNames(lines));
  return files;
}

}  // namespace

bool IsSheetExtension(const QString& extension)
{
  return extension.compare(QLatin1String("cue"), Qt::CaseInsensitive) == 0 ||
         extension.compare(QLatin1String("gdi"), Qt::CaseInsensitive) == 0 ||
         extension.compare(QLatin1String("ccd"), Qt::CaseInsensitive) == 0 || IsPlaylistExtension(extension);
}

bool IsPlaylistExtension(const QString& extension)
{
  return extension.compare(QLatin1String("m3u"), Qt::CaseInsensitive) == 0;
}

SheetFiles ReadSheetFiles(const QString& path)
{
  return ReadOneSheet(path, true);
}

}  // namespace quillon
