#pragma once

#include "setup/archive/fileheader.h"
#include "setup/archive/filestats.h"
#include "setup/archive/posixfile.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvo {

enum TCompressionLevel { colNone, colFastest, colDefault, colMax };
enum TOverwriteType { owAlways, owNever, owVersion, owDate, owVersionDate };
enum TlzhCommand { lzcOverwrite, lzcOnlyAdd };

// The setup archive: reads its headers (inline or volume-table layout, at any Offset inside a
// file), extracts files across volumes with version and date checks, copies plain files with the
// same checks, builds archives and splits them into volumes. Every failure raises EWndlCompress
// or one of its subclasses (errors.h) with the archive's message texts. Not thread-safe; events
// run on the calling thread, and OnProcessMessages after every buffer lets a user interface stay
// responsive and set Abort.
class TWndlCompress {
public:
    using TFileStatsEvent = std::function<void(TWndlCompress&, TlzhFileStats&)>;
    // May change path: the folder in which the volume is looked for (or created, when splitting).
    using TlzhNewDiskEvent = std::function<void(TWndlCompress&, int diskNumber, std::string& path)>;
    // A write came up short: return true after making room to retry, false to give up.
    using TFullDiskEvent = std::function<bool(TWndlCompress&, TlzhFileStats&)>;
    using TNotifyEvent = std::function<void(TWndlCompress&)>;

    static constexpr int UniqueIdSlots = 2000;
    static constexpr std::size_t InputChunk = 65536;
    static constexpr std::size_t InflateBuffer = 4096;
    static constexpr std::size_t WriteBuffer = 65536; // extracted data is written in these
    static constexpr std::size_t CopyBlock = 8192;
    static constexpr std::size_t DeflateBuffer = 65536;

    TWndlCompress();

    bool Abort() const { return m_abort; }
    void SetAbort(bool abort) { m_abort = abort; }
    const std::string& CompressedFile() const { return m_compressedFile; }
    // A different path drops the loaded headers, unless both name volumes of one set.
    void SetCompressedFile(const std::string& path);
    TCompressionLevel CompressionLevel() const { return m_level; }
    void SetCompressionLevel(TCompressionLevel level) { m_level = level; }
    const std::string& ExtractDirectory() const { return m_extractDirectory; }
    void SetExtractDirectory(const std::string& dir) { m_extractDirectory = dir; }
    const std::vector<std::string>& FilesToProcess() const { return m_files; }
    // Blank entries are dropped.
    void SetFilesToProcess(const std::vector<std::string>& files);
    std::uint32_t Offset() const { return m_offset; }
    // Where the archive starts inside CompressedFile; a change drops the loaded headers.
    void SetOffset(std::uint32_t offset);
    TOverwriteType Overwrite() const { return m_overwrite; }
    void SetOverwrite(TOverwriteType overwrite) { m_overwrite = overwrite; }
    // Largest size of one volume written by Split (0: until the disk is full).
    std::uint64_t VolumeSize() const { return m_volumeSize; }
    void SetVolumeSize(std::uint64_t size) { m_volumeSize = size; }
    // Name of the next extracted file (empty: the stored name's file part). Handlers of
    // OnBeforeExtracting and OnReplace may set it; it is cleared after each file.
    const std::string& TargetName() const { return m_targetName; }
    void SetTargetName(const std::string& name) { m_targetName = name; }
    // Set by a handler of OnBeforeExtracting or OnReplace to leave the current file alone.
    bool Skip() const { return m_skip; }
    void SetSkip(bool skip) { m_skip = skip; }
    const TlzhFileStats& Stats() const { return m_stats; }

    TNotifyEvent OnAborted;
    TFileStatsEvent OnAfterAdding;
    TFileStatsEvent OnBeforeAdding;
    TFileStatsEvent OnAfterExtracting;
    TFileStatsEvent OnBeforeExtracting;
    TFullDiskEvent OnFullDisk;
    TFileStatsEvent OnListing;
    TlzhNewDiskEvent OnNewDisk;
    TFileStatsEvent OnReplace;
    TFileStatsEvent OnStatus;
    std::function<void()> OnProcessMessages;

