#include "FrontendReaders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace quillon::test {

namespace {

QByteArray ReadAll(const QString& path, QStringList& errors)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    errors << QStringLiteral("cannot open %1").arg(path);
    return {};
  }
  return file.readAll();
}

bool Matches(const QString& pattern, const QString& text)
{
  return QRegularExpression(QStringLiteral("^(?:") + pattern + QStringLiteral(")$")).match(text).hasMatch();
}

// ---- ES-DE ----

// pugixml reads several top-level elements; a wrapper lets the stream reader do the same.
QByteArray AsFragment(QByteArray content)
{
  static const QRegularExpression declaration(QStringLiteral("^<\\?xml[^?]*\\?>"));
  QString text = QString::fromUtf8(content);
  text.remove(declaration);
  return "<fragment>" + text.toUtf8() + "</fragment>";
}

void ReadEsdeGame(QXmlStreamReader& xml, const QString& romFolder, EsdeGamelist& list)
{
  EsdeEntry entry;
  while (xml.readNextStartElement()) {
    const QString name = xml.name().toString();
    if (entry.fields.contains(name))
      list.errors << QStringLiteral("a game has two <%1>").arg(name);
    entry.fields.insert(name, xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement));
  }
  entry.path = entry.fields.take(QStringLiteral("path"));
  if (!entry.path.startsWith(QStringLiteral("./"))) {
    list.errors << QStringLiteral("path \"%1\" does not start with ./: ES-DE does not find it").arg(entry.path);
  } else {
    entry.file = QDir(romFolder).filePath(entry.path.mid(2));
    if (!QFileInfo(entry.file).isFile())
      list.errors << QStringLiteral("%1 does not exist: ES-DE skips the entry").arg(entry.file);
  }
  if (entry.fields.contains(QStringLiteral("rating"))) {
    bool ok = false;
    const double rating = entry.fields.value(QStringLiteral("rating")).toDouble(&ok);
    if (!ok || rating < 0 || rating > 1)
      list.errors << QStringLiteral("rating %1 is not 0 to 1").arg(entry.fields.value(QStringLiteral("rating")));
  }
  const QString date = entry.fields.value(QStringLiteral("releasedate"));
  if (entry.fields.contains(QStringLiteral("releasedate")) &&
      (!Matches(QStringLiteral("\\d{8}T\\d{6}"), date) || date < QStringLiteral("19700102T000000")))
    list.errors << QStringLiteral("release date %1 shows as unknown").arg(date);
  list.games << entry;
}

// ---- Pegasus ----

const QStringList kGameKeys{"game",       "file",        "files",     "developer", "developers", "publisher",
                            "publishers", "genre",       "genres",    "tag",       "tags",       "players",
                            "summary",    "description", "release",   "rating",    "launch",     "command",
                            "workdir",    "cwd",         "sorttitle", "sortname",  "sort-by",    "sort_by"};
const QStringList kCollectionKeys{
    "collection",        "shortname",   "launch",       "command",      "workdir", "cwd",         "directory",
    "directories",       "extension",   "extensions",   "file",         "files",   "regex",       "ignore-extension",
    "ignore-extensions", "ignore-file", "ignore-files", "ignore-regex", "summary", "description", "sortby",
    "sort_by",           "sort-by"};
const QStringList kSingleValueKeys{"game",      "collection", "shortname", "players", "release", "rating",
                                   "sorttitle", "sortname",   "workdir",   "cwd",     "regex"};
const QStringList kListKeys{"file",  "files",  "developer", "developers", "publisher", "publishers",
                            "genre", "genres", "tag",       "tags",       "directory", "directories"};

QString MergeLines(const QStringList& lines)
{
  QString out;
  for (const QString& line : lines) {
    if (line == QStringLiteral(".")) {
      out += QStringLiteral("\n\n");
      continue;
    }
    if (!out.isEmpty() && !out.endsWith(QLatin1Char('\n')))
      out += QLatin1Char(' ');
    out += line;
  }
  return out;
}

