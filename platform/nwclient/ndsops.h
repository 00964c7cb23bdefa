#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwproto/directory.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// Directory services (NDS) of the client library: contexts, buffers and the calls on them.
// Every call answers a directory code: 0, a negative NDS code (-601 no such entry, ...), or a
// client or server completion code when the request itself failed.
namespace nwclient {

using nwproto::NWDSCCODE;
using NWDSContextHandle = uint32_t;

// Context flags.
constexpr uint32_t DCV_DEREF_ALIASES = 0x01;
constexpr uint32_t DCV_XLATE_STRINGS = 0x02;
constexpr uint32_t DCV_TYPELESS_NAMES = 0x04;
constexpr uint32_t DCV_CANONICALIZE_NAMES = 0x10;
// Context keys.
constexpr int DCK_FLAGS = 1;
constexpr int DCK_NAME_CONTEXT = 3;
constexpr int DCK_TREE_NAME = 11;
// What a buffer is prepared for, and what a read answers.
constexpr uint32_t DSV_READ = 3;
constexpr uint32_t DS_ATTRIBUTE_NAMES = 0;
constexpr uint32_t DS_ATTRIBUTE_VALUES = 1;
constexpr size_t DEFAULT_MESSAGE_LEN = 4096;
constexpr int32_t NO_MORE_ITERATIONS = nwproto::kNoMoreIterations;

struct TObjectInfo {
    uint32_t objectFlags = 0; // nwproto::dsentry: 0x01 alias, 0x04 container
    uint32_t subordinateCount = 0;
    uint32_t modificationTime = 0; // seconds since the epoch
    QString baseClass;
};

struct NdsBuffer;
using pBuf_T = NdsBuffer*;

// The tree the next context is created for (the client's preferred tree), and the name context
// new contexts start with ("[Root]" unless set).
void setPreferredTree(const QString& tree);
QString preferredTree();
void setDefaultNameContext(const QString& context);
QString defaultNameContext();

// A context starts with the preferred tree, the default name context and the flags
// DCV_DEREF_ALIASES | DCV_XLATE_STRINGS | DCV_TYPELESS_NAMES | DCV_CANONICALIZE_NAMES.
// Fails with -328 before the library is initialised.
NWDSCCODE NWDSCreateContextHandle(NWDSContextHandle& context);
NWDSCCODE NWDSFreeContext(NWDSContextHandle context);
// DCK_FLAGS takes a number; DCK_NAME_CONTEXT and DCK_TREE_NAME take text (-302 otherwise).
NWDSCCODE NWDSGetContext(NWDSContextHandle context, int key, uint32_t& value);
NWDSCCODE NWDSGetContext(NWDSContextHandle context, int key, QString& value);
NWDSCCODE NWDSSetContext(NWDSContextHandle context, int key, uint32_t value);
NWDSCCODE NWDSSetContext(NWDSContextHandle context, int key, const QString& value);

// Buffers hold what one request or one reply carries, at most size bytes.
NWDSCCODE NWDSAllocBuf(size_t size, pBuf_T& buffer);
NWDSCCODE NWDSFreeBuf(pBuf_T buffer);
NWDSCCODE NWDSInitBuf(NWDSContextHandle context, uint32_t operation, pBuf_T buffer);
NWDSCCODE NWDSPutAttrName(NWDSContextHandle context, pBuf_T buffer, const QString& name);

// Reads attributes of an object (all, or those named in attrNames) into objectInfo; start with
// iterationHandle -1 and call again while it is not -1 afterwards.
NWDSCCODE NWDSRead(NWDSContextHandle context, const QString& object, uint32_t infoType,
    bool allAttrs, pBuf_T attrNames, int32_t& iterationHandle, pBuf_T objectInfo);
NWDSCCODE NWDSGetAttrCount(NWDSContextHandle context, pBuf_T buffer, uint32_t& count);
NWDSCCODE NWDSGetAttrName(NWDSContextHandle context, pBuf_T buffer, QString& name,
    uint32_t& valueCount, uint32_t& syntaxId);
NWDSCCODE NWDSGetAttrVal(
    NWDSContextHandle context, pBuf_T buffer, uint32_t syntaxId, QString& value);

// Lists the subordinates of a container in batches (iteration as for NWDSRead). Each object's
// name is its relative name.
NWDSCCODE NWDSList(NWDSContextHandle context, const QString& object, int32_t& iterationHandle,
    pBuf_T subordinates);
NWDSCCODE NWDSGetObjectCount(NWDSContextHandle context, pBuf_T buffer, uint32_t& count);
NWDSCCODE NWDSGetObjectName(NWDSContextHandle context, pBuf_T buffer, QString& objectName,
    uint32_t& attrCount, TObjectInfo& info);

// Ids are the server's entry ids, so these two go through a connection of that server.
NWDSCCODE NWDSMapNameToID(
    NWDSContextHandle context, ConnHandle handle, const QString& object, uint32_t& id);
NWDSCCODE NWDSMapIDToName(
    NWDSContextHandle context, ConnHandle handle, uint32_t id, QString& object);
NWDSCCODE NWDSAbbreviateName(NWDSContextHandle context, const QString& name, QString& abbreviated);
NWDSCCODE NWDSCanonicalizeName(NWDSContextHandle context, const QString& name, QString& canonical);
NWDSCCODE NWDSReadObjectInfo(NWDSContextHandle context, const QString& object,
    QString& distinguishedName, TObjectInfo& info);

} // namespace nwclient
