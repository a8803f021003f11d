#pragma once
// Compacting the catalogue when the program closes. The catalogue is copied, compacted, into the
// scratch file and the copy then replaces the catalogue in one atomic rename, so whatever fails,
// a complete catalogue stays under its own name.
#include <QString>

#include <functional>

namespace quillon {

class DataFolder;
class Feedback;

enum class CompactStep { RemoveStaleScratch, WriteCompactCopy, VerifyCopy, ReplaceCatalogue };

// Lets tests make one step fail as if the file system or the engine had refused it.
using CompactFault = std::function<bool(CompactStep)>;

// Runs with the catalogue connection closed. Reports "Compacting Database, Please wait..." and
// then "Done."; a failure is shown as "Error (" + number + ")" + CR + description and leaves the
// catalogue as it was. Returns true when the catalogue was replaced by its compacted copy.
bool CompactCatalogue(const DataFolder& folder, Feedback& feedback, const CompactFault& fault = {});

}  // namespace quillon
