#pragma once

#include <string>

namespace orvo {

// Path helpers for stored names, which may come from a Windows build ("C:\dir\file.exe").

// The part after the last "\" or "/".
std::string FilePart(const std::string& path);
// The part before the last "/" (empty when there is none).
std::string DirectoryPart(const std::string& path);
// dir + "/" + name; an empty dir is the current directory.
std::string JoinPath(const std::string& dir, const std::string& name);
// The path with the extension of its file part replaced (ext includes the dot).
std::string ReplaceExtension(const std::string& path, const std::string& ext);
// ".K": the extension of volume K.
std::string VolumeExtension(int k);
// Case-insensitive (ASCII) equality.
bool SameText(const std::string& a, const std::string& b);
// Both paths name volumes of the same set: equal after their extensions are replaced by ".1".
bool SameVolumeSet(const std::string& a, const std::string& b);
// The first ";"-separated word.
std::string FirstWord(const std::string& entry);
// Text without leading and trailing characters up to the space.
std::string Trim(const std::string& text);
// A file part that can safely be created inside a directory: not empty, not "." or "..".
bool IsPlainFileName(const std::string& name);
// Creates dir and its missing parents; false on failure.
bool ForceDirectories(const std::string& dir);
bool FileExists(const std::string& path);

} // namespace orvo
