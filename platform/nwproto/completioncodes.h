#pragma once

#include <cstdint>

namespace nwproto {

using NWCCODE = uint32_t;

// Completion codes as a NetWare client (0x88xx) and server (0x89xx) give them. The console turns
// them into its own words; everything below the console only passes them on.
namespace cc {
constexpr NWCCODE Success = 0;
constexpr NWCCODE DriveNotInUse = 15;
constexpr NWCCODE InvalidConnection = 0x8801;
constexpr NWCCODE BufferTooSmall = 0x880E;
constexpr NWCCODE NoMoreEntries = 0x8810;
constexpr NWCCODE InvalidDriveNumber = 0x8812;
constexpr NWCCODE NoSuchServer = 0x8847;
constexpr NWCCODE ServerUnreachable = 0x880F;
constexpr NWCCODE BadRequest = 0x8816;
constexpr NWCCODE UnknownRequest = 0x89FB;
constexpr NWCCODE AccessDenied = 0x8905;
constexpr NWCCODE NoConsoleRights = 0x89C6;
constexpr NWCCODE NoSuchObject = 0x89FC;
constexpr NWCCODE BadStationNumber = 0x89FD;
constexpr NWCCODE LoginLocked = 0x89FE;
constexpr NWCCODE NoSuchObjectOrBadPassword = 0x89FF;
constexpr NWCCODE ConnectionLimit = 0x89D9;
constexpr NWCCODE ObjectExists = 0x89EE;
// What the transaction-tracking query answers instead of a plain 0/1.
constexpr NWCCODE TtsAvailable = 0x89FF;
constexpr NWCCODE TtsDisabled = 0x89FD;
constexpr NWCCODE TtsNotAvailable = 0;
} // namespace cc

} // namespace nwproto
