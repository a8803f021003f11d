#include "images/UrlDownload.h"

#include "common/AtomicFile.h"
#include "common/FileWriting.h"
#include "images/PictureCheck.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace quillon {

namespace {

constexpr QFile::Permissions kPicturePermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;

}  // namespace

FileDownload::FileDownload(QNetworkAccessManager& network, const QString& address, QString file,
                           DownloadOptions options, QObject* parent)
    : QObject(parent),
      m_fetch(network, WebAddressFromText(address), {options.maxBytes, options.timeoutMs, options.maxRedirects}),
      m_file(std::move(file)),
      m_options(options)
{
  m_fetch.SetSink([this](const QByteArray& data) { return Write(data); });
  connect(&m_fetch, &WebFetch::Finished, this, &FileDownload::OnFetchFinished);
}

FileDownload::~FileDownload()
{
  Abort();
}

void FileDownload::Start()
{
  if (m_running)
    return;
  m_running = true;
  m_outcome = {};
  const QFileInfo target(m_file);
  if (target.fileName().isEmpty() || target.isDir() || !OpenTemporary()) {
    QString reason = QStringLiteral("Cannot write beside ") + m_file;
    if (!target.fileName().isEmpty() && !target.isDir())
      reason += QStringLiteral(": ") + m_temporary->errorString();
    QTimer::singleShot(0, this, [this, reason] {
      if (m_running)
        End(false, WebFailure::Local, reason);
    });
    return;
  }
  m_fetch.Start();
}

void FileDownload::Abort()
{
  m_fetch.Abort();
  m_running = false;
  DropTemporary();
}

// The download is written beside the target and replaces it only once it is whole.
bool FileDownload::OpenTemporary()
{
  ReplaceOptions options;
  options.keepTargetPermissions = false;
  options.newPermissions = kPicturePermissions;
  m_replacement = std::make_unique<AtomicFile>(m_file, options);
  m_temporary = std::make_unique<QFile>(m_replacement->TemporaryPath());
  return m_temporary->open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

void FileDownload::DropTemporary()
{
  m_temporary.reset();
  m_replacement.reset();
}

QString FileDownload::Write(const QByteArray& data)
{
  if (!WriteAll(*m_temporary, data))
    return QStringLiteral("Cannot write the download: ") + m_temporary->errorString();
  return {};
}

void FileDownload::OnFetchFinished()
{
  const FetchResult& result = m_fetch.Result();
  m_outcome.httpStatus = result.httpStatus;
  m_outcome.bytes = m_fetch.BytesReceived();
  if (!result.ok) {
    End(false, result.failure, result.reason);
    return;
  }
  const QString problem = KeepFile();
  if (!problem.isEmpty()) {
    End(false, WebFailure::Local, problem);
    return;
  }
  End(true, WebFailure::None, {});
}

// Moves the finished temporary file over the target; the error text when that cannot be done.
QString FileDownload::KeepFile()
{
  if (!FlushAll(*m_temporary))
    return QStringLiteral("Cannot write the download: ") + m_temporary->errorString();
  m_temporary->close();
  if (m_options.requirePicture && !IsPictureFile(m_replacement->TemporaryPath()))
    return QStringLiteral("The download is not a picture");
  ReplaceFailure failure;
  if (!m_replacement->Commit(&failure)) {
    if (failure.step != ReplaceStep::ReplaceFile)
      return QStringLiteral("Cannot write the download: ") + failure.reason;
    return QStringLiteral("Cannot replace ") + m_file + QStringLiteral(": ") + failure.reason;
  }
  return {};
}

void FileDownload::End(bool ok, WebFailure failure, const QString& reason)
{
  m_running = false;
  DropTemporary();
  m_outcome.ok = ok;
  m_outcome.failure = failure;
  m_outcome.reason = reason;
  emit Finished();
}

DownloadOutcome UrlDownloadToFile(QNetworkAccessManager& network, const QString& address, const QString& file,
                                  const DownloadOptions& options)
{
  FileDownload download(network, address, file, options);
  QEventLoop loop;
  QObject::connect(&download, &FileDownload::Finished, &loop, &QEventLoop::quit);
  download.Start();
  if (download.IsRunning())
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  return download.Outcome();
}

}  // namespace quillon
