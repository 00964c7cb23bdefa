#include "console/monitor/ticks.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

struct TicksCase {
    uint32_t ticks;
    const char* text;
};

TEST(TicksToText, WritesTheNonZeroPartsOfADuration)
{
    const TicksCase cases[] = {
        { 0, "0" },
        { 1, "0" }, // less than a tenth of a second
        { 9, "0.4 Sec " },
        { 17, "0.9 Sec " },
        { 18, "1 Sec " }, // a rest of 18 ticks counts as a whole second
        { 19, "1 Sec " },
        { 27, "1.4 Sec " },
        { 1092, "1 Min " }, // 59 s and a rest of 18 ticks round up to the minute
        { 1093, "1 Min " },
        { 1110, "1 Min 1 Sec " },
        { 65537, "1 Hours " },
        { 65538, "1 Hours " },
        { 132168, "2 Hours 1 Min " }, // never "60 Sec"
        { 1572911, "1 Days " },
        { 1572912, "1 Days " },
        { 1572912 + 65538 + 1092 + 27, "1 Days 1 Hours 1 Min 1.4 Sec " },
        { 4294967295u, "2730 Days 14 Hours 0.1 Sec " },
    };
    for (const TicksCase& c : cases)
        EXPECT_EQ(TicksToText(c.ticks), QString::fromLatin1(c.text)) << c.ticks;
}

TEST(TicksToText, TenthsUseAPointWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(TicksToText(27), "1.4 Sec ");
    QLocale::setDefault(QLocale::c());
}

struct TextCase {
    const char* text;
    int64_t ticks;
};

TEST(TextToTicks, ReadsDurationTexts)
{
    const TextCase cases[] = {
        { "", 0 },
        { "0", 0 },
        { "1 Min", 1092 },
        { "2.5 Sec", 45 }, // 9 ticks for the tenths plus 36.41
        { "1 Sec", 18 },
        { "1 Hours", 65538 },
        { "1 Days", 1572912 },
        { "2 Days 3 Hours 4 Min 5.5 Sec", 2 * 1572912 + 3 * 65538 + 4369 + 91 + 9 },
        { "  7 Min  ", 7646 },
        { "1 Days 1 Hours 1 Min 1.4 Sec ", 1639568 },
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(TextToTicks(QString::fromLatin1(c.text)), c.ticks) << c.text;
}

TEST(TextToTicks, WrittenDurationsReadBackToTheSameText)
{
    for (uint32_t ticks : { 18u, 1092u, 65538u, 132168u, 1572912u, 1700000u })
        EXPECT_EQ(TicksToText(static_cast<uint32_t>(TextToTicks(TicksToText(ticks)))),
            TicksToText(ticks));
}

TEST(TextToTicks, ANumberThatIsNoIntegerIsAConversionError)
{
    for (const char* bad : { "x Min", "1,5 Sec", "2.x Sec", "1e3 Hours" })
        EXPECT_THROW(TextToTicks(QString::fromLatin1(bad)), EConvertError) << bad;
    try {
        TextToTicks(QStringLiteral("abc Sec"));
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}

} // namespace
