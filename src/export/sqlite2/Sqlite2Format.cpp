#include "export/sqlite2/Sqlite2Format.h"

#include <cstring>

namespace quillon::sqlite2 {

std::uint32_t Get32(const unsigned char* p, ByteOrder order)
{
  if (order == ByteOrder::Little)
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
  return std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[0]) << 24;
}

std::uint16_t Get16(const unsigned char* p, ByteOrder order)
{
  if (order == ByteOrder::Little)
    return std::uint16_t(p[0] | p[1] << 8);
  return std::uint16_t(p[1] | p[0] << 8);
}

void Put32(unsigned char* p, std::uint32_t value, ByteOrder order)
{
  for (int i = 0; i < 4; ++i) {
    const unsigned char byte = (value >> (8 * i)) & 0xff;
    p[order == ByteOrder::Little ? i : 3 - i] = byte;
  }
}

void Put16(unsigned char* p, std::uint16_t value, ByteOrder order)
{
  p[order == ByteOrder::Little ? 0 : 1] = value & 0xff;
  p[order == ByteOrder::Little ? 1 : 0] = value >> 8;
}

QByteArray RowidKey(std::int32_t rowid)
{
  QByteArray key(4, Qt::Uninitialized);
  Put32(reinterpret_cast<unsigned char*>(key.data()), std::uint32_t(rowid) ^ 0x80000000u, ByteOrder::Big);
  return key;
}

std::optional<std::int32_t> KeyRowid(const QByteArray& key)
{
  if (key.size() != 4)
    return std::nullopt;
  return std::int32_t(Get32(reinterpret_cast<const unsigned char*>(key.constData()), ByteOrder::Big) ^ 0x80000000u);
}

