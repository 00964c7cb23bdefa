#include "setup/archive/filedate.h"

#include <cmath>
#include <cstdio>
#include <sys/stat.h>

namespace orvo {

namespace {

constexpr std::int64_t MsPerDay = 86400000;
constexpr std::int64_t DaysBefore1970 = 25569; // 1899-12-30 to 1970-01-01
constexpr double FirstDate = -693593; // 0001-01-01
constexpr double LastDate = 2958466; // 10000-01-01

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

bool IsDate(double date)
{
    return std::isfinite(date) && date >= FirstDate && date < LastDate;
}

// Splits a date-time number into its local calendar fields and milliseconds.
bool BrokenDown(double date, std::tm& tm, int& millis)
{
    if (!IsDate(date))
        return false;
    const std::int64_t ms = std::llround(date * MsPerDay);
    std::int64_t days = ms / MsPerDay;
    std::int64_t msOfDay = ms % MsPerDay;
    if (msOfDay < 0) {
        msOfDay += MsPerDay;
        --days;
    }
    std::int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    CivilFromDays(days - DaysBefore1970, y, m, d);
    tm = {};
    tm.tm_year = static_cast<int>(y - 1900);
    tm.tm_mon = static_cast<int>(m) - 1;
    tm.tm_mday = static_cast<int>(d);
    tm.tm_hour = static_cast<int>(msOfDay / 3600000);
    tm.tm_min = static_cast<int>(msOfDay / 60000 % 60);
    tm.tm_sec = static_cast<int>(msOfDay / 1000 % 60);
    tm.tm_isdst = -1;
    millis = static_cast<int>(msOfDay % 1000);
    return true;
}

} // namespace

double DateTimeFromFileTime(const timespec& time)
{
    std::tm tm {};
    const time_t seconds = time.tv_sec;
    localtime_r(&seconds, &tm);
    const std::int64_t days
        = DaysFromCivil(tm.tm_year + 1900LL, unsigned(tm.tm_mon + 1), unsigned(tm.tm_mday))
        + DaysBefore1970;
    const std::int64_t msOfDay
        = (tm.tm_hour * 3600LL + tm.tm_min * 60LL + tm.tm_sec) * 1000 + time.tv_nsec / 1000000;
    return static_cast<double>(days) + static_cast<double>(msOfDay) / MsPerDay;
}

bool FileTimeFromDateTime(double date, timespec& time)
{
    std::tm tm {};
    int millis = 0;
    if (!BrokenDown(date, tm, millis))
        return false;
    time.tv_sec = mktime(&tm);
    time.tv_nsec = millis * 1000000L;
    return true;
}

std::int64_t DateTimeMillis(double date)
{
    return IsDate(date) ? std::llround(date * MsPerDay) : 0;
}

std::string DateTimeText(double date)
{
    std::tm tm {};
    int millis = 0;
    if (!BrokenDown(date, tm, millis))
        return "?";
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900,
        tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

bool GetFileDate(int fd, double& date)
{
    struct stat st { };
    if (::fstat(fd, &st) != 0)
        return false;
    date = DateTimeFromFileTime(st.st_mtim);
    return true;
}

bool GetFileDate(const std::string& path, double& date)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return false;
    date = DateTimeFromFileTime(st.st_mtim);
    return true;
}

bool SetFileDate(int fd, double date)
{
    timespec times[2] {};
    if (!FileTimeFromDateTime(date, times[1]))
        return false;
    times[0] = times[1];
    return ::futimens(fd, times) == 0;
}

} // namespace orvo
