#pragma once

#include <cstdint>

namespace nwproto {

// Request function numbers. Each area has its own block so that areas grow without renumbering
// one another; a number, once used, keeps its meaning because peers of other builds rely on it.
using FnCode = uint16_t;

namespace fn {
// Session: 0x01xx
constexpr FnCode Attach = 0x0101;
constexpr FnCode Login = 0x0102;
constexpr FnCode Logout = 0x0103;
constexpr FnCode Detach = 0x0104;
constexpr FnCode WhoAmI = 0x0105;

// Server and console: 0x02xx
constexpr FnCode GetServerInfo = 0x0201;
constexpr FnCode GetDateTime = 0x0202;
constexpr FnCode SetDateTime = 0x0203;
constexpr FnCode GetLoginStatus = 0x0204;
constexpr FnCode SetLoginStatus = 0x0205;
constexpr FnCode TtsIsAvailable = 0x0206;
constexpr FnCode SetTtsStatus = 0x0207;
constexpr FnCode CheckConsolePrivileges = 0x0208;
constexpr FnCode GetNetworkSerialNumber = 0x0209;
constexpr FnCode DownServer = 0x020A;
constexpr FnCode GetServerDescription = 0x020B;

// Blocks taken by later areas: connections and users 0x03xx, file system 0x04xx, bindery 0x05xx,
// modules and SET 0x06xx, directory services 0x07xx, statistics 0x08xx.
} // namespace fn

} // namespace nwproto
