#include "names/FixCountries.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("FixCountries");

QStringList CodesOf(const QString& goodcode)
{
  if (!goodcode.contains(QLatin1Char(';')))
    return {goodcode};
  QStringList pieces = goodcode.split(QLatin1Char(';'));
  pieces.removeLast();
  return pieces;
}

}  // namespace

bool FixCountries(Catalogue& catalogue, Feedback& feedback)
{
  const std::optional<Rows> countries =
      catalogue.Select(feedback, kRoutine, QStringLiteral("SELECT CountryID, Country, goodcode FROM Country"));
  if (!countries)
    return false;
  Transaction transaction(catalogue);
  const QString update = QStringLiteral("UPDATE Games SET Country = ? WHERE instr(FileName, ?) > 0");
  for (const QVariantList& country : countries->All()) {
    const QVariant goodcode = country.value(2);
    if (goodcode.isNull() || goodcode.toString().isEmpty())
      continue;
    feedback.SetStatus(StatusKind::Text, QStringLiteral("Updating ") + country.value(1).toString());
    for (const QString& code : CodesOf(goodcode.toString())) {
      const QString tag = QLatin1Char('(') + code + QLatin1Char(')');
      if (!catalogue.Execute(feedback, kRoutine, update, {country.value(0), tag}))
        return false;
    }
    feedback.Yield();
  }
  SqlFailure failure;
  if (!transaction.Commit(&failure)) {
    ReportError(feedback, failure.number, kRoutine, failure.description);
    return false;
  }
  return true;
}

}  // namespace quillon
