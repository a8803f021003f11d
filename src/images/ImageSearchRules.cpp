#include "images/ImageSearchRules.h"

#include "images/PageDocument.h"
#include "images/UrlEncode.h"
#include "names/Similarity.h"
#include "names/TextCleaning.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace quillon {

namespace {

// The text before its last ".", trimmed; a text without "." whole, trimmed.
QString BeforeLastDot(const QString& text)
{
  const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
  return (dot < 0 ? text : text.left(dot)).trimmed();
}

double ScoreValue(const QString& scoreText)
{
  QString number = scoreText;
  number.remove(QLatin1Char('%'));
  return number.trimmed().toDouble();
}

}  // namespace

bool IsBlankAddress(const QString& address)
{
  return address.isEmpty() || address == QStringLiteral("http:///");
}

QString SearchText(const QString& listText)
{
  QString text = listText.trimmed().toLower();
  text.replace(QLatin1Char('_'), QLatin1Char(' '));
  text.remove(QStringLiteral(", the"));
  const qsizetype bracket = text.indexOf(QLatin1Char('('));
  return bracket < 0 ? text : text.left(bracket);
}

QString SearchAddress(const QString& siteAddress, const QString& listText, bool appendFullName)
{
  return appendFullName ? siteAddress + URLEncode(SearchText(listText)) : siteAddress;
}

float LinkScore(const QString& fullName, const QString& uniqueName, const QString& linkText)
{
  const QString name = fullName.trimmed();
  const float byName = Compare(name, linkText, QStringLiteral(" "), CompareMode::IgnoreCase);
  const QString unique = uniqueName.contains(QLatin1Char('.')) ? BeforeLastDot(uniqueName) : name;
  const float byFile = Compare(unique, BeforeLastDot(linkText), QStringLiteral(" "), CompareMode::IgnoreCase);
  return std::max(byName, byFile);
}

QString ScoreText(float score)
{
  return QString::number(static_cast<double>(score) * 100.0, 'f', 2) + QLatin1Char('%');
}

std::optional<int> WholePercent(const QString& text)
{
  if (text.isEmpty())
    return std::nullopt;
  bool ok = false;
  const double value = text.left(text.size() - 1).trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value) || std::fabs(value) > 1e9)
    return std::nullopt;
  // std::nearbyint rounds half to even in the default rounding mode.
  return static_cast<int>(std::nearbyint(value));
}

bool MatchGrid::HasMatches() const
{
  return m_rows.size() >= 2 && m_rows.back().address.isEmpty();
}

void MatchGrid::AddMatch(const QString& address, float score, const QString& linkText, const QString& domain,
                         qint64 siteId)
{
  m_rows.back() = {address.trimmed(), ScoreText(score), QLatin1Char(' ') + linkText.trimmed(), domain.trimmed(),
                   QString::number(siteId)};
  m_rows.emplace_back();
}

void MatchGrid::SortByScore()
{
  std::stable_sort(m_rows.begin(), m_rows.end() - 1,
                   [](const MatchRow& a, const MatchRow& b) { return ScoreValue(a.score) > ScoreValue(b.score); });
}

MatchDecision DecideMatch(const MatchGrid& grid, const QString& autoDownloadLevel, bool neverAsk, bool hasDefaultImage)
{
  const int rows = grid.RowCount();
  if (rows == 1) {
    if (grid.Row(0).domain == kNoImagesFoundText) {
      if (hasDefaultImage)
        return {MatchAction::UseDefaultImage, kUsingDefaultImageText};
      return {MatchAction::NothingFound, {}};
    }
    return {MatchAction::NoResults, kNoResultsText};
  }
  const std::optional<int> best = WholePercent(grid.Row(0).score);
  const std::optional<int> threshold = WholePercent(autoDownloadLevel);
  const bool reachesThreshold = best && threshold && *best >= *threshold;
  MatchDecision decision;
  if (rows == 2) {
    if (reachesThreshold && grid.Row(1).score.isEmpty())
      return {MatchAction::Download, {}};
    decision.status = grid.Row(1).score.isEmpty()
                          ? QStringLiteral("1 match found (") + grid.Row(0).score + QLatin1Char(')')
                          : QStringLiteral("2 matches found, select one.");
  }
  if (!neverAsk)
    decision.action = MatchAction::Choose;
  else
    decision.action = reachesThreshold ? MatchAction::Download : MatchAction::PassOver;
  return decision;
}