// "\n" becomes a line break, "\\n" a typed "\n".
QString ReplaceNewlines(const QString& text)
{
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('\\') && i + 2 < text.size() && text[i + 1] == QLatin1Char('\\') &&
        text[i + 2] == QLatin1Char('n')) {
      out += QStringLiteral("\\n");
      i += 2;
    } else if (text[i] == QLatin1Char('\\') && i + 1 < text.size() && text[i + 1] == QLatin1Char('n')) {
      out += QLatin1Char('\n');
      i += 1;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool IsPegasusUri(const QString& value)
{
  return Matches(QStringLiteral("[a-zA-Z][a-zA-Z0-9+.-]+:.+"), value);
}

void CheckPegasusPath(const QString& key, const QString& value, const QString& folder, QStringList& errors)
{
  if (IsPegasusUri(value)) {
    errors << QStringLiteral("%1 \"%2\" is read as an address").arg(key, value);
    return;
  }
  const QString path = QFileInfo(value).isAbsolute() ? value : QDir(folder).filePath(value);
  if (!QFileInfo::exists(path))
    errors << QStringLiteral("%1 %2 does not exist").arg(key, path);
}

void CheckPegasusEntry(const PegasusEntry& entry, const QString& folder, QStringList& errors)
{
  const bool game = entry.kind == QStringLiteral("game");
  for (auto it = entry.values.cbegin(); it != entry.values.cend(); ++it) {
    const QString& key = it.key();
    const bool known = (game ? kGameKeys : kCollectionKeys).contains(key) ||
                       (game && (key.startsWith(QStringLiteral("assets.")) || key.startsWith(QStringLiteral("x-"))));
    if (!known)
      errors << QStringLiteral("unrecognized %1 property %2").arg(entry.kind, key);
    if (kSingleValueKeys.contains(key) && it.value().size() > 1)
      errors << QStringLiteral("%1 takes one line, has %2").arg(key).arg(it.value().size());
    if (game && (key == QStringLiteral("file") || key == QStringLiteral("files") ||
                 key.startsWith(QStringLiteral("assets.")))) {
      for (const QString& value : it.value())
        CheckPegasusPath(key, value, folder, errors);
    }
  }
  if (!game)
    return;
  if (!entry.values.contains(QStringLiteral("file")) && !entry.values.contains(QStringLiteral("files")))
    errors << QStringLiteral("game %1 has no file").arg(entry.Value(QStringLiteral("game")));
  const QString release = entry.Value(QStringLiteral("release"));
  if (!release.isEmpty() && !Matches(QStringLiteral("\\d{4}(-\\d{1,2}(-\\d{1,2})?)?"), release))
    errors << QStringLiteral("release %1 is not a date").arg(release);
  const QString rating = entry.Value(QStringLiteral("rating"));
  if (!rating.isEmpty() && !Matches(QStringLiteral("\\d{1,3}%|\\d(\\.\\d+)?"), rating))
    errors << QStringLiteral("rating %1 is not a rating").arg(rating);
}

// ---- RetroArch ----

QString Stem(const QString& name)
{
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.left(dot);
}

}  // namespace

EsdeGamelist ReadEsdeGamelist(const QString& file, const QString& romFolder)
{
  EsdeGamelist list;
  QXmlStreamReader xml(AsFragment(ReadAll(file, list.errors)));
  xml.readNextStartElement();  // the wrapper
  bool sawGameList = false;
  while (xml.readNextStartElement()) {
    list.topLevel << xml.name().toString();
    if (xml.name() != QStringLiteral("gameList")) {
      xml.skipCurrentElement();
      continue;
    }
    sawGameList = true;
    while (xml.readNextStartElement()) {
      if (xml.name() == QStringLiteral("game"))
        ReadEsdeGame(xml, romFolder, list);
      else
        xml.skipCurrentElement();
    }
  }
  if (xml.hasError())
    list.errors << QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
  if (!sawGameList)
    list.errors << QStringLiteral("no <gameList>: ES-DE ignores the file");
  return list;
}

QString PegasusEntry::Text(const QString& key) const
{
  const QString merged = MergeLines(values.value(key));
  return key == QStringLiteral("description") || key == QStringLiteral("summary") ? ReplaceNewlines(merged) : merged;
}

QList<PegasusEntry> PegasusMetadata::Games() const
{
  QList<PegasusEntry> games;
  for (const PegasusEntry& entry : entries) {
    if (entry.kind == QStringLiteral("game"))
      games << entry;
  }
  return games;
}

PegasusMetadata ReadPegasusMetadata(const QString& file)
{
  PegasusMetadata metadata;
  const QString text = QString::fromUtf8(ReadAll(file, metadata.errors));
  QString key;
  bool inEntry = false;
  const auto closeAttribute = [&] {
    if (inEntry && !key.isEmpty() && metadata.entries.back().values.value(key).join(QString()).isEmpty())
      metadata.errors << QStringLiteral("attribute value missing: %1").arg(key);
    key.clear();
  };
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (int number = 0; number < lines.size(); ++number) {
    const QString& line = lines[number];
    if (line.startsWith(QLatin1Char('#')))
      continue;
    if (line.trimmed().isEmpty()) {
      closeAttribute();
      inEntry = false;
      continue;
    }
    if (line.front().isSpace()) {
      if (!inEntry || key.isEmpty())
        metadata.errors << QStringLiteral("line %1: a continuation without a key").arg(number + 1);
      else
        metadata.entries.back().values[key] << line.trimmed();
      continue;
    }
    closeAttribute();
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0) {
      metadata.errors << QStringLiteral("line %1: no key").arg(number + 1);
      continue;
    }
    key = line.left(colon).trimmed().toLower();
    const QString value = line.mid(colon + 1).trimmed();
    if (key == QStringLiteral("game") || key == QStringLiteral("collection")) {
      if (key == QStringLiteral("game") && !std::any_of(metadata.entries.begin(), metadata.entries.end(),
                                                        [](const PegasusEntry& e) { return e.kind == "collection"; }))
        metadata.errors << QStringLiteral("line %1: a game before any collection").arg(number + 1);
      metadata.entries << PegasusEntry{key, {}};
      inEntry = true;
    } else if (!inEntry) {
      metadata.errors << QStringLiteral("line %1: %2 outside an entry is ignored").arg(number + 1).arg(key);
      continue;
    }
    metadata.entries.back().values[key];
    if (!value.isEmpty())
      metadata.entries.back().values[key] << value;
  }
  closeAttribute();
  for (const PegasusEntry& entry : metadata.entries)
    CheckPegasusEntry(entry, QFileInfo(file).absolutePath(), metadata.errors);
  return metadata;
}

