#pragma once

#include <QString>
#include <cstdint>

// Completion codes into the console's words and exceptions.

// The console's text for a completion code with the code behind it: "File is in use (898E)";
// "Error code: (8979)" for codes it has no words for; empty for 0. The code is written as at
// least four upper-case hexadecimal digits of its 32 bits.
QString ErrorCodeText(int32_t code);

// Nothing for 0; else throws TNWException(context + "\r" + ErrorCodeText(code), code). The
// context is the caller's text, already formatted ("Error setting attribute of\r<path>").
void CheckNWResult(const QString& context, int32_t code);

// Nothing for 0; else throws TNDSException("NDS: <operation> code <8 hex digits>", code), so
// -601 from NWDSRead reads "NDS: NWDSRead code FFFFFDA7".
void CheckNDSResult(const QString& operation, int32_t code);
