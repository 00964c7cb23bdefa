#pragma once

#include "platform/nwclient/client.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// Name spaces of volumes, temporary directory handles and volume names.

// True when name space nameSpace (nwproto::ns) is loaded on volume ("SYS" or "SYS:"); false on
// any failure. Never throws.
bool NameSpaceLoaded(nwclient::ConnHandle conn, const QString& volume, uint8_t nameSpace);
// The same through a connection of its own; false when none can be opened.
bool NameSpaceLoadedByRef(nwclient::ConnRef ref, const QString& volume, uint8_t nameSpace);

// The name space the disk manager uses for path: LONG (4) when it is loaded on the path's
// volume, else DOS (0).
uint8_t NameSpaceFor(nwclient::ConnHandle conn, const QString& path);

// A temporary directory handle for path (given with long names) that works with DOS names, or
// with long names. On a volume without the LONG name space a plain handle is taken instead.
// Throws TNWException "Error creating directory handle" with the code's text. The caller
// releases the handle, best with TDirHandleScope.
uint8_t TempHandleDOS(nwclient::ConnHandle conn, const QString& path);
uint8_t TempHandleLong(nwclient::ConnHandle conn, const QString& path);

// Releases a directory handle when the scope ends, also when an exception leaves it.
class TDirHandleScope {
public:
    TDirHandleScope(nwclient::ConnHandle conn, uint8_t dirHandle)
        : m_conn(conn)
        , m_dirHandle(dirHandle)
    {
    }
    ~TDirHandleScope();
    TDirHandleScope(const TDirHandleScope&) = delete;
    TDirHandleScope& operator=(const TDirHandleScope&) = delete;

    uint8_t handle() const { return m_dirHandle; }

private:
    nwclient::ConnHandle m_conn;
    uint8_t m_dirHandle;
};

// The names of the server's volumes, by volume number 0 to 64 (unsorted).
QStringList VolumeNames(nwclient::ConnHandle conn);
