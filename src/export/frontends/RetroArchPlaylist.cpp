#include "export/frontends/RetroArchPlaylist.h"

#include "common/Paths.h"
#include "export/frontends/FrontendWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

namespace quillon {

namespace {

const QString kDetect = QStringLiteral("DETECT");
const QString kItems = QStringLiteral("items");
const QString kCorePath = QStringLiteral("core_path");
const QString kCoreName = QStringLiteral("core_name");
const QString kCrc = QStringLiteral("crc32");
constexpr int kIndentStep = 2;

// The playlist's own keys in the order RetroArch writes them, with the values of a new playlist.
const QList<QPair<QString, QJsonValue>>& PlaylistKeys()
{
  static const QList<QPair<QString, QJsonValue>> keys{
      {QStringLiteral("version"), QStringLiteral("1.5")},
      {QStringLiteral("default_core_path"), QString()},
      {QStringLiteral("default_core_name"), QString()},
      {QStringLiteral("base_content_directory"), QJsonValue::Undefined},
      {QStringLiteral("label_display_mode"), 0},
      {QStringLiteral("right_thumbnail_mode"), 0},
      {QStringLiteral("left_thumbnail_mode"), 0},
      {QStringLiteral("thumbnail_match_mode"), QJsonValue::Undefined},
      {QStringLiteral("sort_mode"), 0},
      {QStringLiteral("scan_content_dir"), QJsonValue::Undefined},
      {QStringLiteral("scan_file_exts"), QJsonValue::Undefined},
      {QStringLiteral("scan_dat_file_path"), QJsonValue::Undefined},
      {QStringLiteral("scan_search_recursively"), QJsonValue::Undefined},
      {QStringLiteral("scan_search_archives"), QJsonValue::Undefined},
      {QStringLiteral("scan_filter_dat_content"), QJsonValue::Undefined},
      {QStringLiteral("scan_overwrite_playlist"), QJsonValue::Undefined},
  };
  return keys;
}

const QStringList& ItemKeyOrder()
{
  static const QStringList keys{QStringLiteral("path"),
                                QStringLiteral("entry_slot"),
                                QStringLiteral("label"),
                                kCorePath,
                                kCoreName,
                                kCrc,
                                QStringLiteral("db_name"),
                                QStringLiteral("subsystem_ident"),
                                QStringLiteral("subsystem_name"),
                                QStringLiteral("subsystem_roms"),
                                QStringLiteral("runtime_hours"),
                                QStringLiteral("runtime_minutes"),
                                QStringLiteral("runtime_seconds"),
                                QStringLiteral("last_played_year"),
                                QStringLiteral("last_played_month"),
                                QStringLiteral("last_played_day"),
                                QStringLiteral("last_played_hour"),
                                QStringLiteral("last_played_minute"),
                                QStringLiteral("last_played_second")};
  return keys;
}

QString JsonString(const QString& text)
{
  QString out = QStringLiteral("\"");
  out.reserve(text.size() + 2);
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '"':
        out += QStringLiteral("\\\"");
        break;
      case '\\':
        out += QStringLiteral("\\\\");
        break;
      case '\n':
        out += QStringLiteral("\\n");
        break;
      case '\r':
        out += QStringLiteral("\\r");
        break;
      case '\t':
        out += QStringLiteral("\\t");
        break;
      default:
        if (c.unicode() < 0x20)
          out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
          out += c;
    }
  }
  return out + QLatin1Char('"');
}

void WriteValue(const QJsonValue& value, int depth, QString& out, const QStringList& keyOrder = {});

