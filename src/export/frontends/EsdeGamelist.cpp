#include "export/frontends/EsdeGamelist.h"

#include "common/Paths.h"
#include "export/frontends/FrontendWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace quillon {

namespace {

const QString kGameList = QStringLiteral("gameList");
const QString kGame = QStringLiteral("game");
const QString kPath = QStringLiteral("path");
const QString kOutsideRomFolders = QStringLiteral("its file lies outside the system's ROM folders");
// ES-DE reads dates through the local calendar: the first day it can show is 2 January 1970.
constexpr int kFirstShownYear = 1970;

// The owned fields of a game, in the order ES-DE writes them.
QList<QPair<QString, QString>> OwnedFields(const EsdeGame& game)
{
  return {{QStringLiteral("name"), game.name},           {QStringLiteral("desc"), game.desc},
          {QStringLiteral("rating"), game.rating},       {QStringLiteral("releasedate"), game.releaseDate},
          {QStringLiteral("developer"), game.developer}, {QStringLiteral("genre"), game.genre}};
}

XmlNode NewGameNode(const EsdeGame& game)
{
  XmlNode node = XmlNode::Element(kGame);
  node.children.push_back(XmlNode::Element(kPath, game.path));
  for (const auto& [field, value] : OwnedFields(game)) {
    if (!value.isEmpty())
      node.children.push_back(XmlNode::Element(field, value));
  }
  return node;
}

void UpdateGameNode(XmlNode& node, const EsdeGame& game)
{
  for (const auto& [field, value] : OwnedFields(game)) {
    if (value.isEmpty())
      continue;
    if (XmlNode* child = node.Child(field))
      child->SetText(value);
    else
      node.children.push_back(XmlNode::Element(field, value));
  }
}

XmlNode& GameListOf(std::vector<XmlNode>& nodes)
{
  for (XmlNode& node : nodes) {
    if (node.kind == XmlNode::Kind::Element && node.name == kGameList)
      return node;
  }
  nodes.push_back(XmlNode::Element(kGameList));
  return nodes.back();
}

// The file's path below its ROM folder; empty when it lies outside.
QString RelativePath(const ExportedGame& game)
{
  if (game.romFolder.isEmpty())
    return {};
  // Both are clean paths: the file lies in the folder when its path starts with the folder's.
  const QString folder = QDir::cleanPath(game.romFolder) + QLatin1Char('/');
  return game.path.startsWith(folder) && game.path.size() > folder.size() ? game.path.mid(folder.size()) : QString();
}

QString WithoutLastExtension(const QString& relative)
{
  const QString suffix = QFileInfo(relative).suffix();
  return suffix.isEmpty() ? relative : relative.left(relative.size() - suffix.size() - 1);
}

QString XmlAttributeText(QString value)
{
  value.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
  value.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
  value.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  value.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  value.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  return value;
}

class EsdeWriter final : public FrontendWriter {
 public:
  explicit EsdeWriter(const QString& dataFolder)
      : m_gamelists(Check4Slash(dataFolder) + QStringLiteral("gamelists/")), m_media(EsdeMediaFolder(dataFolder))
  {
  }

  QString NameOf(const SystemNames& names) const override { return names.esde; }

  QString FileOf(const FrontendSystem&, const QString& name, const ExportedGame& game, QString* reason) const override
  {
    if (RelativePath(game).isEmpty()) {
      *reason = kOutsideRomFolders;
      return {};
    }
    return m_gamelists + name + QStringLiteral("/gamelist.xml");
  }

  // Systems that share an ES-DE name share its ROM folder there: their paths below it must differ.
  QString EntryKey(const ExportedGame& game) const override { return RelativePath(game); }

  PictureSpot PictureSpotOf(const FrontendTarget& target, const TargetGame& game) const override
  {
    return {m_media + target.name + QStringLiteral("/covers/") + WithoutLastExtension(RelativePath(*game.game)),
            {QStringLiteral("png"), QStringLiteral("jpg")}};
  }

  bool AcceptsExisting(const QByteArray& existing, QString* error) override
  {
    std::optional<std::vector<XmlNode>> nodes = ParseXml(existing, error);
    if (!nodes)
      return false;
    m_existing = std::move(*nodes);
    bool anyElement = false;
    for (const XmlNode& node : m_existing) {
      if (node.kind != XmlNode::Kind::Element)
        continue;
      if (node.name == kGameList)
        return true;
      anyElement = true;
    }
    if (anyElement)
      *error = QStringLiteral("it has no <gameList>");
    return !anyElement;
  }

