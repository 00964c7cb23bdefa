#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwclient/ndsops.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// Directory objects for the console: ids to names and back, classes, attributes and the kind of
// an object (which also picks its icon), each on an NDS or a bindery path chosen by the
// connection's directory-services flag.

// Process-wide mirrors of the console's choices, read by every NDS context made here: the
// canonical-names switch ("Use short object names"), the preferred tree (the selected server's
// tree) and the name context chosen during the run (empty = the client's default).
void SetCanonicalNames(bool on);
bool CanonicalNames();
void SetPreferredNDSTree(const QString& tree);
QString PreferredNDSTree();
void SetNDSNameContext(const QString& context);
QString NDSNameContext();

// An NDS context for one piece of work, freed at the end of the scope. Created for the
// preferred tree, flags from the canonical-names switch (on: 0x10 and 0x04; off: 0x04 without
// 0x10), the run's name context when one was chosen. Throws TNDSException "CreateContextHandle"
// when the client cannot create one.
class TNDSContext {
public:
    TNDSContext();
    ~TNDSContext();
    TNDSContext(const TNDSContext&) = delete;
    TNDSContext& operator=(const TNDSContext&) = delete;
    nwclient::NWDSContextHandle handle() const { return m_handle; }

private:
    nwclient::NWDSContextHandle m_handle = 0;
};

// An NDS buffer freed at the end of the scope; allocation failures throw TNDSException
// "NWDSAllocBuf".
class TNDSBuffer {
public:
    explicit TNDSBuffer(size_t size = nwclient::DEFAULT_MESSAGE_LEN);
    ~TNDSBuffer();
    TNDSBuffer(const TNDSBuffer&) = delete;
    TNDSBuffer& operator=(const TNDSBuffer&) = delete;
    nwclient::pBuf_T get() const { return m_buffer; }

private:
    nwclient::pBuf_T m_buffer = nullptr;
};

// Object kinds: also the index of the object's icon.
namespace objkind {
constexpr int Unknown = 0;
constexpr int RootLike = 1; // "[Root]", "[Public]"
constexpr int Organization = 2;
constexpr int OrganizationalUnit = 3;
constexpr int Group = 4;
constexpr int User = 5;
constexpr int Alias = 6;
constexpr int Volume = 17;
} // namespace objkind

// Name of an object: NDS connection: NDSObjectName abbreviated; bindery: the object's name,
// empty when there is none. The reference variants open a handle around the same work and
// answer empty (or -1) when none can be opened.
QString ObjectName(nwclient::ConnHandle handle, uint32_t id);
QString ObjectNameByRef(nwclient::ConnRef ref, uint32_t id);
// The distinguished name of an NDS id, abbreviated relative to the context unless full is
// asked; empty when the id cannot be mapped.
QString NDSObjectName(nwclient::ConnHandle handle, uint32_t id, bool full);
// ObjectName from the root: canonical names off and name context "[Root]" for its duration.
QString RootObjectName(nwclient::ConnHandle handle, uint32_t id);
QString RootObjectNameByRef(nwclient::ConnRef ref, uint32_t id);
// The id of a name, or -1. NDS: the name as given, then the bindery user of that name, then
// the name with its leading "." removed (or one put in front). Bindery: a user, else a group.
int64_t ObjectId(nwclient::ConnHandle handle, const QString& name);
int64_t ObjectIdByRef(nwclient::ConnRef ref, const QString& name);

// Appends every value of one attribute of an NDS object, as text.
void ReadAttribute(const QString& objectName, const QString& attribute, QStringList& values);
// The base class of an NDS object; "Unknown" when it cannot be read (after telling the user,
// unless the name is the bindery "[Supervisor]", which gives "User").
QString ObjectClass(const QString& objectName);
// The kind of a class name: the first row of the class table whose text occurs in it.
int ClassKind(const QString& className);
int ObjectKind(nwclient::ConnHandle handle, uint32_t id);

// The kinds the object tree shows unless it shows everything.
bool IsShownKind(int kind);
// "[ROOT]" -> "[Root]", "SALES" -> "Sales".
QString DisplayName(const QString& name);
