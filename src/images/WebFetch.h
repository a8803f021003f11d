#pragma once
// One bounded HTTP(S) GET: only http and https, redirects followed a limited number of times and
// never to a less safe scheme, the body limited in size and the whole fetch in time. Every fetch
// ends with exactly one Finished signal unless it is aborted, which ends it silently.
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace quillon {

constexpr qint64 kMegabyte = 1024 * 1024;

// Limits of what the program fetches from the web.
struct WebLimits {
  qint64 maxPageBytes = 5 * kMegabyte;
  qint64 maxPictureBytes = 20 * kMegabyte;
  int pageTimeoutMs = 30000;
  int pictureTimeoutMs = 30000;
  int maxRedirects = 10;
};

enum class WebFailure { None, UnsupportedAddress, Network, HttpStatus, TooLarge, TimedOut, TooManyRedirects, Local };

// An absolute http or https address with a host.
bool IsWebAddress(const QUrl& url);
// What a user or a page wrote as an address, made absolute the way a browser's address bar does.
QUrl WebAddressFromText(const QString& address);

struct FetchResult {
  bool ok = false;
  WebFailure failure = WebFailure::None;
  QString reason;  // words for a status line or a log
  int httpStatus = 0;
  QUrl finalUrl;  // after redirects
  QByteArray contentType;
};

class WebFetch : public QObject {
  Q_OBJECT

 public:
  struct Options {
    qint64 maxBytes = 5 * kMegabyte;
    int timeoutMs = 30000;
    int maxRedirects = 10;
  };

  WebFetch(QNetworkAccessManager& network, QUrl url, Options options, QObject* parent = nullptr);
  ~WebFetch() override;

  // Where the body goes: by default it is kept in Body(); a sink takes each piece instead and
  // returns an error text to end the fetch as failed (empty to go on).
  void SetSink(std::function<QString(const QByteArray&)> sink) { m_sink = std::move(sink); }
  // May be called when HeadersReceived arrives, for example once the content type is known.
  void SetMaxBytes(qint64 maxBytes) { m_options.maxBytes = maxBytes; }

  void Start();
  // Ends the fetch without a Finished signal.
  void Abort();

  bool IsRunning() const { return m_running; }
  const QByteArray& Body() const { return m_body; }
  const FetchResult& Result() const { return m_result; }
  qint64 BytesReceived() const { return m_received; }

 signals:
  // The final response's status and headers arrived (after redirects).
  void HeadersReceived();
  void Finished();

 private:
  void OnMetaData();
  void OnReadyRead();
  void OnFinished();
  bool TakeData(const QByteArray& data);
  void Fail(WebFailure failure, const QString& reason);
  void Succeed();
  void End();
  void DropReply();

  QNetworkAccessManager& m_network;
  QUrl m_url;
  Options m_options;
  QPointer<QNetworkReply> m_reply;
  QTimer m_deadline;
  std::function<QString(const QByteArray&)> m_sink;
  QByteArray m_body;
  qint64 m_received = 0;
  bool m_running = false;
  bool m_headersSeen = false;
  FetchResult m_result;
};

// Words for a failure, for status lines and the CLI.
QString WebFailureText(const FetchResult& result);

}  // namespace quillon
