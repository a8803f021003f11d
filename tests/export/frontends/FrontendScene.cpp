#include "FrontendScene.h"

#include "SilentUpgradeDisplay.h"

#include "catalogue/StructureUpgrade.h"

#include <QFile>
#include <QImage>
#include <QTest>

namespace quillon::test {

namespace {

}  // namespace

FrontendScene::FrontendScene(Start start)
{
  SilentUpgradeDisplay display;
  RecordingFeedback upgrade;
  UpdateDb(m_catalogue.Db(), upgrade, display);
  if (upgrade.HasError())
    qWarning("%s", qPrintable(upgrade.ErrorLines().join('\n')));
  m_catalogue.Exec(QStringLiteral("UPDATE System SET EnableTab = 0"));
  if (start == Start::Golden)
    BuildGoldenCatalogue(*this);
}

qint64 FrontendScene::AddRomFolder(qint64 systemId, const QString& folder)
{
  const QString path = Path(folder) + QLatin1Char('/');
  QDir().mkpath(path);
  m_catalogue.Exec(QStringLiteral("UPDATE System SET EnableTab = 1 WHERE SystemID = ?"), {systemId});
  return InsertRomPath(m_catalogue.Db(), systemId, path);
}

qint64 FrontendScene::AddGame(qint64 systemId, qint64 pathId, const QString& fileName, const QString& title,
                              const QVariantMap& columns)
{
  const QString folder =
      m_catalogue.Value(QStringLiteral("SELECT RomPath FROM RomPath WHERE PathID = ?"), {pathId}).toString();
  if (!TouchFile(folder + fileName, "rom"))
    qWarning("cannot make %s", qPrintable(folder + fileName));
  TestGame game(systemId, title);
  game.File(fileName).Folder(pathId).Selected().Genres({1});
  for (auto it = columns.cbegin(); it != columns.cend(); ++it)
    game.Set(it.key(), it.value());
  return game.Insert(m_catalogue.Db());
}

void FrontendScene::SetYear(qint64 gameId, const QString& year)
{
  m_catalogue.Exec(QStringLiteral("UPDATE Games SET Year = (SELECT YearID FROM Year WHERE Year = ?) WHERE GameID = ?"),
                   {year, gameId});
}

void FrontendScene::SetMaker(qint64 gameId, const QString& maker)
{
  m_catalogue.Exec(QStringLiteral("INSERT INTO Manufacturer (Manufacturer) SELECT ? WHERE NOT EXISTS "
                                  "(SELECT 1 FROM Manufacturer WHERE Manufacturer = ?)"),
                   {maker, maker});
  m_catalogue.Exec(QStringLiteral("UPDATE Games SET Manufacturer = (SELECT ManufacturerID FROM Manufacturer "
                                  "WHERE Manufacturer = ?) WHERE GameID = ?"),
                   {maker, gameId});
}

void FrontendScene::SetGenres(qint64 gameId, const QStringList& genres)
{
  m_catalogue.Exec(QStringLiteral("DELETE FROM SubGenres WHERE GameID = ?"), {gameId});
  for (const QString& genre : genres) {
    m_catalogue.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) "
                                    "SELECT ?, GenreID FROM Genres WHERE GenreName = ?"),
                     {gameId, genre});
  }
}

QString FrontendScene::AddPicture(qint64 gameId, const QString& fileName)
{
  const QString path = Path(QStringLiteral("pics/") + fileName);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QImage image(12, 8, QImage::Format_RGB32);
  image.fill(QColor::fromHsv(static_cast<int>(gameId * 37 % 360), 200, 200));
  if (!image.save(path))
    qWarning("cannot write %s", qPrintable(path));
  m_catalogue.Exec(QStringLiteral("UPDATE Games SET Image = ? WHERE GameID = ?"), {path, gameId});
  return path;
}

