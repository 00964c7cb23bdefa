#pragma once

#include "platform/nwproto/fsrecords.h"
#include "platform/nwserver/filesystem.h"

// The byte-exact records of the file-system replies, filled from the server's entries.
namespace nwserver::fsrec {

// Milliseconds since the epoch as a packed DOS date-time (date high, time low); 0 stays 0.
uint32_t packed(qint64 ms);
uint16_t packedDate(qint64 ms);
uint16_t packedTime(qint64 ms);
// Back from DOS date and time; a date of 0 gives 0.
qint64 fromPacked(uint16_t date, uint16_t time);

nwproto::NWNSEntryInfo nsEntryInfo(const FsEntry& e, uint8_t ns, uint32_t infoMask);
nwproto::NWEntryInfo entryInfo(const FsEntry& e);
nwproto::NWDeletedInfo deletedInfo(const FsErased& e);

// Whether search attributes let a lookup or scan meet the entry.
bool searchMeets(const FsEntry& e, uint16_t searchAttr);

} // namespace nwserver::fsrec
