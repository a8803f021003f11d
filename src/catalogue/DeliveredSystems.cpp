#include "catalogue/DeliveredSystems.h"

#include "catalogue/Catalogue.h"

namespace quillon {

namespace {

// Disc systems list their sheet and playlist types first: a cue, gdi or ccd sheet and an m3u
// playlist are the game, the tracks they name are not games of their own. Loose tracks (.bin,
// .img) are therefore no ROM type of theirs.
constexpr DeliveredSystem kSystems[] = {
    {"NES", "NES", 1, "nes;unf;unif;zip", "nes", "nes", "Nintendo - Nintendo Entertainment System", "nes;nes_ade"},
    {"Famicom Disk System", "FDS", 1, "fds;zip", "fds", "fds", "Nintendo - Family Computer Disk System",
     "famicom_flop"},
    {"Game Boy Color", "GBC", 2, "gbc;zip", "gbc", "gbc", "Nintendo - Game Boy Color", "gbcolor"},
    {"Sega 32X", "32X", 1, "32x;bin;zip", "sega32x", "sega32x", "Sega - 32X", "32x"},
    {"Sega CD / Mega-CD", "SCD", 1, "cue;m3u;chd;iso", "segacd", "segacd", "Sega - Mega-CD - Sega CD",
     "segacd;megacd;megacdj"},
    {"Sega Saturn", "SAT", 1, "cue;ccd;m3u;chd;iso", "saturn", "saturn", "Sega - Saturn", "saturn"},
    {"Sega Dreamcast", "DC", 1, "gdi;cue;m3u;chd;cdi", "dreamcast", "dreamcast", "Sega - Dreamcast", "dc"},
    {"SG-1000", "SG1K", 1, "sg;sc;zip", "sg-1000", "sg1000", "Sega - SG-1000", "sg1000"},
    {"PC Engine CD / TurboGrafx-CD", "PCECD", 1, "cue;ccd;m3u;chd", "pcenginecd", "pcenginecd",
     "NEC - PC Engine CD - TurboGrafx-CD", "pcecd"},
    {"Neo Geo", "NEO", 4, "zip;7z", "neogeo", "neogeo", "SNK - Neo Geo", "neogeo"},
    {"Neo Geo CD", "NGCD", 1, "cue;m3u;chd", "neogeocd", "neogeocd", "SNK - Neo Geo CD", "neocd"},
    {"PlayStation", "PSX", 1, "cue;ccd;m3u;chd;pbp;iso", "psx", "psx", "Sony - PlayStation", "psx"},
    {"PlayStation 2", "PS2", 1, "cue;m3u;chd;iso;cso", "ps2", "ps2", "Sony - PlayStation 2", ""},
    {"PSP", "PSP", 2, "iso;cso;pbp;chd", "psp", "psp", "Sony - PlayStation Portable", ""},
    {"Nintendo DS", "NDS", 2, "nds;zip", "nds", "nds", "Nintendo - Nintendo DS", ""},
    {"GameCube", "GC", 1, "m3u;iso;rvz;gcz;ciso", "gc", "gc", "Nintendo - GameCube", ""},
    {"Wii", "Wii", 1, "iso;rvz;wbfs;wia", "wii", "wii", "Nintendo - Wii", ""},
    {"3DO", "3DO", 1, "cue;m3u;chd;iso", "3do", "3do", "The 3DO Company - 3DO", ""},
    {"Atari ST", "ST", 3, "st;stx;msa;m3u;zip", "atarist", "atarist", "Atari - ST", "st_flop;st_cart"},
    {"Amiga", "Amiga", 3, "adf;ipf;lha;m3u;zip", "amiga", "amiga", "Commodore - Amiga",
     "amiga_flop;amigaocs_flop;amigaecs_flop;amigaaga_flop"},
    {"Commodore 64", "C64", 3, "d64;g64;t64;tap;prg;crt;m3u;zip", "c64", "c64", "Commodore - 64",
     "c64_cart;c64_cass;c64_flop_orig;c64_flop_misc"},
    {"ZX Spectrum", "ZX", 3, "tzx;tap;z80;sna;dsk;zip", "zxspectrum", "zxspectrum", "Sinclair - ZX Spectrum",
     "spectrum_cass;spectrum_cart;specpls3_flop"},
    {"Amstrad CPC", "ACPC", 3, "dsk;cdt;sna;m3u;zip", "amstradcpc", "amstradcpc", "Amstrad - CPC", "cpc_cass;cpc_flop"},
    {"MSX2+", "MSX2P", 3, "rom;dsk;mx2;zip", "msx2", "msx2", "Microsoft - MSX2", "msx2p_flop"},
};

// The settings of a new system, as the delivered catalogue's columns start them.
const QList<QPair<QString, QVariant>>& StartingSettings()
{
  static const QList<QPair<QString, QVariant>> settings{
      {QStringLiteral("EnableTab"), 0},        {QStringLiteral("DefaultImageType"), QStringLiteral("jpg;png;gif;bmp")},
      {QStringLiteral("Recurse"), 1},          {QStringLiteral("Rename"), 1},
      {QStringLiteral("DropRoms"), 0},         {QStringLiteral("RemoveText"), 0},
      {QStringLiteral("RenameImages"), 0},     {QStringLiteral("FullImagePath"), 1},
      {QStringLiteral("FullRomPath"), 1},      {QStringLiteral("AppendFullName"), 1},
      {QStringLiteral("ImageLimit"), 3},       {QStringLiteral("MinImgWidth"), 100},
      {QStringLiteral("MinImgHeight"), 100},   {QStringLiteral("AutoDL"), 80},
      {QStringLiteral("TimeOut"), 10},         {QStringLiteral("IgnoreMultiples"), 0},
      {QStringLiteral("ResumePosition"), 0},   {QStringLiteral("dResumePosition"), 0},
      {QStringLiteral("dIgnoreMultiples"), 0}, {QStringLiteral("dAutoDL"), 100},
      {QStringLiteral("dTimeOut"), 10},
  };
  return settings;
}

}  // namespace

std::optional<qint64> InsertSystemRow(Catalogue& catalogue, Feedback& feedback, const QString& routine,
                                      const QList<QPair<QString, QVariant>>& values)
{
  QStringList columns;
  QVariantList binds;
  for (const auto& [column, value] : values) {
    columns << column;
    binds << value;
  }
  for (const auto& [column, value] : StartingSettings()) {
    if (!columns.contains(column)) {
      columns << column;
      binds << value;
    }
  }
  const QString sql = QStringLiteral("INSERT INTO System (\"") + columns.join(QStringLiteral("\", \"")) +
                      QStringLiteral("\") VALUES (") +
                      QStringList(binds.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + QLatin1Char(')');
  if (!catalogue.Execute(feedback, routine, sql, binds))
    return std::nullopt;
  return catalogue.LastInsertId();
}

std::span<const DeliveredSystem> DeliveredSystems()
{
  return kSystems;
}

}  // namespace quillon
