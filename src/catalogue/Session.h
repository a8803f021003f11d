#pragma once
// One run's hold on its catalogue: the data folder, the lock that keeps a second instance out,
// and the one connection. Both programs open the catalogue through it and close it through it.
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"

#include <QLockFile>
#include <QString>

#include <memory>

namespace quillon {

class Feedback;

enum class OpenOutcome { Opened, CatalogueMissing, NotACatalogue, InUse, Failed };

// The fatal message of a missing catalogue; `folder` is where it was looked for.
QString MissingCatalogueTitle();
QString MissingCatalogueMessage(const QString& folder);

class Session {
 public:
  Session() = default;
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Prepares the data folder (its working folders, and the delivered catalogue when it has
  // none), takes the lock and opens the connection (`dbConn`). A catalogue file that is empty or
  // is not a Quillon catalogue is refused and left as it is. On failure `message` says why in
  // words a user understands; a failing connection is also reported as "-(dbConn)-".
  OpenOutcome Open(const DataFolder& folder, const QString& deliveredCatalogue, Feedback& feedback, QString* message);

  bool IsOpen() const { return m_catalogue != nullptr; }
  Catalogue& Connection() { return *m_catalogue; }
  const DataFolder& Folder() const { return m_folder; }

  // Closes the connection, compacts the catalogue when asked, then releases the lock.
  void Close(Feedback& feedback, bool compact);

 private:
  DataFolder m_folder;
  std::unique_ptr<QLockFile> m_lock;
  std::unique_ptr<Catalogue> m_catalogue;
};

}  // namespace quillon
