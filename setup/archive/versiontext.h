#pragma once

#include <string>

namespace orvo {

// Compares two dotted version texts part by part: parts that are both integers compare by value,
// others as case-sensitive texts; the first difference decides; when one text runs out first the
// longer one is higher. Empty parts are skipped. Returns <0, 0 or >0 as a is lower, equal, higher.
int CompareVersions(const std::string& a, const std::string& b);

} // namespace orvo
