#include "catalogue/SystemNames.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/ReservedKeys.h"

#include <QRegularExpression>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("SystemNamesOf");

struct ShippedNames {
  qint64 systemId;
  const char* esde;
  const char* pegasus;
  const char* retroArch;
  const char* softwareLists;  // separated by ";"
};

// ES-DE and Pegasus share most short names; RetroArch names are those of its databases, except
// for the Sam Coupe, the CoCo and the MTX, which have none there and get a name of the same form.
// Arcade and Zinc games are Mame machines, not software-list items.
constexpr ShippedNames kShipped[] = {
    {1, "arcade", "arcade", "MAME", ""},
    {2, "genesis", "genesis", "Sega - Mega Drive - Genesis", "megadriv;32x"},
    {3, "snes", "snes", "Nintendo - Super Nintendo Entertainment System", "snes;snes_bspack;snes_strom"},
    {4, "pcengine", "pcengine", "NEC - PC Engine - TurboGrafx 16", "pce;tg16"},
    {5, "atari2600", "atari2600", "Atari - 2600", "a2600;a2600_cass"},
    {6, "atari5200", "atari5200", "Atari - 5200", "a5200"},
    {7, "atari7800", "atari7800", "Atari - 7800", "a7800"},
    {8, "atarilynx", "atarilynx", "Atari - Lynx", "lynx"},
    {9, "atarijaguar", "atarijaguar", "Atari - Jaguar", "jaguar"},
    {10, "intellivision", "intellivision", "Mattel - Intellivision", "intv;intvecs"},
    {11, "gb", "gb", "Nintendo - Game Boy", "gameboy;gbcolor"},
    {12, "gba", "gba", "Nintendo - Game Boy Advance", "gba"},
    {13, "colecovision", "colecovision", "Coleco - ColecoVision", "coleco"},
    {14, "msx1", "msx", "Microsoft - MSX", "msx1_cart;msx1_cass;msx1_flop"},
    {15, "msx2", "msx2", "Microsoft - MSX2", "msx2_cart;msx2_cass;msx2_flop"},
    {16, "ngp", "ngp", "SNK - Neo Geo Pocket", "ngp;ngpc"},
    {17, "n64", "n64", "Nintendo - Nintendo 64", "n64"},
    {18, "amstradcpc", "amstradcpc", "Amstrad - CPC", "cpc_cass;cpc_flop"},
    {19, "samcoupe", "samcoupe", "MGT - SAM Coupe", "samcoupe_cass;samcoupe_flop"},
    {20, "gamegear", "gamegear", "Sega - Game Gear", "gamegear"},
    {21, "mastersystem", "mastersystem", "Sega - Master System - Mark III", "sms"},
    {22, "supervision", "supervision", "Watara - Supervision", "svision"},
    {23, "coco", "coco", "Tandy - Color Computer", "coco_cart;coco_flop"},
    {24, "moto", "moto", "Thomson - MOTO", "mo5_cart;mo5_cass;mo5_flop;mo5_qd"},
    {25, "virtualboy", "virtualboy", "Nintendo - Virtual Boy", "vboy"},
    {26, "vectrex", "vectrex", "GCE - Vectrex", "vectrex"},
    {27, "wonderswan", "wonderswan", "Bandai - WonderSwan", "wswan;wscolor"},
    {28, "mtx", "mtx", "Memotech - MTX", "mtx_cart;mtx_cass;mtx_flop;mtx_rom"},
    {kZincSystemId, "arcade", "arcade", "MAME", ""},
};

// The override in `column` of the row, when the column exists and holds a non-blank value.
std::optional<QString> Override(const Rows& rows, const QString& column)
{
  const QVariant value = rows.Value(0, column);
  if (!value.isValid() || value.isNull() || value.toString().trimmed().isEmpty())
    return std::nullopt;
  return value.toString().trimmed();
}

}  // namespace

const QStringList& SystemNameColumns()
{
  static const QStringList columns{kEsdeNameColumn,      kPegasusNameColumn,   kRetroArchNameColumn,
                                   kSoftwareListsColumn, kRetroArchCoreColumn, kRetroArchCoreNameColumn};
  return columns;
}

std::optional<SystemNames> ShippedSystemNames(qint64 systemId)
{
  for (const ShippedNames& shipped : kShipped) {
    if (shipped.systemId == systemId) {
      return SystemNames{QString::fromLatin1(shipped.esde),
                         QString::fromLatin1(shipped.pegasus),
                         QString::fromLatin1(shipped.retroArch),
                         SoftwareListNames(QString::fromLatin1(shipped.softwareLists)),
                         {},
                         {}};
    }
  }
  return std::nullopt;
}

std::optional<SystemNames> SystemNamesOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<Rows> rows =
      catalogue.Select(feedback, kRoutine, QStringLiteral("SELECT * FROM System WHERE SystemID = ?"), {systemId});
  if (!rows)
    return std::nullopt;
  if (rows->IsEmpty()) {
    ReportError(feedback, kNoCurrentRecord, kRoutine, QStringLiteral("No system with the key %1.").arg(systemId));
    return std::nullopt;
  }
  SystemNames names = ShippedSystemNames(systemId).value_or(SystemNames{});
  const auto take = [&rows](const QString& column, QString& name) {
    if (const std::optional<QString> value = Override(*rows, column))
      name = *value;
  };
  take(kEsdeNameColumn, names.esde);
  take(kPegasusNameColumn, names.pegasus);
  take(kRetroArchNameColumn, names.retroArch);
  take(kRetroArchCoreColumn, names.retroArchCore);
  take(kRetroArchCoreNameColumn, names.retroArchCoreName);
  if (const std::optional<QString> lists = Override(*rows, kSoftwareListsColumn))
    names.softwareLists = SoftwareListNames(*lists);
  return names;
}

QStringList SoftwareListNames(const QString& text)
{
  static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
  return text.split(separators, Qt::SkipEmptyParts);
}

}  // namespace quillon
