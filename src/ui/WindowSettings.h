#pragma once
// What the windows remember between runs — sizes and places, splitters, columns, the system and
// game last shown — kept with QSettings in "quillon.ini" in the data folder, so that a portable
// data folder carries it along.
#include <QList>
#include <QRect>
#include <QSettings>

class QWidget;

namespace quillon {
class DataFolder;
}

namespace quillon::ui {

inline const QString kWindowSettingsFile = QStringLiteral("quillon.ini");

class WindowSettings {
 public:
  explicit WindowSettings(const DataFolder& folder);

  QVariant Value(const QString& key) const { return m_settings.value(key); }
  bool Contains(const QString& key) const { return m_settings.contains(key); }
  void SetValue(const QString& key, const QVariant& value) { m_settings.setValue(key, value); }

  // A top-level window's size and place as stored; a place on a screen that is gone (or mostly
  // off every screen) is moved onto the screen the window would open on.
  void RestoreGeometry(QWidget* window, const QString& key) const;
  void SaveGeometry(const QWidget* window, const QString& key);

 private:
  QSettings m_settings;
};

// `frame` kept when enough of its top edge (where it is dragged by) lies on one of `screens`;
// otherwise moved to the middle of the first screen, and made smaller when it is larger. The
// screens are the available areas, the first the one windows open on.
QRect PlaceOnScreens(const QRect& frame, const QList<QRect>& screens);

}  // namespace quillon::ui
