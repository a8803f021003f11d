#include "catalogue/Feedback.h"

namespace quillon {

QString StatusMessage(StatusKind kind, const QString& text)
{
  switch (kind) {
    case StatusKind::Ok:
      return QStringLiteral("OK.");
    case StatusKind::Done:
      return QStringLiteral("Done.");
    case StatusKind::Error:
      return QStringLiteral("Error - ") + text;
    case StatusKind::Text:
      return text;
    case StatusKind::Upgrading:
      return QStringLiteral("Updating Database Structure, Please wait....");
  }
  return text;
}

QString StatusLine(StatusKind kind, const QString& text)
{
  return QStringLiteral("Status: ") + StatusMessage(kind, text);
}

QString ErrorReportText(int number, const QString& routine, const QString& description)
{
  return QString::number(number) + QStringLiteral("-(") + routine + QStringLiteral(")-") + description;
}

void ReportError(Feedback& feedback, int number, const QString& routine, const QString& description)
{
  feedback.SetStatus(StatusKind::Error, ErrorReportText(number, routine, description));
}

}  // namespace quillon