void WriteObject(const QJsonObject& object, int depth, QString& out, const QStringList& keyOrder)
{
  QStringList keys;
  for (const QString& key : keyOrder) {
    if (object.contains(key))
      keys << key;
  }
  for (const QString& key : object.keys()) {
    if (!keys.contains(key))
      keys << key;
  }
  if (keys.isEmpty()) {
    out += QStringLiteral("{}");
    return;
  }
  const QString inner((depth + 1) * kIndentStep, QLatin1Char(' '));
  out += QStringLiteral("{\n");
  for (int i = 0; i < keys.size(); ++i) {
    out += inner + JsonString(keys[i]) + QStringLiteral(": ");
    WriteValue(object.value(keys[i]), depth + 1, out);
    out += i + 1 < keys.size() ? QStringLiteral(",\n") : QStringLiteral("\n");
  }
  out += QString(depth * kIndentStep, QLatin1Char(' ')) + QLatin1Char('}');
}

void WriteArray(const QJsonArray& array, int depth, QString& out, const QStringList& elementKeyOrder)
{
  if (array.isEmpty()) {
    out += QStringLiteral("[]");
    return;
  }
  const QString inner((depth + 1) * kIndentStep, QLatin1Char(' '));
  out += QStringLiteral("[\n");
  for (qsizetype i = 0; i < array.size(); ++i) {
    out += inner;
    WriteValue(array.at(i), depth + 1, out, elementKeyOrder);
    out += i + 1 < array.size() ? QStringLiteral(",\n") : QStringLiteral("\n");
  }
  out += QString(depth * kIndentStep, QLatin1Char(' ')) + QLatin1Char(']');
}

void WriteValue(const QJsonValue& value, int depth, QString& out, const QStringList& keyOrder)
{
  switch (value.type()) {
    case QJsonValue::String:
      out += JsonString(value.toString());
      return;
    case QJsonValue::Double: {
      const double number = value.toDouble();
      out += std::trunc(number) == number && std::abs(number) < 1e15 ? QString::number(qint64(number))
                                                                     : QString::number(number, 'g', 17);
      return;
    }
    case QJsonValue::Bool:
      out += value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
      return;
    case QJsonValue::Array:
      WriteArray(value.toArray(), depth, out, {});
      return;
    case QJsonValue::Object:
      WriteObject(value.toObject(), depth, out, keyOrder);
      return;
    default:
      out += QStringLiteral("null");
  }
}

QByteArray WithoutBom(const QByteArray& content)
{
  return content.startsWith("\xEF\xBB\xBF") ? content.mid(3) : content;
}

// The file an entry stands for: RetroArch's scanner writes archive members as "Game.zip#Game.sfc".
QString EntryFile(const QString& path)
{
  const qsizetype member = path.indexOf(QLatin1Char('#'));
  return QDir::cleanPath(member < 0 ? path : path.left(member));
}

QJsonObject UpdatedItem(QJsonObject item, const RetroArchItem& ours)
{
  item.insert(QStringLiteral("label"), ours.label);
  if (!ours.corePath.isEmpty()) {
    item.insert(kCorePath, ours.corePath);
    item.insert(kCoreName, ours.coreName);
  } else if (item.value(kCorePath).toString().isEmpty() || item.value(kCoreName).toString().isEmpty()) {
    item.insert(kCorePath, kDetect);
    item.insert(kCoreName, kDetect);
  }
  if (item.value(kCrc).toString().isEmpty())
    item.insert(kCrc, kDetect);
  item.insert(QStringLiteral("db_name"), ours.dbName);
  return item;
}

QJsonObject NewItem(const RetroArchItem& ours)
{
  QJsonObject item;
  item.insert(QStringLiteral("path"), ours.path);
  return UpdatedItem(item, ours);
}

// "key = "value"" settings of retroarch.cfg; empty when unset or "default".
QString ConfiguredFolder(const QString& configFolder, const QString& key)
{
  QFile config(QDir(configFolder).filePath(QStringLiteral("retroarch.cfg")));
  if (!config.open(QIODevice::ReadOnly | QIODevice::Text))
    return {};
  const QRegularExpression line(QStringLiteral("^\\s*") + QRegularExpression::escape(key) +
                                QStringLiteral("\\s*=\\s*\"([^\"]*)\""));
  while (!config.atEnd()) {
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(config.readLine()));
    if (!match.hasMatch())
      continue;
    QString folder = match.captured(1).trimmed();
    if (folder.startsWith(QLatin1Char('~')))
      folder = QDir::homePath() + folder.mid(1);
    // "default", and folders relative to the program (":/..."), are RetroArch's own choice.
    return QFileInfo(folder).isAbsolute() ? folder : QString();
  }
  return {};
}

