#pragma once

#include <QString>
#include <functional>

// Names of directory entries: what the DOS and LONG name spaces accept, 8.3 names made for long
// names, and the wildcard match of scans.
namespace nwserver::fsnames {

// A name that is never valid in any name space: empty, "." or "..", or holding a separator, a
// drive colon, a control character or a wildcard.
bool isForbidden(const QString& name);
// An 8.3 name of the DOS name space (any case; stored upper-case).
bool isDosName(const QString& name);
// A long name: at most 255 characters, no forbidden character, not ending in a blank or ".".
bool isLongName(const QString& name);

// The DOS name of a new entry called longName: the name itself (upper-cased) when it is an 8.3
// name, else a generated one ("LONGNA~1.TXT", "LONGNA~2.TXT", … "LONG~123.TXT") for which
// taken() answers false. highest(prefix, digits, ext) answers the highest number of that many
// digits in use after prefix (which ends in "~") with that extension, 0 when none is.
QString makeDosName(const QString& longName, const std::function<bool(const QString&)>& taken,
    const std::function<int(const QString&, int, const QString&)>& highest);

// Wildcard match as NetWare scans do it, case-insensitive: "*" any run (also empty), "?" one
// character or none at the end of a name part; "*" and "*.*" match every name.
bool matches(const QString& name, const QString& pattern);
bool hasWildcards(const QString& pattern);

} // namespace nwserver::fsnames
