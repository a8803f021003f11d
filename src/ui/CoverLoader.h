#pragma once
// The covers of the box-art grid: thumbnails made or read from the disk cache on worker threads,
// never on the window's, and kept in memory only for about the games on screen. A cover not in
// memory yet is queued and announced when it arrives.
#include <QCache>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QThreadPool>

#include <deque>

namespace quillon::ui {

class CoverLoader : public QObject {
  Q_OBJECT

 public:
  explicit CoverLoader(const QString& thumbnailFolder, QObject* parent = nullptr);
  ~CoverLoader() override;

  // The cover of a picture when memory holds it; otherwise a null pixmap, and the thumbnail is
  // queued unless the picture gave none before.
  QPixmap Cover(const QString& picturePath);
  // Only these pictures are still wanted (the games on screen): queued work for others is dropped.
  void KeepOnly(const QSet<QString>& picturePaths);
  // How many covers memory keeps at most.
  void SetCapacity(int covers);
  // Forgets every cover in memory and every picture that gave none (the pictures may have changed).
  void Clear();

  int CachedCount() const { return m_cache.count(); }
  // Bytes of the covers in memory.
  qint64 CachedBytes() const;
  // Covers queued or being made.
  int PendingCount() const { return static_cast<int>(m_queue.size() + m_running.size()); }

 signals:
  void coverReady(const QString& picturePath);

 private:
  void StartNext();
  void Finished(const QString& picturePath, const QImage& thumbnail);

  QString m_folder;
  QCache<QString, QPixmap> m_cache;
  std::deque<QString> m_queue;
  QSet<QString> m_queued;
  QSet<QString> m_running;
  QSet<QString> m_unreadable;
  QThreadPool m_pool;
};

}  // namespace quillon::ui