FrontendExportResult FrontendScene::Export(FrontendFormat format, const QList<qint64>& systems,
                                           const QString& destination, MediaMode media, bool allGames)
{
  m_feedback.Clear();
  FrontendExportRequest request;
  request.format = format;
  request.systemIds = systems;
  request.destination = destination;
  request.media = media;
  request.allGames = allGames;
  return ExportToFrontend(m_catalogue.Db(), m_feedback, request);
}

void BuildGoldenCatalogue(FrontendScene& scene)
{
  scene.Db().Exec(QStringLiteral("UPDATE System SET RemoveText = 1 WHERE SystemID = ?"), {kSnes});
  const qint64 snes = scene.AddRomFolder(kSnes, QStringLiteral("roms/snes"));
  const qint64 widget =
      scene.AddGame(kSnes, snes, QStringLiteral("Super Widget (USA).sfc"), QStringLiteral("Super Widget (USA)"),
                    {{QStringLiteral("Rating"), 8},
                     {QStringLiteral("Country"), 2},
                     {QStringLiteral("Description"),
                      QStringLiteral("A widget hunts for bolts.\r\nSecond line.\r\n\r\nSecond paragraph.")}});
  scene.SetYear(widget, QStringLiteral("1992"));
  scene.SetMaker(widget, QStringLiteral("Acme & Sons"));
  scene.SetGenres(widget, {QStringLiteral("Shooter/Aircraft"), QStringLiteral("Action")});
  scene.AddPicture(widget, QStringLiteral("snes/widget.png"));

  // Unknown year and genre, no picture, a file in a sub-folder, text that XML and JSON must escape.
  scene.AddGame(
      kSnes, snes, QStringLiteral("sub/Bolt <&> Nut \"Deluxe\" (Europe).smc"),
      QStringLiteral("Bolt <&> Nut \"Deluxe\" (Europe)"),
      {{QStringLiteral("Description"), QStringLiteral("Tab\there \u2014 \U0001F3AE \u2014 \u05E9\u05DC\u05D5\u05DD")}});

  // Before 1970, a picture ES-DE and RetroArch cannot read as it is.
  const qint64 old = scene.AddGame(kSnes, snes, QStringLiteral("Old Timer (Japan).sfc"),
                                   QStringLiteral("Old Timer (Japan)"), {{QStringLiteral("Rating"), 0}});
  scene.SetYear(old, QStringLiteral("1965"));
  scene.AddPicture(old, QStringLiteral("snes/old.bmp"));

  scene.AddGame(kSnes, snes, QStringLiteral("Unticked (USA).sfc"), QStringLiteral("Unticked (USA)"),
                {{QStringLiteral("Selected"), 0}});

  scene.Db().Exec(QStringLiteral("UPDATE System SET Emulator = ? WHERE SystemID = ?"),
                  {QStringLiteral("/opt/emu/genesis emu -fullscreen"), kGenesis});
  const qint64 gen = scene.AddRomFolder(kGenesis, QStringLiteral("roms/gen"));
  const qint64 sonic = scene.AddGame(kGenesis, gen, QStringLiteral("Sonic Thing (USA).bin"),
                                     QStringLiteral("Sonic Thing (USA)"), {{QStringLiteral("Rating"), 10}});
  scene.SetYear(sonic, QStringLiteral("1991"));
  scene.SetGenres(sonic, {QStringLiteral("Platform")});
  scene.AddPicture(sonic, QStringLiteral("gen/sonic.jpg"));
  // A game with its own emulator.
  scene.AddGame(kGenesis, gen, QStringLiteral("Other Emu (USA).md"), QStringLiteral("Other Emu (USA)"),
                {{QStringLiteral("Emulator"), QStringLiteral("blastem")}});

  scene.Db().Exec(QStringLiteral("UPDATE System SET System = 'My Homebrew' WHERE SystemID = ?"), {kCustom1});
  const qint64 custom = scene.AddRomFolder(kCustom1, QStringLiteral("roms/homebrew"));
  scene.AddGame(kCustom1, custom, QStringLiteral("Demo.bin"), QStringLiteral("Demo"));
}

QByteArray ReadFile(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace quillon::test