QString FolderOf(const QString& configFolder, const QString& key, const QString& fallback)
{
  QString folder = ConfiguredFolder(configFolder, key);
  if (folder.isEmpty())
    folder = QDir(configFolder).filePath(fallback);
  return Check4Slash(folder);
}

QString InfoDisplayName(const QString& infoFile)
{
  QFile info(infoFile);
  if (!info.open(QIODevice::ReadOnly | QIODevice::Text))
    return {};
  static const QRegularExpression line(QStringLiteral("^\\s*display_name\\s*=\\s*\"([^\"]*)\""));
  while (!info.atEnd()) {
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(info.readLine()));
    if (match.hasMatch())
      return match.captured(1).trimmed();
  }
  return {};
}

class RetroArchWriter final : public FrontendWriter {
 public:
  explicit RetroArchWriter(const QString& configFolder)
      : m_playlists(RetroArchPlaylistFolder(configFolder)), m_thumbnails(RetroArchThumbnailFolder(configFolder))
  {
  }

  QString NameOf(const SystemNames& names) const override { return names.retroArch; }

  QString FileOf(const FrontendSystem&, const QString& name, const ExportedGame& game, QString* reason) const override
  {
    if (game.path.isEmpty()) {
      *reason = QStringLiteral("its file lies outside the system's ROM folders");
      return {};
    }
    return m_playlists + name + QStringLiteral(".lpl");
  }

  PictureSpot PictureSpotOf(const FrontendTarget& target, const TargetGame& game) const override
  {
    return {m_thumbnails + ThumbnailSystemFolder(target.name) + QStringLiteral("/Named_Boxarts/") +
                ThumbnailName(game.game->title),
            {QStringLiteral("png")}};
  }

  bool AcceptsExisting(const QByteArray& existing, QString* error) override { return IsJsonPlaylist(existing, error); }

  QByteArray Content(const FrontendTarget& target, const QByteArray& existing) override
  {
    std::vector<RetroArchItem> items;
    items.reserve(target.games.size());
    QHash<const FrontendSystem*, QString> coreNames;
    for (const TargetGame& entry : target.games) {
      const SystemNames& names = entry.system->names;
      if (!coreNames.contains(entry.system)) {
        coreNames.insert(entry.system, names.retroArchCoreName.isEmpty() && !names.retroArchCore.isEmpty()
                                           ? CoreDisplayName(names.retroArchCore)
                                           : names.retroArchCoreName);
      }
      items.push_back({entry.game->path, entry.game->title, names.retroArchCore,
                       names.retroArchCore.isEmpty() ? QString() : coreNames.value(entry.system),
                       target.name + QStringLiteral(".lpl")});
    }
    return MergeRetroArchPlaylist(existing, items);
  }

 private:
  QString m_playlists;
  QString m_thumbnails;
};

}  // namespace

QString ThumbnailSystemFolder(const QString& playlistName)
{
  const QString name = playlistName.section(QLatin1Char('|'), 0, 0);
  return name.startsWith(QStringLiteral("MAME")) ? QStringLiteral("MAME") : name;
}

QString CoreDisplayName(const QString& corePath)
{
  const QFileInfo core(corePath);
  const QString stem = core.completeBaseName();
  const QStringList infoFolders{core.absolutePath(), RetroArchDefaultConfigFolder() + QStringLiteral("/cores"),
                                RetroArchDefaultConfigFolder() + QStringLiteral("/info"),
                                QStringLiteral("/usr/share/libretro/info")};
  for (const QString& folder : infoFolders) {
    const QString name = InfoDisplayName(folder + QLatin1Char('/') + stem + QStringLiteral(".info"));
    if (!name.isEmpty())
      return name;
  }
  QString name = stem;
  name.remove(QRegularExpression(QStringLiteral("_libretro$")));
  return name;
}