    // Reads the headers of CompressedFile at Offset (done on first use by the calls below).
    void ReadHeaders();
    int FileCount();
    // True when the archive keeps a header table and may spread its data over volumes.
    bool VolumeFlag();
    // Raises "Tried to access the %dth file..." for an index outside the archive.
    TlzhFileStats FileStats(int index);
    // Header index for a unique id; -1 for an id outside 0..1999 or one that no header carries.
    int IndexOfUniqueId(std::int64_t id);
    // Header index of the first ";"-separated word of name (case-insensitive); -1 when absent.
    int IndexOfName(const std::string& name);
    // Fires OnListing for every header.
    void List();

    // Extracts FilesToProcess (stored names) into ExtractDirectory; clears FilesToProcess.
    void Extract();
    // Copies one plain file with the overwrite checks of extraction.
    void CopyFile(const std::string& source, const std::string& target);
    // Builds (lzcOverwrite) or extends (lzcOnlyAdd) CompressedFile from FilesToProcess, whose
    // entries are "path" or "path;unique id". A user abort fires OnAborted instead of raising.
    void Compress(TlzhCommand command);
    // Splits the archive into volumes firstVolumeName, then its ".2", ".3", ... in targetDir (or
    // where OnNewDisk points). A user abort fires OnAborted instead of raising.
    void Split(const std::string& targetDir, const std::string& firstVolumeName);

private:
    void EnsureHeaders();
    // Sets the totals over the given uncompressed and compressed sizes and clears the rest.
    void ResetStats(std::uint64_t totalUncompressed, std::uint64_t totalCompressed);
    void FillStats(const TFileHeader& header);
    // Adds n bytes to the current file and the totals.
    void AddDone(std::uint64_t fileDone, std::uint64_t n);
    void Fire(const TFileStatsEvent& event);
    // Fires OnStatus, then raises EwcAborted when Abort is set, then lets messages run.
    void Progress();
    void CheckAbort();
    void ProcessMessages();
    // Writes all of data, calling the full-disk handler on a short write.
    void WriteAll(const TPosixFile& file, const void* data, std::size_t n);
    // Opens volume k of the archive (the archive itself without a volume flag).
    TPosixFile OpenVolume(int k);
    // Decides whether an existing target is replaced by a file of that version and date.
    bool ShouldReplace(const std::string& target, const std::string& version, double date);
    // ExtractDirectory + file part of the target name (or of the stored name).
    std::string TargetPath(const TFileHeader& header) const;
    void ExtractOne(const TFileHeader& header);
    void CompressFiles(TlzhCommand command);
    // Deflates source onto the end of archive; returns the bytes read, adds the bytes written.
    std::uint64_t DeflateFile(
        const std::string& source, const TPosixFile& archive, std::uint64_t& written);
    void SplitVolumes(const std::string& targetDir, const std::string& firstVolumeName);
    // Writes what fits on the current volume (VolumeSize, free space); returns the bytes taken.
    std::size_t WriteToVolume(
        const TPosixFile& volume, std::uint64_t position, const void* data, std::size_t n) const;

    bool m_abort = false;
    std::string m_compressedFile;
    TCompressionLevel m_level = colMax;
    std::string m_extractDirectory;
    std::vector<std::string> m_files;
    std::uint32_t m_offset = 0;
    TOverwriteType m_overwrite = owAlways;
    std::uint64_t m_volumeSize = 0;
    std::string m_targetName;
    bool m_skip = false;

    TFileHeaders m_headers;
    bool m_loaded = false;
    bool m_volumeFlag = false;
    std::array<int, UniqueIdSlots> m_uniqueIds {};
    std::array<bool, UniqueIdSlots> m_uniqueIdUsed {};
    int m_currentVolume = 0;
    TlzhFileStats m_stats;
    std::uint64_t m_totalDone = 0;
    std::uint64_t m_totalUncompressed = 0;
    std::uint64_t m_totalCompressed = 0;
    std::vector<std::uint8_t> m_input;
    std::vector<std::uint8_t> m_output;
};

} // namespace orvo
