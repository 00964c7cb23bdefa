#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/serverinfo.h"

// Server and console operations of the client library.
namespace nwclient {

NWCCODE getFileServerInformation(ConnHandle handle, nwproto::ServerInfo& info);
// Company and revision texts of the operating system.
NWCCODE getFileServerDescription(ConnHandle handle, QString& company, QString& revision);
NWCCODE getFileServerDateAndTime(ConnHandle handle, nwproto::ServerDateTime& dt);
NWCCODE setFileServerDateAndTime(ConnHandle handle, const nwproto::ServerDateTime& dt);
NWCCODE getFileServerLoginStatus(ConnHandle handle, bool& loginEnabled);
NWCCODE enableFileServerLogin(ConnHandle handle);
NWCCODE disableFileServerLogin(ConnHandle handle);
// Answers 0 (not available), cc::TtsAvailable (0x89FF) or cc::TtsDisabled (0x89FD), or a
// failure code.
NWCCODE ttsIsAvailable(ConnHandle handle);
NWCCODE enableTTS(ConnHandle handle);
NWCCODE disableTTS(ConnHandle handle);
NWCCODE checkConsolePrivileges(ConnHandle handle);
NWCCODE getNetworkSerialNumber(ConnHandle handle, uint32_t& serial, uint16_t& appNumber);
NWCCODE downFileServer(ConnHandle handle, bool force);

// Compares the server's version and levels with the minimum; compatFlag gets 0 when the server
// meets all of them, else the bits VersionTooLow (1), SftTooLow (2), TtsTooLow (4).
NWCCODE checkNetWareVersion(ConnHandle handle, uint16_t major, uint16_t minor, uint16_t revision,
    uint16_t minSft, uint16_t minTts, uint8_t& compatFlag);

} // namespace nwclient
