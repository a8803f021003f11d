#pragma once
// Many short texts (file names) kept in a few large blocks: a text costs its bytes and nothing
// else, and a kept text never moves, so views of it stay valid for the blocks' lifetime.
#include <QString>

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace quillon {

class TextBlocks {
 public:
  std::string_view Keep(std::string_view text)
  {
    if (text.empty())
      return {};
    if (m_free < text.size()) {
      const size_t size = std::max(kBlockSize, text.size());
      m_blocks.push_back(std::make_unique<char[]>(size));
      m_next = m_blocks.back().get();
      m_free = size;
    }
    char* kept = m_next;
    std::memcpy(kept, text.data(), text.size());
    m_next += text.size();
    m_free -= text.size();
    return {kept, text.size()};
  }

  void Clear()
  {
    m_blocks.clear();
    m_next = nullptr;
    m_free = 0;
  }

 private:
  static constexpr size_t kBlockSize = 256 * 1024;
  std::vector<std::unique_ptr<char[]>> m_blocks;
  char* m_next = nullptr;
  size_t m_free = 0;
};

// Text as the UTF-8 bytes it is kept in.
inline std::string_view Utf8View(const QByteArray& bytes)
{
  return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

}  // namespace quillon