  QByteArray Content(const FrontendTarget& target, const QByteArray& existing) override
  {
    // The file AcceptsExisting read, parsed once.
    std::vector<XmlNode> nodes = existing.isEmpty() ? std::vector<XmlNode>{} : std::move(m_existing);
    m_existing.clear();
    QStringList romFolders;
    std::vector<EsdeGame> games;
    games.reserve(target.games.size());
    for (const TargetGame& entry : target.games) {
      for (const QString& folder : entry.system->romFolders) {
        if (!romFolders.contains(folder))
          romFolders << folder;
      }
      const ExportedGame& game = *entry.game;
      games.push_back({QStringLiteral("./") + RelativePath(game), game.title, game.overview, EsdeRating(game.rating),
                       EsdeReleaseDate(game.year), game.maker, EsdeGenre(game.genres)});
    }
    return MergeEsdeGamelist(std::move(nodes), games, romFolders);
  }

 private:
  QString m_gamelists;
  QString m_media;
  std::vector<XmlNode> m_existing;
};

}  // namespace

QString EsdeRating(std::optional<int> rating)
{
  if (!rating)
    return {};
  return QString::number(std::clamp(*rating, 0, 10) / 10.0);
}

QString EsdeReleaseDate(const QString& year)
{
  bool ok = false;
  const int number = year.toInt(&ok);
  if (!ok || year.size() != 4 || number < kFirstShownYear)
    return {};
  // 1 January 1970 is ES-DE's "unknown"; the next day still shows the year.
  return year + (number == kFirstShownYear ? QStringLiteral("0102T000000") : QStringLiteral("0101T000000"));
}

QString EsdeGenre(const QStringList& genres)
{
  if (genres.isEmpty())
    return {};
  QStringList parts = genres.first().split(QLatin1Char('/'));
  for (QString& part : parts)
    part = part.trimmed();
  parts.removeAll(QString());
  return parts.join(QStringLiteral(" / "));
}

QString EsdePathKey(const QString& path, const QStringList& romFolders)
{
  QString key = path.trimmed();
  if (key.startsWith(QStringLiteral("./"))) {
    key = key.mid(2);
  } else if (key.startsWith(QLatin1Char('/'))) {
    for (const QString& folder : romFolders) {
      if (key.startsWith(folder)) {
        key = key.mid(folder.size());
        break;
      }
    }
  }
  return QDir::cleanPath(key);
}

QByteArray MergeEsdeGamelist(std::vector<XmlNode> existing, const std::vector<EsdeGame>& games,
                             const QStringList& romFolders)
{
  XmlNode& list = GameListOf(existing);
  QHash<QString, size_t> listed;
  for (size_t i = 0; i < list.children.size(); ++i) {
    const XmlNode& child = list.children[i];
    if (child.kind != XmlNode::Kind::Element || child.name != kGame)
      continue;
    const XmlNode* path = child.Child(kPath);
    if (path)
      listed.insert(EsdePathKey(path->InnerText(), romFolders), i);  // the last one of a key is ES-DE's
  }
  for (const EsdeGame& game : games) {
    const QString key = EsdePathKey(game.path, romFolders);
    const auto found = listed.constFind(key);
    if (found != listed.constEnd()) {
      UpdateGameNode(list.children[*found], game);
    } else {
      listed.insert(key, list.children.size());
      list.children.push_back(NewGameNode(game));
    }
  }
  return WriteXml(existing);
}

QString EsdeDefaultDataFolder()
{
  const QString fromEnvironment = qEnvironmentVariable("ESDE_APPDATA_DIR");
  if (!fromEnvironment.isEmpty())
    return fromEnvironment;
  const QString home = QDir::homePath();
  for (const QString& name : {QStringLiteral("ES-DE"), QStringLiteral(".emulationstation")}) {
    if (QFileInfo(home + QLatin1Char('/') + name).isDir())
      return home + QLatin1Char('/') + name;
  }
  return home + QStringLiteral("/ES-DE");
}

QString EsdeMediaFolder(const QString& dataFolder)
{
  const QString fallback = Check4Slash(dataFolder) + QStringLiteral("downloaded_media/");
  QFile settings(Check4Slash(dataFolder) + QStringLiteral("settings/es_settings.xml"));
  if (!settings.open(QIODevice::ReadOnly))
    return fallback;
  // The settings file has no single root, so it is searched rather than parsed.
  static const QRegularExpression setting(QStringLiteral("<string\\s+name=\"MediaDirectory\"\\s+value=\"([^\"]*)\""));
  const QRegularExpressionMatch match = setting.match(QString::fromUtf8(settings.readAll()));
  QString folder = match.hasMatch() ? XmlAttributeText(match.captured(1)).trimmed() : QString();
  if (folder.isEmpty() || folder.contains(QStringLiteral("%ESPATH%")))
    return fallback;
  if (folder.startsWith(QLatin1Char('~')))
    folder = QDir::homePath() + folder.mid(1);
  return Check4Slash(folder);
}

std::unique_ptr<FrontendWriter> MakeEsdeWriter(const QString& dataFolder)
{
  return std::make_unique<EsdeWriter>(dataFolder);
}

}  // namespace quillon
