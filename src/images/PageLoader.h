#pragma once
// Loads web pages for the image search, in place of an embedded browser: it navigates, reports
// the end of each navigation once (complete or failed), and then tells the page's links, domain
// and picture elements. Picture elements get their laid-out size and type description, for which
// the pictures themselves are fetched (only as far as their headers) before the page completes.
//
// Everything runs on the caller's thread through its event loop: a GUI waiting in a polling loop
// that runs pending events, or a command-line program's event loop. A new navigation, or Stop,
// cancels the previous one without any signal for it.
#include "images/HtmlPage.h"
#include "images/PageDocument.h"
#include "images/PictureCheck.h"
#include "images/WebFetch.h"

#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <optional>
#include <vector>

namespace quillon {

class PictureProbe;

class PageLoader : public QObject {
  Q_OBJECT

 public:
  // Pictures fetched at once while a page completes, and at most per page (the others keep only
  // the sizes the page declares).
  static constexpr int kParallelPictures = 6;
  static constexpr int kMaxPicturesPerPage = 200;

  explicit PageLoader(QObject* parent = nullptr);
  ~PageLoader() override;

  void SetLimits(const WebLimits& limits) { m_limits = limits; }
  const WebLimits& Limits() const { return m_limits; }
  // The loader's connection pool, for downloads that should share it.
  QNetworkAccessManager& Network() { return m_network; }

  // Starts loading `address` (http or https; an address without a scheme is taken as http).
  void Navigate(const QString& address);
  void Stop();

  bool IsBusy() const { return m_state == State::Busy; }
  // The address of the last navigation, as it was given.
  QString Address() const { return m_address; }
  // The last completed page; empty while a navigation runs and after a failure.
  const PageDocument& Document() const { return m_document; }
  // Why the last navigation failed; empty otherwise.
  QString LastError() const { return m_lastError; }

  // Runs events until the current navigation ends or `timeoutMs` passes. True when the page
  // completed (now or before the call), false on failure, timeout or no navigation.
  bool WaitForDocument(int timeoutMs);

 signals:
  void NavigationStarted(const QString& address);
  // The server began answering (headers of the final response arrived).
  void DownloadBegun(const QString& address);
  // `address` is the page's address after redirects.
  void DocumentComplete(const QString& address);
  void NavigationFailed(const QString& address, const QString& reason);

 private:
  enum class State { Idle, Busy, Completed, Failed };

  void Cancel();
  void OnPageHeaders();
  void OnPageFinished();
  void TakePictureDocument(const QByteArray& body, const QUrl& address);
  void MeasurePictures(std::vector<DeclaredImage> images);
  void StartNextProbes();
  void OnProbeDone(PictureProbe* probe, const QString& src);
  void Complete();
  void Fail(const QString& reason);

  QNetworkAccessManager m_network;
  WebLimits m_limits;
  State m_state = State::Idle;
  QString m_address;
  QString m_lastError;
  PageDocument m_document;
  WebFetch* m_page = nullptr;
  std::vector<DeclaredImage> m_declared;
  std::deque<QString> m_waitingPictures;
  std::vector<PictureProbe*> m_probes;
  QHash<QString, std::optional<PictureFacts>> m_facts;
  QTimer m_pictureDeadline;
};

}  // namespace quillon
