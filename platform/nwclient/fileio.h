#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/fsrecords.h"

// File contents: open, read, write, close. Files stay open per connection until closed, and a
// file open on one connection cannot be erased, renamed or purged from another.
namespace nwclient {

namespace openmode {
constexpr uint16_t Read = 0x0001; // needs Read
constexpr uint16_t Write = 0x0002; // needs Write; refused on a Read-only file
constexpr uint16_t Create = 0x0004; // create when missing (needs Create in the directory)
constexpr uint16_t Truncate = 0x0008; // empty an existing file (needs Write)
constexpr uint16_t Exclusive = 0x0010; // create only: fscc::AlreadyExists when it exists
} // namespace openmode

// Opens the file path names (name space as in pathops.h). A file open for writing on another
// connection can only be opened for reading, unless it is Sharable (fscc::FileLocked).
NWCCODE openFile(
    ConnHandle handle, uint8_t dirHandle, const QString& path, uint16_t mode, uint32_t& fileHandle);
// Up to count bytes (at most 65536) from offset into data, which has room for count; got says
// how many came (fewer at the end of the file). The server writes them straight into data.
NWCCODE readFile(ConnHandle handle, uint32_t fileHandle, uint64_t offset, char* data,
    uint32_t count, uint32_t& got);
// Writes data at offset (at most 65536 bytes per call). fscc::InsufficientSpace when the
// volume or a directory space limit has no room; nothing is written then.
NWCCODE writeFile(ConnHandle handle, uint32_t fileHandle, uint64_t offset, const QByteArray& data);
NWCCODE getFileSize(ConnHandle handle, uint32_t fileHandle, uint64_t& size);
NWCCODE setFileSize(ConnHandle handle, uint32_t fileHandle, uint64_t size);
NWCCODE closeFile(ConnHandle handle, uint32_t fileHandle);

} // namespace nwclient
