#pragma once
// The structure revision stored in the catalogue.
#include <QString>

namespace quillon {

class Catalogue;

inline const QString kCurrentRevision = QStringLiteral("2.7.3.2");
inline const QString kUnknownRevision = QStringLiteral("Unknown");

// "Select Revision from Version;": the first row's revision, or "Unknown" when the table or the
// row is missing.
QString GetRevision(Catalogue& catalogue);

}  // namespace quillon
