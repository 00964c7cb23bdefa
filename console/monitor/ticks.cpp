#include "console/monitor/ticks.h"

#include <cmath>

EConvertError::EConvertError(const QString& text)
    : std::runtime_error(
        QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString())
{
}

namespace {
// Per day, hour, minute and second at 18.205 ticks a second; the minute and the second are
// kept as integers over a fixed divisor so that truncation never suffers from binary fractions.
constexpr int64_t kTicksPerDay = 1572912;
constexpr int64_t kTicksPerHour = 65538;
constexpr int64_t kTicksPerMinuteX10 = 10923; // 1092.3
constexpr int64_t kTicksPerSecondX1000 = 18205; // 18.205

int64_t toInteger(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const qlonglong value = t.toLongLong(&ok, 10);
    if (!ok)
        throw EConvertError(t);
    return value;
}
} // namespace

QString TicksToText(uint32_t ticks)
{
    int64_t rest = ticks;
    int64_t days = rest / kTicksPerDay;
    rest -= days * kTicksPerDay;
    int64_t hours = rest / kTicksPerHour;
    rest -= hours * kTicksPerHour;
    int64_t minutes = rest * 10 / kTicksPerMinuteX10;
    rest -= minutes * kTicksPerMinuteX10 / 10;
    int64_t seconds = rest * 1000 / kTicksPerSecondX1000;
    rest -= seconds * kTicksPerSecondX1000 / 1000;
    if (rest < 0)
        rest = 0;

    // A rest of a whole second's worth (18 ticks) is a second, not 9.9 tenths.
    if (rest >= 18)
        ++seconds;
    if (seconds > 59) {
        seconds = 0;
        ++minutes;
    }
    if (minutes > 59) {
        minutes = 0;
        ++hours;
    }
    if (hours > 23) {
        hours = 0;
        ++days;
    }
    const int64_t tenths = rest < 18 ? rest * 100 / 182 : 0;

    QString text;
    if (days)
        text += QString::number(days) + QStringLiteral(" Days ");
    if (hours)
        text += QString::number(hours) + QStringLiteral(" Hours ");
    if (minutes)
        text += QString::number(minutes) + QStringLiteral(" Min ");
    if (seconds || tenths) {
        text += QString::number(seconds);
        if (tenths)
            text += QLatin1Char('.') + QString::number(tenths);
        text += QStringLiteral(" Sec ");
    }
    return text.isEmpty() ? QStringLiteral("0") : text;
}

int64_t TextToTicks(const QString& text)
{
    static const char* const kUnits[] = { "Days", "Hours", "Min", "Sec" };
    QString rest = text;
    int64_t values[4] = {};
    int64_t tenths = 0;
    for (int i = 0; i < 4; ++i) {
        const QString unit = QString::fromLatin1(kUnits[i]);
        const qsizetype at = rest.indexOf(unit);
        if (at < 0)
            continue;
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        qsizetype numberEnd = at;
        tenths = 0;
        if (dot >= 0 && dot < at) {
            tenths = toInteger(rest.mid(dot + 1, at - dot - 1));
            numberEnd = dot;
        }
        values[i] = toInteger(rest.left(numberEnd));
        rest.remove(0, at + unit.size() + 1);
    }
    const double t = static_cast<double>(std::llround(tenths * 18.2 / 10));
    return std::llround(t + values[3] * 18.205 + values[2] * 1092.3
        + static_cast<double>(values[1] * kTicksPerHour)
        + static_cast<double>(values[0] * kTicksPerDay));
}
