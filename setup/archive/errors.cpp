#include "setup/archive/errors.h"

#include <vector>

namespace orvo {

namespace {

// Replaces the placeholders ("%s" or "%d") of text by args, in order.
std::string Fill(const char* text, const std::vector<std::string>& args)
{
    std::string out;
    std::size_t next = 0;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && (p[1] == 's' || p[1] == 'd') && next < args.size()) {
            out += args[next++];
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

} // namespace

std::string FormatText(const char* text, const std::string& arg)
{
    return Fill(text, { arg });
}

std::string FormatText(const char* text, long long arg)
{
    return Fill(text, { std::to_string(arg) });
}

std::string FormatText(const char* text, const std::string& first, const std::string& second)
{
    return Fill(text, { first, second });
}

} // namespace orvo