int CompareKeys(const QByteArray& a, const QByteArray& b)
{
  const qsizetype common = std::min(a.size(), b.size());
  const int c = common > 0 ? std::memcmp(a.constData(), b.constData(), size_t(common)) : 0;
  if (c != 0)
    return c < 0 ? -1 : 1;
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CellSize(std::int64_t payloadSize)
{
  if (payloadSize > kMaxLocalPayload)
    return kCellHeaderSize + kMaxLocalPayload + 4;
  return kCellHeaderSize + int((payloadSize + 3) & ~std::int64_t(3));
}

std::int64_t OverflowPageCount(std::int64_t payloadSize)
{
  if (payloadSize <= kMaxLocalPayload)
    return 0;
  return (payloadSize - kMaxLocalPayload + kOverflowPayload - 1) / kOverflowPayload;
}

namespace {

int OffsetWidthForLength(qsizetype recordLength)
{
  return recordLength < 256 ? 1 : (recordLength < 65536 ? 2 : 3);
}

qsizetype ReadOffset(const unsigned char* p, int width)
{
  qsizetype value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | p[i];
  return value;
}

// Start and end of one column's bytes, when the record's offsets are sound for it.
std::optional<std::pair<qsizetype, qsizetype>> ColumnRange(const QByteArray& record, int column, int columns)
{
  const int width = OffsetWidthForLength(record.size());
  const qsizetype headerSize = qsizetype(columns + 1) * width;
  if (column < 0 || column >= columns || headerSize > record.size())
    return std::nullopt;
  const auto* p = reinterpret_cast<const unsigned char*>(record.constData());
  const qsizetype begin = ReadOffset(p + column * width, width);
  const qsizetype end = ReadOffset(p + (column + 1) * width, width);
  if (begin < headerSize || end < begin || end > record.size())
    return std::nullopt;
  return std::make_pair(begin, end);
}

}  // namespace

QByteArray EncodeRecord(const Values& values)
{
  const qsizetype n = qsizetype(values.size());
  qsizetype total = 0;
  for (const Value& value : values)
    total += value ? value->size() + 1 : 0;
  const int width = total + n + 1 < 256 ? 1 : (total + 2 * n + 2 < 65536 ? 2 : 3);
  QByteArray record(total + (n + 1) * width, '\0');
  auto* p = reinterpret_cast<unsigned char*>(record.data());
  qsizetype offset = (n + 1) * width;
  auto putOffset = [&](qsizetype index, qsizetype value) {
    for (int i = 0; i < width; ++i)
      p[index * width + i] = (value >> (8 * i)) & 0xff;
  };
  for (qsizetype k = 0; k < n; ++k) {
    putOffset(k, offset);
    if (values[size_t(k)]) {
      const QByteArray& text = *values[size_t(k)];
      if (!text.isEmpty())
        std::memcpy(p + offset, text.constData(), size_t(text.size()));
      offset += text.size() + 1;  // the NUL is already there
    }
  }
  putOffset(n, offset);
  return record;
}

std::optional<Value> DecodeColumn(const QByteArray& record, int column, int columns)
{
  const auto range = ColumnRange(record, column, columns);
  if (!range)
    return std::nullopt;
  if (range->second == range->first)
    return Value();
  // The engine hands a value out as text ending at its first NUL: the offsets only say where it
  // starts and that it is not NULL. A value that lost its NUL runs on into the next ones; at the
  // end of the record the file holds nothing more to read.
  const qsizetype nul = record.indexOf('\0', range->first);
  return Value(record.mid(range->first, (nul < 0 ? record.size() : nul) - range->first));
}

std::optional<Values> DecodeRecord(const QByteArray& record, int columns)
{
  Values values;
  values.reserve(size_t(columns));
  for (int k = 0; k < columns; ++k) {
    std::optional<Value> value = DecodeColumn(record, k, columns);
    if (!value)
      return std::nullopt;
    values.push_back(std::move(*value));
  }
  return values;
}

namespace {

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

}  // namespace

bool IsNumber(const QByteArray& text)
{
  const char* z = text.constData();
  const char* end = z + text.size();
  auto at = [&](const char* q) { return q < end ? *q : '\0'; };
  if (at(z) == '-' || at(z) == '+')
    ++z;
  if (!IsDigit(at(z)))
    return false;
  while (IsDigit(at(z)))
    ++z;
  if (at(z) == '.') {
    ++z;
    if (!IsDigit(at(z)))
      return false;
    while (IsDigit(at(z)))
      ++z;
  }
  if (at(z) == 'e' || at(z) == 'E') {
    ++z;
    if (at(z) == '+' || at(z) == '-')
      ++z;
    if (!IsDigit(at(z)))
      return false;
    while (IsDigit(at(z)))
      ++z;
  }
  return z == end;
}

double TextToDouble(const QByteArray& text)
{
  const char* z = text.constData();
  const char* end = z + text.size();
  auto at = [&](const char* q) { return q < end ? *q : '\0'; };
  int sign = 1;
  long double value = 0.0;
  if (at(z) == '-') {
    sign = -1;
    ++z;
  } else if (at(z) == '+') {
    ++z;
  }
  while (IsDigit(at(z)))
    value = value * 10.0L + (*z++ - '0');
  if (at(z) == '.') {
    long double divisor = 1.0L;
    ++z;
    while (IsDigit(at(z))) {
      value = value * 10.0L + (*z++ - '0');
      divisor *= 10.0L;
    }
    value /= divisor;
  }
  if (at(z) == 'e' || at(z) == 'E') {
    int exponentSign = 1;
    int exponent = 0;
    ++z;
    if (at(z) == '-') {
      exponentSign = -1;
      ++z;
    } else if (at(z) == '+') {
      ++z;
    }
    while (IsDigit(at(z))) {
      exponent = std::min(exponent * 10 + (*z++ - '0'), 100000);
    }
    long double scale = 1.0L;
    while (exponent >= 64) {
      scale *= 1.0e+64L;
      exponent -= 64;
    }
    while (exponent >= 16) {
      scale *= 1.0e+16L;
      exponent -= 16;
    }
    while (exponent >= 4) {
      scale *= 1.0e+4L;
      exponent -= 4;
    }
    while (exponent >= 1) {
      scale *= 10.0L;
      exponent -= 1;
    }
    value = exponentSign < 0 ? value / scale : value * scale;
  }
  return double(sign < 0 ? -value : value);
}

int CompareNumericAware(const QByteArray& a, const QByteArray& b)
{
  const bool numberA = IsNumber(a);
  const bool numberB = IsNumber(b);
  if (numberA && numberB) {
    const double x = TextToDouble(a);
    const double y = TextToDouble(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  if (numberA)
    return -1;
  if (numberB)
    return 1;
  const int c = std::strcmp(a.constData(), b.constData());
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

QByteArray RealToSortable(double value)
{
  static const char kDigits[] =
      "0123456789"
      "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
      "abcdefghijklmnopqrstuvwxyz"
      "|~";
  QByteArray out;
  const bool negative = value < 0.0;
  double r = negative ? -value : value;
  out.append(negative ? '-' : '0');
  int exponent = 0;
  if (r == 0.0) {
    exponent = -1024;
  } else if (r < 0.5 / 64.0) {
    while (r < 0.5 / 64.0 && exponent > -961) {
      r *= 64.0;
      --exponent;
    }
  } else if (r >= 0.5) {
    while (r >= 0.5 && exponent < 960) {
      r *= 1.0 / 64.0;
      ++exponent;
    }
  }
  if (negative) {
    exponent = -exponent;
    r = -r;
  }
  exponent += 1024;
  r += 0.5;
  if (exponent < 0)
    return out;
  if (exponent >= 2048 || r >= 1.0) {
    out.append("~~~~~~~~~~~~");
    return out;
  }
  out.append(kDigits[(exponent >> 6) & 0x3f]);
  out.append(kDigits[exponent & 0x3f]);
  for (int count = 0; r > 0.0 && count < 10; ++count) {
    r *= 64.0;
    const int digit = int(r);
    out.append(kDigits[digit & 0x3f]);
    r -= digit;
  }
  return out;
}

}  // namespace quillon::sqlite2
