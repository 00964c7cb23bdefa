#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// NetWare timer ticks (18.205 a second, as the server's SET parameters count them) to and from
// the duration texts the console shows and accepts: "2 Days 3 Hours 4 Min 5.5 Sec ".

// The platform's conversion error: a text that should hold a whole number does not.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& text);
    QString Message() const { return QString::fromUtf8(what()); }
};

// Only the parts that are not zero are written, each followed by a blank; seconds carry one
// decimal when they are not whole. No ticks at all read "0".
QString TicksToText(uint32_t ticks);

// The inverse, for durations typed by the administrator. Throws EConvertError when a number
// in the text is not a whole number.
int64_t TextToTicks(const QString& text);
