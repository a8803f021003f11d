#include "common/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace quillon {

bool FileExists(const QString& path)
{
  if (path.isEmpty())
    return false;
  const QFileInfo info(path);
  return info.exists() && info.isFile();
}

QString Check4Slash(const QString& path)
{
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QStringList ExtensionList(const QString& defaultRomType)
{
  if (!defaultRomType.contains(QLatin1Char(';')))
    return {defaultRomType};
  return defaultRomType.split(QLatin1Char(';'));
}

QString ExtensionOf(const QString& name)
{
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.mid(dot + 1);
}

bool SameFolder(const QString& first, const QString& second)
{
  const auto identity = [](const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
  };
  return identity(first) == identity(second);
}

std::optional<QString> ExactFileName(const QByteArray& name)
{
  // Most names are plain ASCII, which every conversion gives back exactly.
  if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<uchar>(c) < 0x80; }))
    return QString::fromLatin1(name);
  // Qt's own conversions drop a leading byte order mark; a file name keeps it. The decoder takes
  // only shortest forms of characters, so valid text gives back the same bytes.
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
  QString text = decoder(name);
  if (decoder.hasError())
    return std::nullopt;
  return text;
}

QString ShortName(const QString& path)
{
  if (path.isEmpty())
    return {};
  const QFileInfo info(path);
  return info.exists() ? info.absoluteFilePath() : QString();
}

QString GetLongPathName(const QString& path)
{
  if (path.isEmpty())
    return {};
  return QFileInfo(path).canonicalFilePath();
}

}  // namespace quillon
