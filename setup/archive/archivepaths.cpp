#include "setup/archive/archivepaths.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace orvo {

std::string FilePart(const std::string& path)
{
    const auto cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string DirectoryPart(const std::string& path)
{
    const auto cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut == 0 ? 1 : cut);
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty())
        return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::string ReplaceExtension(const std::string& path, const std::string& ext)
{
    const auto slash = path.find_last_of("\\/");
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ext;
    return path.substr(0, dot) + ext;
}

std::string VolumeExtension(int k)
{
    std::string ext = ".";
    ext += std::to_string(k);
    return ext;
}

bool SameText(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool SameVolumeSet(const std::string& a, const std::string& b)
{
    return SameText(ReplaceExtension(a, ".1"), ReplaceExtension(b, ".1"));
}

std::string FirstWord(const std::string& entry)
{
    return entry.substr(0, entry.find(';'));
}

std::string Trim(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && (unsigned char)text[first] <= ' ')
        ++first;
    while (last > first && (unsigned char)text[last - 1] <= ' ')
        --last;
    return text.substr(first, last - first);
}

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('\0') == std::string::npos
        && name.find_first_of("\\/") == std::string::npos;
}

bool ForceDirectories(const std::string& dir)
{
    if (dir.empty())
        return true;
    struct stat st { };
    if (::stat(dir.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string parent = DirectoryPart(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent))
        return false;
    return ::mkdir(dir.c_str(), 0777) == 0 || errno == EEXIST;
}

bool FileExists(const std::string& path)
{
    struct stat st { };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

} // namespace orvo