bool IsJsonPlaylist(const QByteArray& existing, QString* error)
{
  const QByteArray content = WithoutBom(existing);
  if (!content.trimmed().startsWith('{')) {
    *error = QStringLiteral("it is a playlist in RetroArch's old line format; RetroArch converts it when it saves it");
    return false;
  }
  QJsonParseError parse;
  const QJsonDocument document = QJsonDocument::fromJson(content, &parse);
  if (document.isNull() || !document.isObject()) {
    *error =
        QStringLiteral("it is not a playlist we can read (%1 at byte %2)").arg(parse.errorString()).arg(parse.offset);
    return false;
  }
  return true;
}

QByteArray MergeRetroArchPlaylist(const QByteArray& existing, const std::vector<RetroArchItem>& items)
{
  const QJsonObject old = QJsonDocument::fromJson(WithoutBom(existing)).object();
  QJsonArray entries = old.value(kItems).toArray();
  QHash<QString, qsizetype> listed;
  for (qsizetype i = 0; i < entries.size(); ++i) {
    if (entries.at(i).isObject())
      listed.insert(EntryFile(entries.at(i).toObject().value(QStringLiteral("path")).toString()), i);
  }
  for (const RetroArchItem& item : items) {
    const QString key = EntryFile(item.path);
    const auto found = listed.constFind(key);
    if (found != listed.constEnd()) {
      entries.replace(*found, UpdatedItem(entries.at(*found).toObject(), item));
    } else {
      listed.insert(key, entries.size());
      entries.append(NewItem(item));
    }
  }

  QString out = QStringLiteral("{\n");
  const QString indent(kIndentStep, QLatin1Char(' '));
  QStringList written;
  const auto add = [&](const QString& key, const QJsonValue& value, const QStringList& order = {}) {
    out += indent + JsonString(key) + QStringLiteral(": ");
    WriteValue(value, 1, out, order);
    out += QStringLiteral(",\n");
    written << key;
  };
  for (const auto& [key, fresh] : PlaylistKeys()) {
    // Our format's version; the settings the user chose in RetroArch stay.
    const QJsonValue value = key == QStringLiteral("version") || !old.contains(key) ? fresh : old.value(key);
    if (!value.isUndefined())
      add(key, value);
  }
  for (const QString& key : old.keys()) {
    if (!written.contains(key) && key != kItems)
      add(key, old.value(key));
  }
  out += indent + JsonString(kItems) + QStringLiteral(": ");
  WriteArray(entries, 1, out, ItemKeyOrder());
  out += QStringLiteral("\n}\n");
  return out.toUtf8();
}

QString RetroArchDefaultConfigFolder()
{
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  const QString native =
      (xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : xdg) + QStringLiteral("/retroarch");
  const QString flatpak = QDir::homePath() + QStringLiteral("/.var/app/org.libretro.RetroArch/config/retroarch");
  return !QFileInfo(native).isDir() && QFileInfo(flatpak).isDir() ? flatpak : native;
}

QString RetroArchPlaylistFolder(const QString& configFolder)
{
  return FolderOf(configFolder, QStringLiteral("playlist_directory"), QStringLiteral("playlists"));
}

QString RetroArchThumbnailFolder(const QString& configFolder)
{
  return FolderOf(configFolder, QStringLiteral("thumbnails_directory"), QStringLiteral("thumbnails"));
}

std::unique_ptr<FrontendWriter> MakeRetroArchWriter(const QString& configFolder)
{
  return std::make_unique<RetroArchWriter>(configFolder);
}

}  // namespace quillon
