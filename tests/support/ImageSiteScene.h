#pragma once
// A scene for image-search tests: a catalogue whose system SNES searches sites served by a local
// HTTP server, a picture folder, and helpers for result pages, match pages and pictures.
#include "LocalHttpServer.h"
#include "TestCatalogue.h"

#include "catalogue/SystemSettings.h"

#include <QPair>
#include <QStringList>

namespace quillon {
class Feedback;
}

namespace quillon::test {

class ImageSiteScene {
 public:
  static constexpr qint64 kSystem = 3;

  // Settings for quick tests: TimeOut 1, AutoDL 80, no IgnoreMultiples, no limit or filter,
  // pictures of at least 50 x 50, types "jpg;png;gif", AppendFullName off.
  ImageSiteScene();

  bool IsValid() const { return m_catalogue.IsValid() && m_server.IsListening(); }
  LocalHttpServer& Server() { return m_server; }
  TestCatalogue& Catalogue() { return m_catalogue; }
  QString PictureFolder() const { return m_pictures; }

  void SetSystem(const QString& column, const QVariant& value);
  SystemSettings Settings(Feedback& feedback);
  qint64 AddSite(const QString& path);
  void Ignore(qint64 siteId, const QString& path);
  qint64 AddGame(const QString& fullName, const QString& fileName, bool selected = true, const QVariant& image = {});
  QVariant GameImage(qint64 gameId);

  // A result page with links (text, path), in order.
  void ServeResults(const QString& path, const QList<QPair<QString, QString>>& links);
  // A match page of IMG elements (path and optional attributes such as "width=60 height=60").
  void ServeMatch(const QString& path, const QList<QPair<QString, QString>>& images);
  void ServePicture(const QString& path, QSize size, const QByteArray& format);

  // The names of the files in the picture folder, sorted.
  QStringList PictureNames() const;
  // The size of a picture in the folder; invalid when it is no picture.
  QSize PictureSize(const QString& name) const;

 private:
  LocalHttpServer m_server;
  TestCatalogue m_catalogue;
  QString m_pictures;
  qint64 m_romPath = 0;
};

}  // namespace quillon::test
