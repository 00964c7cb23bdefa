#pragma once

#include <cstdint>
#include <string>

namespace orvo {

// The 56 bytes at the end of a self-extracting file: where the setup archive (setup.1) and the
// files archive (files.1) lie behind the loading program. Positions are absolute in the file;
// the files archive's first position becomes the archive component's Offset.
struct TSfxTrailer {
    static constexpr std::size_t DiskSize = 56;

    std::uint32_t SetupFirst = 0; // = length of the loading program
    std::uint32_t SetupLast = 0;
    std::uint32_t FilesFirst = 0; // 0 when there is no files archive
    std::uint32_t FilesLast = 0;

    // Appends the trailer (signature, positions, zero fill) to path; raises EWndlCompress.
    void AppendTo(const std::string& path) const;
    // Reads the trailer of path. The signature is not required (files from older kits carry other
    // texts), but every position must lie inside the file before the trailer; raises
    // EWndlCompress with the extraction-info text otherwise.
    static TSfxTrailer Read(const std::string& path);
};

// Writes target = loading program + setup archive + files archive (optional: empty path) + trailer.
// Raises EWndlCompress ("Cannot open the file %s", "Cannot create the file %s", the disk-full
// text, or the too-large text when a position would not fit 32 bits). A failed target is removed.
void BuildSelfExtractingFile(const std::string& loader, const std::string& setupArchive,
    const std::string& filesArchive, const std::string& target);

} // namespace orvo
