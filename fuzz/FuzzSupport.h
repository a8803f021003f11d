#pragma once
// Shared pieces of the fuzz targets: the Qt application some of them need, the input as Qt bytes,
// and a check that ends the run the way a crash does, so the engine keeps the input that broke a
// property.
#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace quillon::fuzz {

// A QCoreApplication for the process (plugins such as the SQL driver are found through it).
void EnsureApplication();

// Drops Qt's warnings: hostile input makes many, and printing them would slow the run down.
void SilenceQtMessages();

[[noreturn]] void FailCheck(const char* condition, const char* file, int line);

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size)
{
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace quillon::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::quillon::fuzz::FailCheck(#condition, __FILE__, __LINE__))
