#pragma once

#include <stdexcept>
#include <string>

namespace orvo {

// Base of every failure the setup kit raises on purpose; the setup program shows its text as is.
class EWendleAbnormal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure of the archive component (reading, extracting, building, splitting).
class EWndlCompress : public EWendleAbnormal {
public:
    using EWendleAbnormal::EWendleAbnormal;
};

// A write came up short and no full-disk handler made room.
class EwcDiskFull : public EWndlCompress {
public:
    using EWndlCompress::EWndlCompress;
};

// The caller set Abort while the component was working.
class EwcAborted : public EWndlCompress {
public:
    using EWndlCompress::EWndlCompress;
};

// The texts the archive component reports; the setup program and its users know them as they are.
namespace archivetext {
inline constexpr const char* NoFileExists = "Cannot open the compressed file %s";
inline constexpr const char* CannotOpenCompressed = "Cannot open the compressed file %s";
inline constexpr const char* CannotReadCount
    = "Could not read the file header count for the compressed file";
inline constexpr const char* CannotReadHeaders
    = "Could not read the file headers for the compressed "
      "file. The Archive file could possible be corrupt";
inline constexpr const char* CannotWriteHeaders
    = "Could not write the file headers for the compressed file";
inline constexpr const char* InvalidHeader = "Tried to add an invalid file header";
inline constexpr const char* InvalidHeaderIndex
    = "%d is an invalid TFileHeader index in TFileHeaders.GetFileHeaders";
inline constexpr const char* FileNotDefined
    = "Tried to access the %dth file. This file is not defined";
inline constexpr const char* WrongDisk = "Could not open the correct disk file %d";
inline constexpr const char* NotInArchive = "The file <%s> was not found in the archive <%s>";
inline constexpr const char* CannotCreate = "Cannot create the file %s";
inline constexpr const char* CannotOpen = "Cannot open the file %s";
inline constexpr const char* DiskFull = "The disk is full";
inline constexpr const char* Aborted = "Operation aborted by user";
inline constexpr const char* ZlibError = "error";
inline constexpr const char* SizeMismatch = "The decompressed file's size does not match with the "
                                            "actual size of the file.  The file is %s";
inline constexpr const char* CannotSetDate = "Cannot set the date of the file just extracted.";
inline constexpr const char* CompareFailed = "Error comparing file versions in TWndlCompress";
inline constexpr const char* NoNewDiskHandler
    = "There was no event handler for the OnNewDisk event, "
      "therefore no new disk could be inserted";
inline constexpr const char* TooLittleSpace = "There is too little space on this disk to operate";
inline constexpr const char* TooLarge
    = "The file %s is too large for the archive (the format holds at most 4 GB)";
inline constexpr const char* AddToVolumes
    = "Files cannot be added to the archive %s because it is split over volumes";
inline constexpr const char* NoTrailer = "Could not read the extraction info from the archive file "
                                         "%s when trying to find the correct offset into the self "
                                         "extracting file";
} // namespace archivetext

// Fills the one "%s" or "%d" of a message text.
std::string FormatText(const char* text, const std::string& arg);
std::string FormatText(const char* text, long long arg);
std::string FormatText(const char* text, const std::string& first, const std::string& second);

} // namespace orvo
