#pragma once
// What the catalogue holds, in numbers, for `quillon-cli info`.
namespace quillon {

class Catalogue;

struct CatalogueCounts {
  int systems = 0;
  int games = 0;
};

// Rows of System and of Games; a table that cannot be read counts 0, quietly (the numbers only
// inform).
CatalogueCounts CountSystemsAndGames(Catalogue& catalogue);

}  // namespace quillon
