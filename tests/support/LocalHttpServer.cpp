#include "LocalHttpServer.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QTcpSocket>
#include <QTimer>

namespace quillon::test {

namespace {

QByteArray ReasonPhrase(int status)
{
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 307:
      return "Temporary Redirect";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    default:
      return "Status";
  }
}

// A GIF of one colour: every pixel a literal code of the LZW stream, with a clear code after each
// pair so the codes stay 3 bits wide.
QByteArray MakeGif(QSize size)
{
  const auto littleEndian16 = [](QByteArray& bytes, int value) {
    bytes += char(value & 0xFF);
    bytes += char((value >> 8) & 0xFF);
  };
  QByteArray gif("GIF89a");
  littleEndian16(gif, size.width());
  littleEndian16(gif, size.height());
  gif += char(0x80);  // global colour table of 2 colours
  gif += char(0);
  gif += char(0);
  gif += QByteArray("\x20\x60\xA0\xFF\xFF\xFF", 6);
  gif += char(0x2C);
  littleEndian16(gif, 0);
  littleEndian16(gif, 0);
  littleEndian16(gif, size.width());
  littleEndian16(gif, size.height());
  gif += char(0);
  gif += char(2);  // LZW minimum code size
  QByteArray packed;
  quint32 bitBuffer = 0;
  int bitCount = 0;
  const auto put = [&](int code) {
    bitBuffer |= quint32(code) << bitCount;
    bitCount += 3;
    while (bitCount >= 8) {
      packed += char(bitBuffer & 0xFF);
      bitBuffer >>= 8;
      bitCount -= 8;
    }
  };
  const int pixels = size.width() * size.height();
  for (int pixel = 0; pixel < pixels; ++pixel) {
    if (pixel % 2 == 0)
      put(4);  // clear
    put(0);
  }
  put(5);  // end of information
  if (bitCount > 0)
    packed += char(bitBuffer & 0xFF);
  for (qsizetype at = 0; at < packed.size(); at += 255) {
    const QByteArray block = packed.mid(at, 255);
    gif += char(block.size());
    gif += block;
  }
  gif += char(0);
  gif += char(0x3B);
  return gif;
}

}  // namespace

LocalHttpServer::LocalHttpServer(QObject* parent) : QObject(parent)
{
  connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::OnNewConnection);
  m_server.listen(QHostAddress::LocalHost, 0);
}

LocalHttpServer::~LocalHttpServer()
{
  for (const QPointer<QTcpSocket>& socket : m_sockets) {
    if (socket) {
      socket->disconnect(this);
      socket->abort();
      delete socket.data();
    }
  }
}

QUrl LocalHttpServer::Url(const QString& path) const
{
  return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LocalHttpServer::Serve(const QString& path, const Reply& reply)
{
  m_routes.insert(path, reply);
}

void LocalHttpServer::ServePage(const QString& path, const QByteArray& html, const QByteArray& contentType)
{
  Reply reply;
  reply.contentType = contentType;
  reply.body = html;
  Serve(path, reply);
}

void LocalHttpServer::ServePicture(const QString& path, const QByteArray& bytes, const QByteArray& contentType)
{
  ServePage(path, bytes, contentType);
}

void LocalHttpServer::ServeRedirect(const QString& path, const QString& location, int status)
{
  Reply reply;
  reply.status = status;
  reply.headers.append({QByteArrayLiteral("Location"), location.toUtf8()});
  Serve(path, reply);
}

void LocalHttpServer::ServeStatus(const QString& path, int status, const QByteArray& body)
{
  Reply reply;
  reply.status = status;
  reply.body = body;
  Serve(path, reply);
}

QByteArray LocalHttpServer::MakePicture(QSize size, const QByteArray& format)
{
  if (format == "gif")
    return MakeGif(size);
  QImage image(size, QImage::Format_RGB32);
  image.fill(QColor(40, 90, 160));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.write(image);
  return bytes;
}

void LocalHttpServer::OnNewConnection()
{
  while (QTcpSocket* socket = m_server.nextPendingConnection()) {
    m_sockets.append(socket);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, this, [this, socket] { m_pending.remove(socket); });
  }
}

void LocalHttpServer::OnReadyRead(QTcpSocket* socket)
{
  QByteArray& request = m_pending[socket];
  if (request.isNull())
    request = QByteArray("");
  request += socket->readAll();
  const qsizetype end = request.indexOf("\r\n\r\n");
  if (end < 0)
    return;
  const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
  m_pending.remove(socket);
  disconnect(socket, &QTcpSocket::readyRead, this, nullptr);  // one request per connection
  Answer(socket, requestLine.size() >= 2 ? QString::fromUtf8(requestLine[1]) : QStringLiteral("/"));
}

void LocalHttpServer::Answer(QTcpSocket* socket, const QString& target)
{
  ++m_totalRequests;
  ++m_requests[target];
  const QString path = target.section(QLatin1Char('?'), 0, 0);
  if (path != target)
    ++m_requests[path];
  Reply reply;
  if (m_routes.contains(target))
    reply = m_routes.value(target);
  else if (m_routes.contains(path))
    reply = m_routes.value(path);
  else {
    reply.status = 404;
    reply.body = QByteArrayLiteral("<html><body>Not found</body></html>");
  }
  if (reply.delayMs > 0) {
    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(reply.delayMs, this, [this, guarded, reply] {
      if (guarded)
        Send(guarded, reply);
    });
    return;
  }
  Send(socket, reply);
}

void LocalHttpServer::Send(QTcpSocket* socket, const Reply& reply)
{
  QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + ReasonPhrase(reply.status) + "\r\n";
  if (!reply.contentType.isEmpty())
    head += "Content-Type: " + reply.contentType + "\r\n";
  if (!reply.omitContentLength)
    head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
  for (const auto& [name, value] : reply.headers)
    head += name + ": " + value + "\r\n";
  head += "Connection: close\r\n\r\n";
  socket->write(head);
  if (reply.neverFinish) {
    socket->write(reply.body.left(reply.body.size() / 2));
    return;  // the connection stays open until the server goes
  }
  if (reply.trickleBytes > 0) {
    Trickle(socket, reply.body, reply.trickleBytes, reply.trickleIntervalMs);
    return;
  }
  socket->write(reply.body);
  socket->disconnectFromHost();
}

void LocalHttpServer::Trickle(QTcpSocket* socket, QByteArray rest, int pieceBytes, int intervalMs)
{
  socket->write(rest.left(pieceBytes));
  rest.remove(0, pieceBytes);
  if (rest.isEmpty()) {
    socket->disconnectFromHost();
    return;
  }
  QPointer<QTcpSocket> guarded(socket);
  QTimer::singleShot(intervalMs, this, [this, guarded, rest, pieceBytes, intervalMs] {
    if (guarded)
      Trickle(guarded, rest, pieceBytes, intervalMs);
  });
}

}  // namespace quillon::test
