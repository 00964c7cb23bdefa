#pragma once

#include <cstddef>
#include <cstdint>

namespace nwclient {

// The client's connection-information record of one connection reference: fixed size, read by
// the console by field. Names are zero-terminated and cut to their field.
struct TNWConnInfo {
    uint32_t authenticationState; // nonzero = authenticated
    uint32_t connRef;
    uint32_t dsFlag; // nonzero = the server is reached through a directory tree
    uint32_t connNumber; // the station's connection number on the server
    char treeName[36];
    char serverName[52];
    char userName[36];
};

static_assert(sizeof(TNWConnInfo) == 140);
static_assert(offsetof(TNWConnInfo, authenticationState) == 0);
static_assert(offsetof(TNWConnInfo, connRef) == 4);
static_assert(offsetof(TNWConnInfo, treeName) == 16);
static_assert(offsetof(TNWConnInfo, serverName) == 52);
static_assert(offsetof(TNWConnInfo, userName) == 104);

} // namespace nwclient
