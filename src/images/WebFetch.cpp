#include "images/WebFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace quillon {

namespace {

const QByteArray kUserAgent = QByteArrayLiteral("Mozilla/5.0 (X11; Linux x86_64) Quillon/" QUILLON_VERSION);

bool IsRedirectStatus(int status)
{
  return status >= 300 && status < 400;
}

QString StatusText(int status, const QString& phrase)
{
  return QStringLiteral("HTTP %1 %2").arg(status).arg(phrase).trimmed();
}

}  // namespace

bool IsWebAddress(const QUrl& url)
{
  const QString scheme = url.scheme().toLower();
  return url.isValid() && (scheme == QStringLiteral("http") || scheme == QStringLiteral("https")) &&
         !url.host().isEmpty();
}

QUrl WebAddressFromText(const QString& address)
{
  return QUrl::fromUserInput(address.trimmed());
}

QString WebFailureText(const FetchResult& result)
{
  return result.ok ? QString() : result.reason;
}

WebFetch::WebFetch(QNetworkAccessManager& network, QUrl url, Options options, QObject* parent)
    : QObject(parent), m_network(network), m_url(std::move(url)), m_options(options)
{
  m_deadline.setSingleShot(true);
  connect(&m_deadline, &QTimer::timeout, this, [this] {
    Fail(WebFailure::TimedOut,
         QStringLiteral("No complete answer within %1 seconds").arg(m_options.timeoutMs / 1000.0));
  });
}

WebFetch::~WebFetch()
{
  Abort();
}

void WebFetch::Start()
{
  if (m_running)
    return;
  m_running = true;
  m_result = {};
  m_result.finalUrl = m_url;
  if (!IsWebAddress(m_url)) {
    // Reported from the event loop, like every other ending, so callers can connect first.
    QTimer::singleShot(0, this, [this] {
      if (m_running)
        Fail(WebFailure::UnsupportedAddress,
             QStringLiteral("Only http and https addresses can be opened: ") + m_url.toDisplayString());
    });
    return;
  }
  QNetworkRequest request(m_url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(m_options.maxRedirects);
  request.setTransferTimeout(m_options.timeoutMs);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
  m_reply = m_network.get(request);
  connect(m_reply, &QNetworkReply::metaDataChanged, this, &WebFetch::OnMetaData);
  connect(m_reply, &QNetworkReply::readyRead, this, &WebFetch::OnReadyRead);
  connect(m_reply, &QNetworkReply::finished, this, &WebFetch::OnFinished);
  m_deadline.start(m_options.timeoutMs);
}

void WebFetch::Abort()
{
  m_running = false;
  m_deadline.stop();
  DropReply();
}

void WebFetch::OnMetaData()
{
  if (!m_running || !m_reply)
    return;
  const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (IsRedirectStatus(status))
    return;  // followed by the network layer, or ended by it
  if (status >= 400) {
    Fail(WebFailure::HttpStatus,
         StatusText(status, m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
    return;
  }
  const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && length.toLongLong() > m_options.maxBytes) {
    Fail(WebFailure::TooLarge, QStringLiteral("The answer is larger than %1 bytes (%2 announced)")
                                   .arg(m_options.maxBytes)
                                   .arg(length.toLongLong()));
    return;
  }
  if (m_headersSeen)
    return;
  m_headersSeen = true;
  m_result.finalUrl = m_reply->url();
  m_result.httpStatus = status;
  m_result.contentType = m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
  emit HeadersReceived();
  // A handler may have tightened the limit below what the headers announce.
  if (m_running && m_reply && length.isValid() && length.toLongLong() > m_options.maxBytes)
    Fail(WebFailure::TooLarge, QStringLiteral("The answer is larger than %1 bytes").arg(m_options.maxBytes));
}

void WebFetch::OnReadyRead()
{
  if (m_running && m_reply)
    TakeData(m_reply->readAll());
}

bool WebFetch::TakeData(const QByteArray& data)
{
  if (data.isEmpty())
    return true;
  m_received += data.size();
  if (m_received > m_options.maxBytes) {
    Fail(WebFailure::TooLarge, QStringLiteral("The answer is larger than %1 bytes").arg(m_options.maxBytes));
    return false;
  }
  if (m_sink) {
    const QString error = m_sink(data);
    if (!error.isEmpty()) {
      Fail(WebFailure::Local, error);
      return false;
    }
  } else {
    m_body += data;
  }
  return true;
}

void WebFetch::OnFinished()
{
  if (!m_running || !m_reply)
    return;
  const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QString phrase = m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
  switch (m_reply->error()) {
    case QNetworkReply::NoError:
      if (!TakeData(m_reply->readAll()))
        return;
      if (status < 200 || status >= 300) {
        Fail(WebFailure::HttpStatus, StatusText(status, phrase));
        return;
      }
      Succeed();
      return;
    case QNetworkReply::TooManyRedirectsError:
      Fail(WebFailure::TooManyRedirects,
           QStringLiteral("Too many redirects (more than %1)").arg(m_options.maxRedirects));
      return;
    case QNetworkReply::InsecureRedirectError:
    case QNetworkReply::ProtocolUnknownError:
      Fail(WebFailure::UnsupportedAddress,
           QStringLiteral("Redirected to an address that is not followed: ") + m_reply->errorString());
      return;
    case QNetworkReply::OperationCanceledError:
      // Only the transfer timeout cancels a reply that is still ours.
      Fail(WebFailure::TimedOut, QStringLiteral("The answer stalled for %1 seconds").arg(m_options.timeoutMs / 1000.0));
      return;
    default:
      if (status >= 400)
        Fail(WebFailure::HttpStatus, StatusText(status, phrase));
      else
        Fail(WebFailure::Network, m_reply->errorString());
      return;
  }
}

void WebFetch::Fail(WebFailure failure, const QString& reason)
{
  if (!m_running)
    return;
  m_result.ok = false;
  m_result.failure = failure;
  m_result.reason = reason;
  if (m_reply) {
    m_result.finalUrl = m_reply->url();
    m_result.httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  }
  End();
}

void WebFetch::Succeed()
{
  m_result.ok = true;
  m_result.failure = WebFailure::None;
  m_result.reason.clear();
  m_result.finalUrl = m_reply->url();
  m_result.httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  m_result.contentType = m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
  End();
}

void WebFetch::End()
{
  m_running = false;
  m_deadline.stop();
  DropReply();
  emit Finished();
}

void WebFetch::DropReply()
{
  if (!m_reply)
    return;
  QNetworkReply* reply = m_reply;
  m_reply = nullptr;
  disconnect(reply, nullptr, this, nullptr);
  // Aborted from the event loop: the reply may be inside one of its own signals now.
  if (reply->isRunning())
    QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
  reply->deleteLater();
}

}  // namespace quillon
