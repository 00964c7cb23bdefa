#pragma once

#include "platform/nwproto/fsrecords.h"

#include <cstdint>

// The NetWare attribute bits the disk manager shows and changes, and the rule that ties
// Read-only to Rename Inhibit and Delete Inhibit.
namespace nwattr {

constexpr uint32_t ReadOnly = nwproto::attr::ReadOnly; // files, directories
constexpr uint32_t Hidden = nwproto::attr::Hidden; // files, directories
constexpr uint32_t Archive = nwproto::attr::Archive; // files, directories
constexpr uint32_t Sharable = nwproto::attr::Sharable; // files
constexpr uint32_t Transactional = nwproto::attr::Transactional; // files
constexpr uint32_t PurgeImmediate = nwproto::attr::PurgeImmediate; // files, directories
constexpr uint32_t RenameInhibit = nwproto::attr::RenameInhibit; // files, directories
constexpr uint32_t DeleteInhibit = nwproto::attr::DeleteInhibit; // files, directories
constexpr uint32_t ImmediateCompress = nwproto::attr::ImmediateCompress; // directories
constexpr uint32_t Compressed = nwproto::attr::Compressed; // files; the server's, read only
constexpr uint32_t DontCompress = nwproto::attr::DontCompress; // directories

static_assert(ReadOnly == 1u << 0 && Hidden == 1u << 1 && Archive == 1u << 5);
static_assert(Sharable == 1u << 7 && Transactional == 1u << 12 && PurgeImmediate == 1u << 16);
static_assert(RenameInhibit == 1u << 17 && DeleteInhibit == 1u << 18);
static_assert(ImmediateCompress == 1u << 25 && Compressed == 1u << 26 && DontCompress == 1u << 27);

// Cleared before a file is overwritten, moved by rename or deleted: these would refuse it.
constexpr uint32_t Protection = ReadOnly | Transactional | DeleteInhibit;
static_assert(Protection == 0x41001);

// Checking Read-only also checks Rename Inhibit and Delete Inhibit.
constexpr uint32_t WithReadOnlyRule(uint32_t attributes)
{
    return (attributes & ReadOnly) ? attributes | RenameInhibit | DeleteInhibit : attributes;
}
// Rename Inhibit and Delete Inhibit can be changed only while Read-only is unchecked.
constexpr bool InhibitsEditable(uint32_t attributes)
{
    return !(attributes & ReadOnly);
}

} // namespace nwattr
