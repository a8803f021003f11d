#include "ImageSiteScene.h"

#include "catalogue/Feedback.h"

#include <QDir>
#include <QImageReader>

namespace quillon::test {

ImageSiteScene::ImageSiteScene() : m_pictures(m_catalogue.Path(QStringLiteral("pictures")) + QLatin1Char('/'))
{
  QDir().mkpath(m_pictures);
  if (!m_catalogue.IsValid())
    return;
  m_catalogue.Exec(QStringLiteral("UPDATE System SET DefaultImagePath = ?, DefaultImageType = 'jpg;png;gif', "
                                  "TimeOut = 1, AutoDL = 80, IgnoreMultiples = 0, ImageLimit = 0, ImageFilter = NULL, "
                                  "MinImgWidth = 50, MinImgHeight = 50, AppendFullName = 0, DefaultImage = NULL, "
                                  "ResumePosition = 0 WHERE SystemID = ?"),
                   {m_pictures, kSystem});
  m_catalogue.Exec(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, ?)"),
                   {m_catalogue.Path(QStringLiteral("roms")) + QLatin1Char('/'), kSystem});
  m_romPath = m_catalogue.Db().LastInsertId();
}

void ImageSiteScene::SetSystem(const QString& column, const QVariant& value)
{
  m_catalogue.Exec(QStringLiteral("UPDATE System SET %1 = ? WHERE SystemID = ?").arg(column), {value, kSystem});
}

SystemSettings ImageSiteScene::Settings(Feedback& feedback)
{
  const QString name =
      m_catalogue.Value(QStringLiteral("SELECT System FROM System WHERE SystemID = ?"), {kSystem}).toString();
  return LoadSystemSettings(m_catalogue.Db(), feedback, name).value_or(SystemSettings{});
}

qint64 ImageSiteScene::AddSite(const QString& path)
{
  m_catalogue.Exec(QStringLiteral("INSERT INTO ImageURL (SystemID, URL) VALUES (?, ?)"),
                   {kSystem, path.isEmpty() ? QString() : m_server.Address(path)});
  return m_catalogue.Db().LastInsertId();
}

void ImageSiteScene::Ignore(qint64 siteId, const QString& path)
{
  m_catalogue.Exec(QStringLiteral("INSERT INTO IgnoreList (SystemID, URL, SiteURL) VALUES (?, ?, ?)"),
                   {kSystem, m_server.Address(path), siteId});
}

qint64 ImageSiteScene::AddGame(const QString& fullName, const QString& fileName, bool selected, const QVariant& image)
{
  m_catalogue.Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath, Selected, Available, Image) "
                                  "VALUES (?, ?, ?, ?, ?, 1, ?)"),
                   {fullName, fileName, kSystem, m_romPath, selected ? 1 : 0, image});
  const qint64 gameId = m_catalogue.Db().LastInsertId();
  m_catalogue.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, 1)"), {gameId});
  return gameId;
}

QVariant ImageSiteScene::GameImage(qint64 gameId)
{
  return m_catalogue.Value(QStringLiteral("SELECT Image FROM Games WHERE GameID = ?"), {gameId});
}

void ImageSiteScene::ServeResults(const QString& path, const QList<QPair<QString, QString>>& links)
{
  QByteArray html = "<html><body><h1>Results</h1>\n";
  for (const auto& [text, target] : links)
    html += "<p><a href=\"" + target.toUtf8() + "\">" + text.toHtmlEscaped().toUtf8() + "</a></p>\n";
  m_server.ServePage(path, html + "</body></html>");
}

void ImageSiteScene::ServeMatch(const QString& path, const QList<QPair<QString, QString>>& images)
{
  QByteArray html = "<html><body>\n";
  for (const auto& [src, attributes] : images)
    html += "<img src=\"" + src.toUtf8() + "\" " + attributes.toUtf8() + ">\n";
  m_server.ServePage(path, html + "</body></html>");
}

void ImageSiteScene::ServePicture(const QString& path, QSize size, const QByteArray& format)
{
  m_server.ServePicture(path, LocalHttpServer::MakePicture(size, format), "image/" + format);
}

QStringList ImageSiteScene::PictureNames() const
{
  return QDir(m_pictures).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QSize ImageSiteScene::PictureSize(const QString& name) const
{
  return QImageReader(m_pictures + name).size();
}

}  // namespace quillon::test
