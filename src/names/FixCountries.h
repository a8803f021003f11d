#pragma once
// The command that re-derives the country of every game from the codes in its file name.
namespace quillon {

class Catalogue;
class Feedback;

// For each country in table order whose goodcode is neither empty nor Null: shows "Updating " +
// its name, and gives the country to every game whose file name contains "(" + code + ")", codes
// being the pieces before the last ";" of a list, or the whole goodcode when it holds no ";".
// Later countries overwrite earlier ones. All or nothing: a failure is reported as
// "-(FixCountries)-" and leaves the games as they were.
bool FixCountries(Catalogue& catalogue, Feedback& feedback);

}  // namespace quillon
