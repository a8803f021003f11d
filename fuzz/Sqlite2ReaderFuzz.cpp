// Library files against the SQLite 2 reader: a file it reads is written again by our writer into
// a file that reads back to the same content and passes the writer's checks; a file the checker
// finds sound is one the reader accepts. The same bytes are also played back as a rollback journal
// onto an empty library.
#include "FuzzSupport.h"

#include "export/sqlite2/Sqlite2.h"
#include "export/sqlite2/Sqlite2File.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace quillon;
using namespace quillon::sqlite2;

namespace {

// The template library the export starts from, as bytes.
const QByteArray& TemplateLibrary()
{
  static const QByteArray bytes = [] {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("template.mlf"));
    QString error;
    FUZZ_CHECK(CreateTemplateLibrary(path, &error));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }();
  return bytes;
}

bool SameTrees(const LibraryContent& a, const LibraryContent& b)
{
  if (a.trees.size() != b.trees.size())
    return false;
  for (const auto& [root, entries] : a.trees) {
    const auto other = b.trees.find(root);
    if (other == b.trees.end() || other->second.size() != entries.size())
      return false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].key != other->second[i].key || entries[i].data != other->second[i].data)
        return false;
    }
  }
  return true;
}

void CheckRewrite(const LibraryContent& content, bool sound)
{
  QString error;
  const std::optional<QByteArray> rewritten = BuildLibraryFile(content, &error);
  if (!rewritten)
    return;  // entries too large for the format: refused, as documented
  const ReadOutcome again = ReadLibraryBytes(*rewritten);
  FUZZ_CHECK(again.content.has_value());
  FUZZ_CHECK(SameTrees(content, *again.content));
  for (int i = 1; i < kMetaCount; ++i)
    FUZZ_CHECK(again.content->meta[std::size_t(i)] == content.meta[std::size_t(i)]);
  if (sound)
    FUZZ_CHECK(CheckLibraryFile(*rewritten, true).isEmpty());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  fuzz::EnsureApplication();
  fuzz::SilenceQtMessages();
  TemplateLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QByteArray bytes = fuzz::Bytes(data, size);
  const bool sound = CheckLibraryFile(bytes, false).isEmpty();
  const ReadOutcome outcome = ReadLibraryBytes(bytes);
  FUZZ_CHECK(outcome.content.has_value() || !outcome.error.isEmpty());  // a refusal says why
  if (sound)
    FUZZ_CHECK(outcome.content.has_value());
  if (outcome.content) {
    if (const auto master = outcome.content->trees.find(kMasterRoot); master != outcome.content->trees.end())
      DecodeMaster(master->second);
    if (!outcome.content->wasEmpty)
      CheckRewrite(*outcome.content, sound);
  }

  QByteArray library = TemplateLibrary();
  if (!PlayBackJournal(library, bytes))
    ReadLibraryBytes(library);
  return 0;
}
