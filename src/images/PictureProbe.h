#pragma once
// Finds out a web picture's format and size, fetching only as much of it as its decoder needs.
#include "images/PictureCheck.h"
#include "images/WebFetch.h"

#include <QObject>

#include <optional>

namespace quillon {

class PictureProbe : public QObject {
  Q_OBJECT

 public:
  PictureProbe(QNetworkAccessManager& network, const QUrl& url, const WebLimits& limits, QObject* parent = nullptr);

  void Start() { m_fetch.Start(); }
  // Ends the probe without a Done signal.
  void Abort() { m_fetch.Abort(); }
  const std::optional<PictureFacts>& Facts() const { return m_facts; }

 signals:
  // Facts() holds what was found; nullopt when the picture could not be fetched or read.
  void Done();

 private:
  QString Take(const QByteArray& data);
  void OnFetchFinished();

  WebFetch m_fetch;
  QByteArray m_data;
  qint64 m_nextProbeAt;
  std::optional<PictureFacts> m_facts;
};

}  // namespace quillon
