#include "ui/CoverLoader.h"

#include "browser/CoverThumbnails.h"

#include <QImage>

namespace quillon::ui {

namespace {

// A cover's weight in the memory cache: its pixels, in kilobytes.
int CostOf(const QPixmap& cover)
{
  return std::max(1, static_cast<int>(qint64(cover.width()) * cover.height() * cover.depth() / 8 / 1024));
}

constexpr int kFullCoverCost = kThumbnailSide * kThumbnailSide * 4 / 1024;

}  // namespace

CoverLoader::CoverLoader(const QString& thumbnailFolder, QObject* parent) : QObject(parent), m_folder(thumbnailFolder)
{
  // Two workers: the machine and the disk stay free for the window.
  m_pool.setMaxThreadCount(2);
  SetCapacity(64);
}

CoverLoader::~CoverLoader()
{
  m_pool.clear();
  m_pool.waitForDone();
}

QPixmap CoverLoader::Cover(const QString& picturePath)
{
  if (picturePath.isEmpty())
    return {};
  if (const QPixmap* cover = m_cache.object(picturePath))
    return *cover;
  if (!m_unreadable.contains(picturePath) && !m_queued.contains(picturePath) && !m_running.contains(picturePath)) {
    m_queue.push_back(picturePath);
    m_queued.insert(picturePath);
    StartNext();
  }
  return {};
}

void CoverLoader::KeepOnly(const QSet<QString>& picturePaths)
{
  std::erase_if(m_queue, [&](const QString& path) {
    if (picturePaths.contains(path))
      return false;
    m_queued.remove(path);
    return true;
  });
}

void CoverLoader::SetCapacity(int covers)
{
  m_cache.setMaxCost(std::max(1, covers) * kFullCoverCost);
}

void CoverLoader::Clear()
{
  m_cache.clear();
  m_unreadable.clear();
}

qint64 CoverLoader::CachedBytes() const
{
  qint64 bytes = 0;
  for (const QString& key : m_cache.keys()) {
    const QPixmap* cover = m_cache.object(key);
    bytes += qint64(cover->width()) * cover->height() * cover->depth() / 8;
  }
  return bytes;
}

void CoverLoader::StartNext()
{
  while (!m_queue.empty() && m_running.size() < m_pool.maxThreadCount()) {
    const QString path = m_queue.front();
    m_queue.pop_front();
    m_queued.remove(path);
    m_running.insert(path);
    const QString folder = m_folder;
    m_pool.start([this, path, folder] {
      const QImage thumbnail = LoadThumbnail(path, folder);
      QMetaObject::invokeMethod(
          this, [this, path, thumbnail] { Finished(path, thumbnail); }, Qt::QueuedConnection);
    });
  }
}

void CoverLoader::Finished(const QString& picturePath, const QImage& thumbnail)
{
  m_running.remove(picturePath);
  if (thumbnail.isNull()) {
    m_unreadable.insert(picturePath);
  } else {
    auto* cover = new QPixmap(QPixmap::fromImage(thumbnail));
    m_cache.insert(picturePath, cover, CostOf(*cover));
  }
  StartNext();
  emit coverReady(picturePath);
}

}  // namespace quillon::ui