QString MatchesFoundText(int matches, bool canChoose)
{
  if (matches < 2)
    return {};
  return QString::number(matches) +
         (canChoose ? QStringLiteral(" matches found, select one.") : QStringLiteral(" matches found."));
}

QString UnattendedDecisionText(const MatchGrid& grid, MatchAction action, const QString& autoDownloadLevel)
{
  const int matches = grid.RowCount() - 1;
  if (matches < 1)
    return {};
  const MatchRow& best = grid.Row(0);
  const QString which =
      matches == 1 ? QStringLiteral("The only match") : QStringLiteral("Best of %1 matches").arg(matches);
  if (action == MatchAction::Download)
    return which + QStringLiteral(" taken: %1 (%2).").arg(best.text.trimmed(), best.score);
  if (action == MatchAction::PassOver)
    return which + QStringLiteral(" (%1) is below %2: nothing downloaded.").arg(best.score, autoDownloadLevel);
  return {};
}

QStringList ImageFilterList(const QVariant& imageFilter)
{
  const QString value = imageFilter.isNull() ? QString() : imageFilter.toString();
  if (!value.contains(QLatin1Char(';')))
    return {value};
  return value.split(QLatin1Char(';'));
}

QString PictureExtension(const QString& src, const QString& mimeType)
{
  const QString name = src.mid(src.lastIndexOf(QLatin1Char('/')) + 1);
  const QString extension = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1).toLower();
  if (!extension.isEmpty())
    return extension;
  return mimeType.left(std::max<qsizetype>(0, mimeType.size() - 5));
}

std::optional<QString> PicturePicker::Take(const PageImage& image)
{
  if (image.src.isEmpty() || image.width < m_rules.minWidth || image.height < m_rules.minHeight)
    return std::nullopt;
  if (m_rules.ignored.contains(image.src))
    return std::nullopt;
  const QString extension = PictureExtension(image.src, image.mimeType);
  // A picture of unknown type has no extension to be saved with.
  if (extension.trimmed().isEmpty() || !m_rules.defaultImageType.contains(extension, Qt::CaseInsensitive))
    return std::nullopt;
  if (!m_rules.filter.isEmpty() && !m_rules.filter.first().isEmpty()) {
    ++m_passed;
    const bool listed = std::any_of(m_rules.filter.cbegin(), m_rules.filter.cend(), [this](const QString& entry) {
      bool ok = false;
      const int ordinal = entry.trimmed().toInt(&ok);
      return ok && ordinal == m_passed;
    });
    if (!listed)
      return std::nullopt;
  }
  return extension;
}

QString PictureBase(const QString& folder, const QString& uniqueName)
{
  QString name = uniqueName;
  name.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString separator = folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
  return folder + separator + StripExtension(name.mid(name.lastIndexOf(QLatin1Char('/')) + 1));
}

bool PictureBaseExists(const QString& base)
{
  // Picture folders may hold a great many files: their names are compared as bytes, as read.
  const QFileInfo info(base);
  const QByteArray prefix = QFile::encodeName(info.fileName() + QLatin1Char('.'));
  const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(QFile::encodeName(info.path()).constData()), ::closedir);
  if (!folder)
    return false;
  while (const dirent* entry = ::readdir(folder.get())) {
    if (std::strncmp(entry->d_name, prefix.constData(), static_cast<size_t>(prefix.size())) == 0 &&
        QFileInfo(info.path() + QLatin1Char('/') + QFile::decodeName(entry->d_name)).isFile())
      return true;
  }
  return false;
}

QString PictureFile(const QString& base, int downloaded, bool baseExists, const QString& extension)
{
  const QString suffix = baseExists && downloaded != 0 ? QLatin1Char('_') + QString::number(downloaded) : QString();
  // A type description keeps its trailing blank for the type test, not in a file name.
  return base + suffix + QLatin1Char('.') + extension.trimmed();
}

}  // namespace quillon
