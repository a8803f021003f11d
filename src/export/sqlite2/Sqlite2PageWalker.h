#pragma once
// The page walk that the reader and the checker share (Sqlite2Reader.cpp): every b-tree, overflow
// chain and the freelist of one file, each page checked as it is reached. Used inside
// src/export/sqlite2 only.
#include "export/sqlite2/Sqlite2File.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon::sqlite2 {

// Thrown inside the reader and the checker; never leaves them.
struct Damage {
  QString message;
};

// Throws the engine's "malformed" message with the detail.
[[noreturn]] void ThrowMalformed(const QString& detail);

QString PageText(std::uint32_t page);

// Walks b-trees, overflow chains and the freelist of one file, remembering which pages each
// walk used so no page can be used twice (this also stops every cycle). Throws Damage.
class PageWalker {
 public:
  PageWalker(const QByteArray& bytes, ByteOrder order, bool writerRules);

  std::uint32_t PageCount() const { return m_pageCount; }
  const std::vector<unsigned char>& Used() const { return m_used; }
  // The page's bytes; nullptr beyond the file.
  const unsigned char* Page(std::uint32_t page) const;
  // Marks a page used by `what`; a page beyond the file or used before is damage.
  void Use(std::uint32_t page, const QString& what);
  // The entries of the tree at `root`, in key order.
  BtreeEntries ReadTree(std::uint32_t root);
  void WalkFreelist();

 private:
  struct Cell {
    std::uint16_t offset;
    std::uint32_t leftChild;
    std::uint32_t keySize;
    std::uint32_t dataSize;
  };

  std::vector<Cell> LoadPage(std::uint32_t page, std::uint32_t* rightChild);
  QByteArray ReadPayload(std::uint32_t page, const Cell& cell);
  void Visit(std::uint32_t page, const Cell& cell, BtreeEntries& out);
  void Walk(std::uint32_t page, std::uint32_t root, int depth, BtreeEntries& out);

  const QByteArray& m_bytes;
  ByteOrder m_order;
  bool m_writerRules;
  std::uint32_t m_pageCount;
  std::vector<unsigned char> m_used;
  int m_leafDepth = -1;
  const QByteArray* m_lastKey = nullptr;
};

// Reads page 1, the master tree and every tree it names; returns the walker's state through
// `walker` so the checker can look further.
LibraryContent ReadAll(const QByteArray& bytes, std::optional<PageWalker>& walker, bool writerRules);

}  // namespace quillon::sqlite2
