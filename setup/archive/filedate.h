#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace orvo {

// Stored dates are date-time numbers: days since 30 December 1899 in local time, the fraction
// being the time of day. They are compared at millisecond resolution, which is what survives a
// round trip through a file's modification time.

double DateTimeFromFileTime(const timespec& time);
// False when the number is no date of the years 1 to 9999.
bool FileTimeFromDateTime(double date, timespec& time);
// Milliseconds since the date-time origin (for comparisons); 0 for a number that is no date.
std::int64_t DateTimeMillis(double date);
// "yyyy-mm-dd hh:mm:ss", or "?" for a number that is no date.
std::string DateTimeText(double date);

// Modification date of an open file or a path; false when it cannot be read.
bool GetFileDate(int fd, double& date);
bool GetFileDate(const std::string& path, double& date);
bool SetFileDate(int fd, double date);

} // namespace orvo
