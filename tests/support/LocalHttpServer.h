#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests of everything that fetches from the web: fixed
// pages, pictures, redirects, error statuses, slow answers (delayed, trickled, or never finished)
// and a count of the requests each address received. It runs on the test's own thread, served
// whenever that thread runs its event loop.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

namespace quillon::test {

class LocalHttpServer : public QObject {
  Q_OBJECT

 public:
  struct Reply {
    int status = 200;
    QByteArray contentType = QByteArrayLiteral("text/html; charset=utf-8");
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // further headers (Location, ...)
    int delayMs = 0;                               // wait this long before answering at all
    bool neverFinish = false;                      // send the headers and half the body, then nothing more
    bool omitContentLength = false;                // the body ends when the connection closes
    int trickleBytes = 0;                          // send the body in pieces of this size ...
    int trickleIntervalMs = 0;                     // ... this far apart
  };

  explicit LocalHttpServer(QObject* parent = nullptr);
  ~LocalHttpServer() override;

  bool IsListening() const { return m_server.isListening(); }
  // The address of a path ("/page.html", "/find?q=x") on this server.
  QUrl Url(const QString& path) const;
  QString Address(const QString& path) const { return Url(path).toString(); }

  // What a path answers; a path with a query matches that target exactly, else its path alone.
  // Unknown paths answer 404.
  void Serve(const QString& path, const Reply& reply);
  void ServePage(const QString& path, const QByteArray& html,
                 const QByteArray& contentType = QByteArrayLiteral("text/html; charset=utf-8"));
  void ServePicture(const QString& path, const QByteArray& bytes, const QByteArray& contentType);
  void ServeRedirect(const QString& path, const QString& location, int status = 302);
  void ServeStatus(const QString& path, int status,
                   const QByteArray& body = QByteArrayLiteral("<html><body><h1>Error</h1></body></html>"));

  int RequestCount(const QString& path) const { return m_requests.value(path); }
  int TotalRequests() const { return m_totalRequests; }

  // Picture bytes of a plain picture: "png", "jpeg" or "gif" (gif written by hand, as Qt has no
  // GIF writer).
  static QByteArray MakePicture(QSize size, const QByteArray& format);

 private:
  void OnNewConnection();
  void OnReadyRead(QTcpSocket* socket);
  void Answer(QTcpSocket* socket, const QString& target);
  void Send(QTcpSocket* socket, const Reply& reply);
  void Trickle(QTcpSocket* socket, QByteArray rest, int pieceBytes, int intervalMs);

  QTcpServer m_server;
  QHash<QString, Reply> m_routes;
  QHash<QString, int> m_requests;
  QHash<QTcpSocket*, QByteArray> m_pending;
  QList<QPointer<QTcpSocket>> m_sockets;
  int m_totalRequests = 0;
};

}  // namespace quillon::test
