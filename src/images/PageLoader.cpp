#include "images/PageLoader.h"

#include "images/PictureProbe.h"

#include <QEventLoop>
#include <QSet>

namespace quillon {

namespace {

bool IsPictureType(const QByteArray& contentType)
{
  return contentType.trimmed().toLower().startsWith("image/");
}

}  // namespace

PageLoader::PageLoader(QObject* parent) : QObject(parent)
{
  m_pictureDeadline.setSingleShot(true);
  connect(&m_pictureDeadline, &QTimer::timeout, this, [this] {
    // Pictures still loading keep only the sizes the page declares.
    for (PictureProbe* probe : m_probes) {
      probe->Abort();
      probe->deleteLater();
    }
    m_probes.clear();
    m_waitingPictures.clear();
    Complete();
  });
}

PageLoader::~PageLoader()
{
  Cancel();
}

void PageLoader::Navigate(const QString& address)
{
  Cancel();
  m_address = address;
  m_state = State::Busy;
  emit NavigationStarted(address);
  if (m_state != State::Busy || m_page || m_address != address)
    return;  // a handler navigated elsewhere or stopped
  m_page = new WebFetch(m_network, WebAddressFromText(address),
                        {m_limits.maxPageBytes, m_limits.pageTimeoutMs, m_limits.maxRedirects}, this);
  connect(m_page, &WebFetch::HeadersReceived, this, &PageLoader::OnPageHeaders);
  connect(m_page, &WebFetch::Finished, this, &PageLoader::OnPageFinished);
  m_page->Start();
}

void PageLoader::Stop()
{
  Cancel();
  m_state = State::Idle;
}

void PageLoader::Cancel()
{
  if (m_page) {
    m_page->Abort();
    m_page->deleteLater();
    m_page = nullptr;
  }
  for (PictureProbe* probe : m_probes) {
    probe->Abort();
    probe->deleteLater();
  }
  m_probes.clear();
  m_waitingPictures.clear();
  m_declared.clear();
  m_facts.clear();
  m_pictureDeadline.stop();
  m_document = {};
  m_lastError.clear();
}

bool PageLoader::WaitForDocument(int timeoutMs)
{
  if (m_state == State::Busy) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &PageLoader::DocumentComplete, &loop, &QEventLoop::quit);
    connect(this, &PageLoader::NavigationFailed, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    loop.exec();
  }
  return m_state == State::Completed;
}

void PageLoader::OnPageHeaders()
{
  // A navigation straight to a picture shows the picture: it may be as large as pictures are.
  if (IsPictureType(m_page->Result().contentType))
    m_page->SetMaxBytes(m_limits.maxPictureBytes);
  emit DownloadBegun(m_address);
}

void PageLoader::OnPageFinished()
{
  WebFetch* page = m_page;
  m_page = nullptr;
  page->deleteLater();
  const FetchResult& result = page->Result();
  if (!result.ok) {
    Fail(result.reason);
    return;
  }
  m_document.address = result.finalUrl.toString(QUrl::FullyEncoded);
  m_document.domain = result.finalUrl.host();
  if (IsPictureType(result.contentType)) {
    TakePictureDocument(page->Body(), result.finalUrl);
    Complete();
    return;
  }
  HtmlPage html = ParseHtml(DecodeHtml(page->Body(), result.contentType), result.finalUrl);
  m_document.title = html.title;
  m_document.links = std::move(html.links);
  MeasurePictures(std::move(html.images));
}

// A picture shown on its own is a document of one picture element.
void PageLoader::TakePictureDocument(const QByteArray& body, const QUrl& address)
{
  const std::optional<PictureFacts> facts = ReadPictureFacts(body, PictureRead::HeaderOnly);
  const QString src = address.toString(QUrl::FullyEncoded);
  m_declared.push_back({src, std::nullopt, std::nullopt});
  m_facts.insert(src, facts);
}

void PageLoader::MeasurePictures(std::vector<DeclaredImage> images)
{
  m_declared = std::move(images);
  QSet<QString> queued;
  for (const DeclaredImage& image : m_declared) {
    if (queued.size() >= kMaxPicturesPerPage)
      break;
    if (queued.contains(image.src) || !IsWebAddress(QUrl(image.src)))
      continue;
    queued.insert(image.src);
    m_waitingPictures.push_back(image.src);
  }
  if (m_waitingPictures.empty()) {
    Complete();
    return;
  }
  m_pictureDeadline.start(m_limits.pictureTimeoutMs);
  StartNextProbes();
}

void PageLoader::StartNextProbes()
{
  while (!m_waitingPictures.empty() && static_cast<int>(m_probes.size()) < kParallelPictures) {
    const QString src = m_waitingPictures.front();
    m_waitingPictures.pop_front();
    auto* probe = new PictureProbe(m_network, QUrl(src), m_limits, this);
    m_probes.push_back(probe);
    connect(probe, &PictureProbe::Done, this, [this, probe, src] { OnProbeDone(probe, src); });
    probe->Start();
  }
}

void PageLoader::OnProbeDone(PictureProbe* probe, const QString& src)
{
  m_facts.insert(src, probe->Facts());
  std::erase(m_probes, probe);
  probe->deleteLater();
  StartNextProbes();
  if (m_probes.empty() && m_waitingPictures.empty()) {
    m_pictureDeadline.stop();
    Complete();
  }
}

void PageLoader::Complete()
{
  for (const DeclaredImage& declared : m_declared) {
    const std::optional<PictureFacts> facts = m_facts.value(declared.src);
    const QSize size = LaidOutSize(declared.width, declared.height, facts ? facts->size : QSize());
    m_document.images.push_back(
        {declared.src, size.width(), size.height(), facts ? PictureTypeDescription(facts->format) : QString()});
  }
  m_declared.clear();
  m_facts.clear();
  m_state = State::Completed;
  emit DocumentComplete(m_document.address);
}

void PageLoader::Fail(const QString& reason)
{
  m_document = {};
  m_lastError = reason;
  m_state = State::Failed;
  emit NavigationFailed(m_address, reason);
}

}  // namespace quillon
