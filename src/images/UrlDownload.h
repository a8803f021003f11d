#pragma once
// Downloads a web address into a file: an HTTP(S) GET written into a temporary file beside the
// target and renamed into place only when the whole answer arrived, so a failed download never
// leaves a partial file and never touches a file already there.
#include "images/WebFetch.h"

#include <QObject>
#include <QString>

#include <memory>

class QFile;
class QNetworkAccessManager;

namespace quillon {

class AtomicFile;

struct DownloadOptions {
  qint64 maxBytes = 20 * kMegabyte;
  int timeoutMs = 60000;
  int maxRedirects = 10;
  // Keep the file only when it decodes as a picture (an error page served as a picture is not).
  bool requirePicture = false;
};

struct DownloadOutcome {
  bool ok = false;
  WebFailure failure = WebFailure::None;
  QString reason;
  int httpStatus = 0;
  qint64 bytes = 0;
};

class FileDownload : public QObject {
  Q_OBJECT

 public:
  FileDownload(QNetworkAccessManager& network, const QString& address, QString file, DownloadOptions options,
               QObject* parent = nullptr);
  ~FileDownload() override;

  void Start();
  // Ends the download without a Finished signal; nothing is written.
  void Abort();
  bool IsRunning() const { return m_running; }
  const DownloadOutcome& Outcome() const { return m_outcome; }

 signals:
  void Finished();

 private:
  bool OpenTemporary();
  QString Write(const QByteArray& data);
  void OnFetchFinished();
  QString KeepFile();
  void End(bool ok, WebFailure failure, const QString& reason);
  void DropTemporary();

  WebFetch m_fetch;
  QString m_file;
  DownloadOptions m_options;
  std::unique_ptr<AtomicFile> m_replacement;
  std::unique_ptr<QFile> m_temporary;  // the replacement's new file while it is written
  bool m_running = false;
  DownloadOutcome m_outcome;
};

// The download routine of the image search: waits for the download, letting network events run
// but no user input. Returns how it went; on failure the target file is as it was.
DownloadOutcome UrlDownloadToFile(QNetworkAccessManager& network, const QString& address, const QString& file,
                                  const DownloadOptions& options = {});

}  // namespace quillon
