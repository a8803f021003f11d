#include "ui/MatchStatusMarks.h"

#include "identify/RomIndex.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace quillon::ui {

namespace {

constexpr int kDotSize = 10;

}  // namespace

QColor MatchStatusColour(int status)
{
  switch (static_cast<MatchStatus>(status)) {
    case MatchStatus::Verified:
      return QColor(0x2e, 0x9e, 0x3e);
    case MatchStatus::Rename:
      return QColor(0xe0, 0x9a, 0x10);
    case MatchStatus::BadDump:
      return QColor(0xd0, 0x30, 0x30);
    case MatchStatus::NotInList:
      return QColor(0x90, 0x90, 0x90);
    case MatchStatus::Ambiguous:
      return QColor(0x30, 0x70, 0xd0);
    case MatchStatus::Unchecked:
      break;
  }
  return {};
}

QIcon MatchStatusIcon(int status)
{
  static QHash<int, QIcon> icons;
  const QColor colour = MatchStatusColour(status);
  if (!colour.isValid())
    return {};
  auto found = icons.constFind(status);
  if (found != icons.cend())
    return *found;
  QPixmap dot(kDotSize, kDotSize);
  dot.fill(Qt::transparent);
  QPainter painter(&dot);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(colour.darker(130));
  painter.setBrush(colour);
  painter.drawEllipse(QRectF(0.5, 0.5, kDotSize - 1.0, kDotSize - 1.0));
  painter.end();
  return *icons.insert(status, QIcon(dot));
}

QString MatchStatusTip(int status, const QString& standardName)
{
  if (status == static_cast<int>(MatchStatus::Unchecked))
    return {};
  const QString text = MatchStatusText(static_cast<MatchStatus>(status));
  return standardName.isEmpty() ? text : text + QStringLiteral(": ") + standardName;
}

}  // namespace quillon::ui
