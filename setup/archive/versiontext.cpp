#include "setup/archive/versiontext.h"

#include <algorithm>
#include <vector>

namespace orvo {

namespace {

std::vector<std::string> Parts(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        if (dot > start)
            parts.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
    return parts;
}

bool IsInteger(const std::string& part)
{
    return !part.empty()
        && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Numeric comparison of digit strings of any length (no overflow on hostile texts).
int CompareNumbers(const std::string& a, const std::string& b)
{
    const std::string x = a.substr(std::min(a.find_first_not_of('0'), a.size()));
    const std::string y = b.substr(std::min(b.find_first_not_of('0'), b.size()));
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

} // namespace

int CompareVersions(const std::string& a, const std::string& b)
{
    const std::vector<std::string> pa = Parts(a);
    const std::vector<std::string> pb = Parts(b);
    for (std::size_t i = 0; i < pa.size() && i < pb.size(); ++i) {
        const int c = IsInteger(pa[i]) && IsInteger(pb[i]) ? CompareNumbers(pa[i], pb[i])
                                                           : pa[i].compare(pb[i]);
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    if (pa.size() == pb.size())
        return 0;
    return pa.size() < pb.size() ? -1 : 1;
}

} // namespace orvo
