#pragma once
// The similarity score that matches web search results against game titles.
#include <QString>

namespace quillon {

enum class CompareMode { Exact = 0, IgnoreCase = 1 };

// How well the candidate `b` (a link text) matches the reference `a` (a title): 0, or a value
// from 0.25 to 1. With a delimiter the two are compared word by word ("12" also matches "xii");
// with an empty delimiter character by character under `mode`. A list number such as "1. " in
// front of `b` is ignored.
float Compare(const QString& a, const QString& b, const QString& delimiter, CompareMode mode);

}  // namespace quillon
