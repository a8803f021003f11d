#include "ui/WindowSettings.h"

#include "catalogue/DataFolder.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quillon::ui {

namespace {

// How much of a window's top edge must lie on a screen for the user to reach it.
constexpr int kGraspWidth = 120;
constexpr int kGraspHeight = 24;

QList<QRect> AvailableScreens()
{
  QList<QRect> screens;
  if (QScreen* primary = QGuiApplication::primaryScreen())
    screens << primary->availableGeometry();
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen())
      screens << screen->availableGeometry();
  }
  return screens;
}

}  // namespace

QRect PlaceOnScreens(const QRect& frame, const QList<QRect>& screens)
{
  if (screens.isEmpty() || frame.isEmpty())
    return frame;
  const QRect grasp(frame.left(), frame.top(), frame.width(), std::min(frame.height(), kGraspHeight));
  for (const QRect& screen : screens) {
    const QRect onScreen = screen.intersected(grasp);
    if (onScreen.width() >= std::min(kGraspWidth, frame.width()) && onScreen.height() >= grasp.height())
      return frame;
  }
  const QRect& home = screens.first();
  const QSize size = frame.size().boundedTo(home.size());
  return {home.topLeft() + QPoint((home.width() - size.width()) / 2, (home.height() - size.height()) / 2), size};
}

WindowSettings::WindowSettings(const DataFolder& folder)
    : m_settings(folder.Path() + kWindowSettingsFile, QSettings::IniFormat)
{
}

void WindowSettings::RestoreGeometry(QWidget* window, const QString& key) const
{
  const QByteArray geometry = m_settings.value(key).toByteArray();
  if (geometry.isEmpty() || !window->restoreGeometry(geometry))
    return;
  if (window->isMaximized() || window->isFullScreen())
    return;
  const QRect frame = window->frameGeometry();
  const QRect placed = PlaceOnScreens(frame, AvailableScreens());
  if (placed == frame)
    return;
  const QSize decoration = frame.size() - window->size();
  window->resize((placed.size() - decoration).expandedTo(window->minimumSize()));
  window->move(placed.topLeft());
}

void WindowSettings::SaveGeometry(const QWidget* window, const QString& key)
{
  m_settings.setValue(key, window->saveGeometry());
}

}  // namespace quillon::ui
