#pragma once

#include <string>

namespace orvo {

// The name of the ELF section that carries a program's version text (see embeddedversion.h).
inline constexpr const char* VersionSectionName = ".orvo_version";

// The version text a file carries: the first NUL-terminated text of its ".orvo_version" section
// when it is an ELF file (32 or 64 bit, either byte order) with such a section; empty otherwise,
// also for a damaged file.
std::string ReadFileVersion(const std::string& path);

} // namespace orvo