RetroArchPlaylistFile ReadRetroArchPlaylist(const QString& file)
{
  RetroArchPlaylistFile playlist;
  const QByteArray content = ReadAll(file, playlist.errors);
  if (!content.trimmed().startsWith('{'))
    playlist.errors << QStringLiteral("not a JSON playlist: RetroArch reads it as the old line format");
  QJsonParseError parse;
  playlist.root = QJsonDocument::fromJson(content, &parse).object();
  if (parse.error != QJsonParseError::NoError)
    playlist.errors << parse.errorString();
  const QList<QPair<QString, int>> modes{
      {"label_display_mode", 6}, {"right_thumbnail_mode", 5}, {"left_thumbnail_mode", 5}, {"sort_mode", 2}};
  for (const QString key : {"version", "default_core_path", "default_core_name"}) {
    if (!playlist.root.value(key).isString())
      playlist.errors << QStringLiteral("%1 missing").arg(key);
  }
  for (const auto& [key, last] : modes) {
    const QJsonValue value = playlist.root.value(key);
    if (!value.isDouble() || value.toInt() < 0 || value.toInt() > last)
      playlist.errors << QStringLiteral("%1 is not a mode").arg(key);
  }
  const QString playlistName = QFileInfo(file).fileName();
  for (const QJsonValue& value : playlist.root.value(QStringLiteral("items")).toArray()) {
    const QJsonObject item = value.toObject();
    RetroArchEntry entry{item.value("path").toString(),      item.value("label").toString(),
                         item.value("core_path").toString(), item.value("core_name").toString(),
                         item.value("crc32").toString(),     item.value("db_name").toString()};
    for (const QString key : {"path", "label", "core_path", "core_name", "crc32", "db_name"}) {
      if (!item.value(key).isString())
        playlist.errors << QStringLiteral("an item has no %1").arg(key);
    }
    const QString file = entry.path.section(QLatin1Char('#'), 0, 0);
    if (!QFileInfo(file).isAbsolute() || !QFileInfo(file).isFile())
      playlist.errors << QStringLiteral("%1 is not an existing file").arg(entry.path);
    if ((entry.corePath == QStringLiteral("DETECT")) != (entry.coreName == QStringLiteral("DETECT")) ||
        entry.corePath.isEmpty() || entry.coreName.isEmpty())
      playlist.errors
          << QStringLiteral("core %1 / %2 is neither DETECT nor a core").arg(entry.corePath, entry.coreName);
    if (!entry.crc32.isEmpty() && entry.crc32 != QStringLiteral("DETECT") &&
        !Matches(QStringLiteral("[0-9A-F]{8}\\|crc"), entry.crc32))
      playlist.errors << QStringLiteral("crc32 %1").arg(entry.crc32);
    if (entry.dbName != playlistName)
      playlist.errors << QStringLiteral("db_name %1 is not %2").arg(entry.dbName, playlistName);
    playlist.items << entry;
  }
  if (!playlist.root.value(QStringLiteral("items")).isArray())
    playlist.errors << QStringLiteral("no items");
  return playlist;
}

QString RetroArchBoxartPath(const QString& thumbnails, const QString& playlistFile, const QString& label)
{
  QString system = Stem(QFileInfo(playlistFile).fileName()).section(QLatin1Char('|'), 0, 0);
  if (system.startsWith(QStringLiteral("MAME")))
    system = QStringLiteral("MAME");
  QString name = label;
  for (const QChar c : QStringLiteral("&*/:`\"<>?\\|"))
    name.replace(c, QLatin1Char('_'));
  return QDir(thumbnails).filePath(system + QStringLiteral("/Named_Boxarts/") + name + QStringLiteral(".png"));
}

}  // namespace quillon::test
