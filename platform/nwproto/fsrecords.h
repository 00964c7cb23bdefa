#pragma once

#include <cstddef>
#include <cstdint>

// File-system constants and the fixed-size records of the file-system operations. The console
// reads these records by byte offset, so their layouts are fixed (little-endian, natural
// alignment with explicit padding); they travel over the wire as they stand.
namespace nwproto {

// Name spaces of a volume.
namespace ns {
constexpr uint8_t Dos = 0;
constexpr uint8_t Mac = 1;
constexpr uint8_t Nfs = 2;
constexpr uint8_t Ftam = 3;
constexpr uint8_t Long = 4;
} // namespace ns

// Attribute bits of a directory entry (32-bit).
namespace attr {
constexpr uint32_t ReadOnly = 0x00000001;
constexpr uint32_t Hidden = 0x00000002;
constexpr uint32_t System = 0x00000004;
constexpr uint32_t ExecuteOnly = 0x00000008;
constexpr uint32_t Directory = 0x00000010;
constexpr uint32_t Archive = 0x00000020;
constexpr uint32_t Sharable = 0x00000080;
constexpr uint32_t Transactional = 0x00001000;
constexpr uint32_t ReadAudit = 0x00004000;
constexpr uint32_t WriteAudit = 0x00008000;
constexpr uint32_t PurgeImmediate = 0x00010000;
constexpr uint32_t RenameInhibit = 0x00020000;
constexpr uint32_t DeleteInhibit = 0x00040000;
constexpr uint32_t CopyInhibit = 0x00080000;
constexpr uint32_t ImmediateCompress = 0x02000000;
constexpr uint32_t Compressed = 0x04000000; // kept by the server; a client cannot set it
constexpr uint32_t DontCompress = 0x08000000;
constexpr uint32_t CantCompress = 0x20000000;
} // namespace attr

// Search attributes of scans: which entries a scan or a name lookup may meet. Without
// Subdirectories only files are met; with it only directories.
namespace search {
constexpr uint16_t Hidden = 0x0002;
constexpr uint16_t System = 0x0004;
constexpr uint16_t Subdirectories = 0x0010;
constexpr uint16_t Files = 0x0006; // files, hidden and system ones included
constexpr uint16_t Directories = 0x0016; // directories, hidden and system ones included
} // namespace search

// Information mask of scanDirEntries / getNSEntryInfo: which fields of NWNSEntryInfo are filled.
namespace info {
constexpr uint32_t Name = 0x0001;
constexpr uint32_t SpaceAllocated = 0x0002;
constexpr uint32_t Attributes = 0x0004;
constexpr uint32_t Size = 0x0008;
constexpr uint32_t TotalSize = 0x0010;
constexpr uint32_t ExtendedAttributes = 0x0020;
constexpr uint32_t Archive = 0x0040;
constexpr uint32_t Modify = 0x0080;
constexpr uint32_t Creation = 0x0100;
constexpr uint32_t OwningNameSpace = 0x0200;
constexpr uint32_t DirectoryNumbers = 0x0400;
constexpr uint32_t Rights = 0x0800;
constexpr uint32_t All = 0x0FFF;
} // namespace info

// Modify mask of setNSEntryDOSInfo and change bits of setDirEntryInfo.
namespace modify {
constexpr uint32_t Attributes = 0x0002;
constexpr uint32_t CreateDate = 0x0004;
constexpr uint32_t CreateTime = 0x0008;
constexpr uint32_t CreatorId = 0x0010;
constexpr uint32_t ArchiveDate = 0x0020;
constexpr uint32_t ArchiveTime = 0x0040;
constexpr uint32_t ArchiverId = 0x0080;
constexpr uint32_t ModifyDate = 0x0100;
constexpr uint32_t ModifyTime = 0x0200;
constexpr uint32_t ModifierId = 0x0400;
constexpr uint32_t LastAccessDate = 0x0800;
constexpr uint32_t InheritedRightsMask = 0x1000;
constexpr uint32_t MaximumSpace = 0x2000;
} // namespace modify

// Trustee rights (16-bit). Bit 2 is unused on the file system.
namespace rights {
constexpr uint16_t Read = 0x0001;
constexpr uint16_t Write = 0x0002;
constexpr uint16_t Create = 0x0008;
constexpr uint16_t Erase = 0x0010;
constexpr uint16_t Access = 0x0020; // access control: trustees and inherited rights masks
constexpr uint16_t FileScan = 0x0040;
constexpr uint16_t Modify = 0x0080;
constexpr uint16_t Supervisor = 0x0100;
constexpr uint16_t All = 0x00FB; // the seven rights below Supervisor
} // namespace rights

// Completion codes of the file system (server errors 0x89xx).
namespace fscc {
constexpr uint32_t InsufficientSpace = 0x8901; // volume full or directory space limit reached
constexpr uint32_t FileLocked = 0x8980; // open for writing by another station
constexpr uint32_t NoOpenRights = 0x8982;
constexpr uint32_t NoCreateRights = 0x8984;
constexpr uint32_t NoSearchRights = 0x8989;
constexpr uint32_t NoDeleteRights = 0x898A; // also: Delete Inhibit
constexpr uint32_t NoRenameRights = 0x898B; // also: Rename Inhibit
constexpr uint32_t NoModifyRights = 0x898C;
constexpr uint32_t FileInUse = 0x898E;
constexpr uint32_t ReadOnly = 0x8990;
constexpr uint32_t AlreadyExists = 0x8992;
constexpr uint32_t NoSuchDirectory = 0x8996;
constexpr uint32_t NoSuchVolume = 0x8998;
constexpr uint32_t NotSameVolume = 0x899A; // a rename or move to another volume or server
constexpr uint32_t BadDirHandle = 0x899B;
constexpr uint32_t InvalidPath = 0x899C; // bad name, a step outside the volume, or no such path
constexpr uint32_t NoMoreTrustees = 0x899C; // the end of a trustee scan
constexpr uint32_t DirectoryNotEmpty = 0x89A0;
constexpr uint32_t IoError = 0x89A1;
constexpr uint32_t NoModifyRightsOnDirectory = 0x89A8;
constexpr uint32_t InvalidNameSpace = 0x89BF;
constexpr uint32_t BadFileHandle = 0x8988;
constexpr uint32_t NoSuchTrustee = 0x89FE;
constexpr uint32_t NoMoreEntries = 0x89FF; // end of a scan; also: no file matches the name
constexpr uint32_t VolumeAlreadyMounted = 0x89FF;
} // namespace fscc

// Packed date-times: DOS date in the high 16 bits, DOS time in the low 16 bits.
namespace dostime {
constexpr uint16_t date(int year, int month, int day)
{
    return static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}
constexpr uint16_t time(int hour, int minute, int second)
{
    return static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}
} // namespace dostime

// Entry information of scanDirEntryInfo (132 bytes). Names in the DOS name space.
struct NWEntryInfo {
    uint32_t sequence; // the entry's number on its volume (getPathFromDirEntry, setDirEntryInfo)
    uint32_t parent; // entry number of the parent directory
    uint32_t attributes;
    uint8_t uniqueId;
    uint8_t flags;
    uint8_t nameSpace;
    uint8_t nameLength;
    char name[12]; // DOS name, not terminated when 12 long
    uint32_t creationDateAndTime;
    uint32_t ownerId;
    uint32_t lastArchiveDateAndTime;
    uint32_t lastArchiverId;
    uint32_t updateDateAndTime; // last modified
    union {
        struct {
            uint32_t lastUpdatorId;
            uint32_t fileSize;
            uint8_t reserved[44];
            uint16_t inheritedRightsMask;
            uint16_t lastAccessDate;
            uint8_t reserved2[28];
        } file;
        struct {
            uint32_t lastModifyDateAndTime;
            uint32_t nextTrusteeEntry;
            uint8_t reserved[44];
            int32_t maximumSpace; // 4 KB blocks, 0 = no limit
            uint16_t inheritedRightsMask;
            uint8_t reserved2[26];
        } dir;
    } info;
};
static_assert(sizeof(NWEntryInfo) == 132);
static_assert(offsetof(NWEntryInfo, attributes) == 8);
static_assert(offsetof(NWEntryInfo, nameLength) == 15);
static_assert(offsetof(NWEntryInfo, name) == 16);
static_assert(offsetof(NWEntryInfo, creationDateAndTime) == 28);
static_assert(offsetof(NWEntryInfo, ownerId) == 32);
static_assert(offsetof(NWEntryInfo, lastArchiveDateAndTime) == 36);
static_assert(offsetof(NWEntryInfo, updateDateAndTime) == 44);
static_assert(offsetof(NWEntryInfo, info.file.lastUpdatorId) == 48);
static_assert(offsetof(NWEntryInfo, info.file.fileSize) == 52);
static_assert(offsetof(NWEntryInfo, info.file.inheritedRightsMask) == 100);
static_assert(offsetof(NWEntryInfo, info.file.lastAccessDate) == 102);
static_assert(offsetof(NWEntryInfo, info.dir.maximumSpace) == 100);
static_assert(offsetof(NWEntryInfo, info.dir.inheritedRightsMask) == 104);

// Entry information in a name space (344 bytes), of scanDirEntries and getNSEntryInfo. Only the
// fields the information mask asks for are filled; the rest stay zero.
struct NWNSEntryInfo {
    uint32_t spaceAlloc; // 4 KB blocks
    uint32_t attributes; // 4
    uint32_t flags;
    uint32_t dataStreamSize; // 12: file size in bytes
    uint32_t totalStreamSize;
    uint16_t numberOfStreams;
    uint16_t creationTime; // 22
    uint16_t creationDate; // 24
    uint16_t pad1;
    uint32_t creatorId; // 28
    uint16_t modifyTime; // 32
    uint16_t modifyDate; // 34
    uint32_t modifierId;
    uint16_t lastAccessDate; // 40
    uint16_t archiveTime; // 42
    uint16_t archiveDate; // 44
    uint16_t pad2;
    uint32_t archiverId;
    uint16_t inheritedRightsMask; // 52
    uint16_t pad3;
    uint32_t dirEntNum; // 56: entry number in this name space
    uint32_t dosDirNum; // 60: entry number in the DOS name space
    uint32_t volNumber;
    uint32_t eaDataSize;
    uint32_t eaKeyCount;
    uint32_t eaKeySize;
    uint32_t nsCreator;
    uint8_t nameLength; // 84
    char entryName[256]; // 85: not terminated when 255 long
    uint8_t pad4[3];
};
static_assert(sizeof(NWNSEntryInfo) == 344);
static_assert(offsetof(NWNSEntryInfo, attributes) == 4);
static_assert(offsetof(NWNSEntryInfo, dataStreamSize) == 12);
static_assert(offsetof(NWNSEntryInfo, creationTime) == 22);
static_assert(offsetof(NWNSEntryInfo, creationDate) == 24);
static_assert(offsetof(NWNSEntryInfo, creatorId) == 28);
static_assert(offsetof(NWNSEntryInfo, modifyTime) == 32);
static_assert(offsetof(NWNSEntryInfo, modifyDate) == 34);
static_assert(offsetof(NWNSEntryInfo, lastAccessDate) == 40);
static_assert(offsetof(NWNSEntryInfo, archiveTime) == 42);
static_assert(offsetof(NWNSEntryInfo, archiveDate) == 44);
static_assert(offsetof(NWNSEntryInfo, inheritedRightsMask) == 52);
static_assert(offsetof(NWNSEntryInfo, dirEntNum) == 56);
static_assert(offsetof(NWNSEntryInfo, nameLength) == 84);
static_assert(offsetof(NWNSEntryInfo, entryName) == 85);

// Where scanDirEntries goes on. Zero it and set searchDirNumber to 0xFFFFFFFF to start.
struct NWSearchSequence {
    uint8_t volNumber;
    uint8_t pad[3];
    uint32_t dirNumber;
    uint32_t searchDirNumber;
};
static_assert(sizeof(NWSearchSequence) == 12);

// One erased file of scanErasedFiles (376 bytes).
struct NWDeletedInfo {
    uint32_t sequence;
    uint32_t parent;
    uint32_t attributes;
    uint8_t uniqueId;
    uint8_t flags;
    uint8_t nameSpace;
    uint8_t nameLength; // 15
    char name[256]; // 16: not terminated
    uint32_t creationDateAndTime; // 272
    uint32_t ownerId;
    uint32_t lastArchiveDateAndTime;
    uint32_t lastArchiverId;
    uint32_t updateDateAndTime;
    uint32_t updatorId;
    uint32_t fileSize; // 296
    uint8_t reserved[44];
    uint16_t inheritedRightsMask; // 344
    uint16_t lastAccessDate;
    uint32_t deletedTime; // 348: seconds since the epoch
    uint32_t deletedDateAndTime; // 352: packed
    uint32_t deletorId; // 356
    uint8_t reserved3[16];
};
static_assert(sizeof(NWDeletedInfo) == 376);
static_assert(offsetof(NWDeletedInfo, nameLength) == 15);
static_assert(offsetof(NWDeletedInfo, name) == 16);
static_assert(offsetof(NWDeletedInfo, fileSize) == 296);
static_assert(offsetof(NWDeletedInfo, deletedDateAndTime) == 352);
static_assert(offsetof(NWDeletedInfo, deletorId) == 356);

// One round of scanEntryForTrustees (188 bytes): up to 20 trustees; unused slots are zero.
struct NWTrusteeEntry {
    uint32_t objectId;
    uint16_t objectRights;
    uint16_t pad;
};
struct NWEntryTrustees {
    char entryName[16];
    uint32_t creationDateAndTime;
    uint32_t ownerId;
    uint32_t sequenceNumber;
    NWTrusteeEntry trusteeList[20]; // 28
};
static_assert(sizeof(NWEntryTrustees) == 188);
static_assert(offsetof(NWEntryTrustees, trusteeList) == 28);
static_assert(sizeof(NWTrusteeEntry) == 8);

// What setNSEntryDOSInfo changes; the modify mask says which fields count. The stored inherited
// rights mask becomes (old & ~inheritanceRevokeMask) | inheritanceGrantMask.
struct NWModifyDosInfo {
    uint32_t attributes;
    uint16_t createDate;
    uint16_t createTime;
    uint32_t creatorId;
    uint16_t modifyDate;
    uint16_t modifyTime;
    uint32_t modifierId;
    uint16_t archiveDate;
    uint16_t archiveTime;
    uint32_t archiverId;
    uint16_t lastAccessDate; // 28
    uint16_t inheritanceGrantMask; // 30
    uint16_t inheritanceRevokeMask; // 32
    uint16_t pad;
    uint32_t maximumSpace; // 36: 4 KB blocks, 0 = no limit
};
static_assert(sizeof(NWModifyDosInfo) == 40);
static_assert(offsetof(NWModifyDosInfo, lastAccessDate) == 28);
static_assert(offsetof(NWModifyDosInfo, inheritanceGrantMask) == 30);
static_assert(offsetof(NWModifyDosInfo, inheritanceRevokeMask) == 32);
static_assert(offsetof(NWModifyDosInfo, maximumSpace) == 36);

// Extended volume information (getExtendedVolumeInfo). Sizes are in sectors of sectorSize
// bytes or in clusters of sectorsPerCluster sectors.
struct NWVolExtendedInfo {
    uint32_t volType;
    uint32_t statusFlag;
    uint32_t sectorSize;
    uint32_t sectorsPerCluster;
    uint32_t volSizeInClusters;
    uint32_t freedClusters;
    uint32_t subAllocFreeableClusters;
    uint32_t freeableLimboSectors; // erased files that can be salvaged
    uint32_t nonFreeableLimboSectors;
    uint32_t nonFreeableAvailSubAllocSectors;
    uint32_t notUsableSubAllocSectors;
    uint32_t subAllocClusters;
    uint32_t dataStreamsCount;
    uint32_t limboDataStreamsCount;
    uint32_t oldestDelFileAgeInTicks;
    uint32_t compressedDataStreamsCount;
    uint32_t compressedLimboDataStreamsCount;
    uint32_t unCompressableDataStreamsCount;
    uint32_t preCompressedSectors;
    uint32_t compressedSectors;
    uint32_t migratedFiles;
    uint32_t migratedSectors;
    uint32_t clustersUsedByFAT;
    uint32_t clustersUsedByDirs;
    uint32_t clustersUsedByExtDirs;
    uint32_t totalDirEntries;
    uint32_t unUsedDirEntries;
    uint32_t totalExtDirExtants;
    uint32_t unUsedExtDirExtants;
    uint32_t extAttrsDefined;
    uint32_t extAttrExtantsUsed;
    uint32_t directoryServicesObjectId; // 0 on a bindery server
    uint32_t volLastModifiedDateAndTime;
};
static_assert(sizeof(NWVolExtendedInfo) == 33 * 4);

// Basic space figures of a volume, or of a directory with a space limit (getDirSpaceInfo).
// Blocks are 4 KB (8 sectors).
struct NWDirSpaceInfo {
    uint32_t totalBlocks;
    uint32_t availableBlocks;
    uint32_t purgeableBlocks; // erased files that can be salvaged
    uint32_t notYetPurgeableBlocks;
    uint32_t totalDirEntries;
    uint32_t availableDirEntries;
    uint32_t reserved;
    uint8_t sectorsPerBlock;
    uint8_t volLen;
    char volName[16]; // zero-terminated
    uint8_t pad[2];
};
static_assert(sizeof(NWDirSpaceInfo) == 48);

} // namespace nwproto
