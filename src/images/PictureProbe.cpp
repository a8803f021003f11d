#include "images/PictureProbe.h"

namespace quillon {

namespace {

// Headers are read again once this much more has arrived; most pictures tell their size early.
constexpr qint64 kFirstProbeBytes = 64 * 1024;
constexpr qint64 kLastProbeBytes = 1024 * 1024;
const QString kEnough = QStringLiteral("picture size known");

}  // namespace

PictureProbe::PictureProbe(QNetworkAccessManager& network, const QUrl& url, const WebLimits& limits, QObject* parent)
    : QObject(parent),
      m_fetch(network, url, {limits.maxPictureBytes, limits.pictureTimeoutMs, limits.maxRedirects}),
      m_nextProbeAt(kFirstProbeBytes)
{
  m_fetch.SetSink([this](const QByteArray& data) { return Take(data); });
  connect(&m_fetch, &WebFetch::Finished, this, &PictureProbe::OnFetchFinished);
}

QString PictureProbe::Take(const QByteArray& data)
{
  m_data += data;
  if (m_data.size() < m_nextProbeAt || m_nextProbeAt > kLastProbeBytes)
    return {};
  m_nextProbeAt *= 4;
  m_facts = ReadPictureFacts(m_data, PictureRead::HeaderOnly);
  // Stopping the fetch early: the error text ends it, and OnFetchFinished sees the facts.
  return m_facts ? kEnough : QString();
}

void PictureProbe::OnFetchFinished()
{
  if (!m_facts && m_fetch.Result().ok) {
    m_facts = ReadPictureFacts(m_data, PictureRead::HeaderOnly);
    if (!m_facts)
      m_facts = ReadPictureFacts(m_data, PictureRead::WholePicture);
  }
  m_data.clear();
  emit Done();
}

}  // namespace quillon
