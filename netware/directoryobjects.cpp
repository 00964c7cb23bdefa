#include "netware/directoryobjects.h"

#include "netware/connqueries.h"
#include "netware/errors.h"
#include "platform/nwclient/binderyops.h"
#include "platform/shell/dialogservice.h"

#include <mutex>

using namespace nwclient;

namespace {

struct Mirrors {
    std::mutex mutex;
    bool canonicalNames = true;
    QString tree;
    QString nameContext;
};

Mirrors& mirrors()
{
    static Mirrors m;
    return m;
}

const QString kRoot = QStringLiteral("[Root]");

// Puts back the canonical-names switch and the name context when the scope ends.
class MirrorRestore {
public:
    MirrorRestore()
        : m_canonical(CanonicalNames())
        , m_context(NDSNameContext())
    {
    }
    ~MirrorRestore()
    {
        SetCanonicalNames(m_canonical);
        SetNDSNameContext(m_context);
    }
    MirrorRestore(const MirrorRestore&) = delete;
    MirrorRestore& operator=(const MirrorRestore&) = delete;

private:
    bool m_canonical;
    QString m_context;
};

template <typename Work, typename Result> Result byRef(ConnRef ref, Result failed, Work work)
{
    TConnHandleScope scope;
    if (scope.open(ref) != nwproto::cc::Success)
        return failed;
    return work(scope.handle());
}

int64_t mapName(ConnHandle handle, const TNDSContext& ctx, const QString& name, NWDSCCODE& code)
{
    uint32_t id = 0;
    code = NWDSMapNameToID(ctx.handle(), handle, name, id);
    return code == 0 ? int64_t(id) : -1;
}

} // namespace

void SetCanonicalNames(bool on)
{
    std::lock_guard<std::mutex> guard(mirrors().mutex);
    mirrors().canonicalNames = on;
}

bool CanonicalNames()
{
    std::lock_guard<std::mutex> guard(mirrors().mutex);
    return mirrors().canonicalNames;
}

void SetPreferredNDSTree(const QString& tree)
{
    std::lock_guard<std::mutex> guard(mirrors().mutex);
    mirrors().tree = tree;
}

QString PreferredNDSTree()
{
    std::lock_guard<std::mutex> guard(mirrors().mutex);
    return mirrors().tree;
}

void SetNDSNameContext(const QString& context)
{
    std::lock_guard<std::mutex> guard(mirrors().mutex);
    mirrors().nameContext = context;
}

QString NDSNameContext()
{
    std::lock_guard<std::mutex> guard(mirrors().mutex);
    return mirrors().nameContext;
}

TNDSContext::TNDSContext()
{
    const QString tree = PreferredNDSTree();
    if (!tree.isEmpty())
        setPreferredTree(tree);
    CheckNDSResult(QStringLiteral("CreateContextHandle"), NWDSCreateContextHandle(m_handle));
    uint32_t flags = 0;
    NWDSGetContext(m_handle, DCK_FLAGS, flags);
    flags |= DCV_TYPELESS_NAMES;
    if (CanonicalNames())
        flags |= DCV_CANONICALIZE_NAMES;
    else
        flags &= ~DCV_CANONICALIZE_NAMES;
    NWDSSetContext(m_handle, DCK_FLAGS, flags);
    const QString context = NDSNameContext();
    if (!context.isEmpty())
        NWDSSetContext(m_handle, DCK_NAME_CONTEXT, context);
}

TNDSContext::~TNDSContext()
{
    NWDSFreeContext(m_handle);
}

TNDSBuffer::TNDSBuffer(size_t size)
{
    CheckNDSResult(QStringLiteral("NWDSAllocBuf"), NWDSAllocBuf(size, m_buffer));
}

TNDSBuffer::~TNDSBuffer()
{
    NWDSFreeBuf(m_buffer);
}

QString NDSObjectName(ConnHandle handle, uint32_t id, bool full)
{
    TNDSContext ctx;
    QString name;
    if (NWDSMapIDToName(ctx.handle(), handle, id, name) != 0)
        return QString();
    if (full)
        return name;
    QString shortName;
    return NWDSAbbreviateName(ctx.handle(), name, shortName) < 0 ? name : shortName;
}

QString ObjectName(ConnHandle handle, uint32_t id)
{
    if (IsNDSConn(handle))
        return NDSObjectName(handle, id, false);
    QString name;
    ObjectType type = 0;
    return getBinderyObjectName(handle, id, name, type) == 0 ? name : QString();
}

QString ObjectNameByRef(ConnRef ref, uint32_t id)
{
    return byRef(ref, QString(), [id](ConnHandle h) { return ObjectName(h, id); });
}

QString RootObjectName(ConnHandle handle, uint32_t id)
{
    MirrorRestore restore;
    SetCanonicalNames(false);
    SetNDSNameContext(kRoot);
    return ObjectName(handle, id);
}

QString RootObjectNameByRef(ConnRef ref, uint32_t id)
{
    return byRef(ref, QString(), [id](ConnHandle h) { return RootObjectName(h, id); });
}

int64_t ObjectId(ConnHandle handle, const QString& name)
{
    uint32_t id = 0;
    if (!IsNDSConn(handle)) {
        if (getBinderyObjectID(handle, name, OT_USER, id) == 0
            || getBinderyObjectID(handle, name, OT_GROUP, id) == 0)
            return id;
        return -1;
    }
    TNDSContext ctx;
    NWDSCCODE code = 0;
    const int64_t found = mapName(handle, ctx, name, code);
    if (code != nwproto::ndserr::NoSuchEntry)
        return found;
    if (getBinderyObjectID(handle, name, OT_USER, id) == 0)
        return id;
    const QString other = name.startsWith(QLatin1Char('.')) ? name.mid(1) : QLatin1Char('.') + name;
    return mapName(handle, ctx, other, code);
}

int64_t ObjectIdByRef(ConnRef ref, const QString& name)
{
    return byRef(ref, int64_t(-1), [&name](ConnHandle h) { return ObjectId(h, name); });
}

void ReadAttribute(const QString& objectName, const QString& attribute, QStringList& values)
{
    TNDSContext ctx;
    TNDSBuffer request;
    TNDSBuffer reply;
    const NWDSContextHandle c = ctx.handle();
    CheckNDSResult(QStringLiteral("NWDSInitBuf"), NWDSInitBuf(c, DSV_READ, request.get()));
    CheckNDSResult(QStringLiteral("NWDSPutAttrName"), NWDSPutAttrName(c, request.get(), attribute));
    // Values that do not fit one reply come in further iterations; none is left behind.
    int32_t iteration = NO_MORE_ITERATIONS;
    do {
        CheckNDSResult(QStringLiteral("NWDSRead"),
            NWDSRead(
                c, objectName, DS_ATTRIBUTE_VALUES, false, request.get(), iteration, reply.get()));
        uint32_t count = 0;
        CheckNDSResult(QStringLiteral("NWDSGetAttrCount"), NWDSGetAttrCount(c, reply.get(), count));
        for (uint32_t a = 0; a < count; ++a) {
            QString name;
            uint32_t valueCount = 0;
            uint32_t syntax = 0;
            CheckNDSResult(QStringLiteral("NWDSGetAttrName"),
                NWDSGetAttrName(c, reply.get(), name, valueCount, syntax));
            for (uint32_t v = 0; v < valueCount; ++v) {
                QString value;
                CheckNDSResult(QStringLiteral("NWDSGetAttrVal"),
                    NWDSGetAttrVal(c, reply.get(), syntax, value));
                values << value;
            }
        }
    } while (iteration != NO_MORE_ITERATIONS);
}

QString ObjectClass(const QString& objectName)
{
    TNDSContext ctx;
    QString dn;
    TObjectInfo info;
    const NWDSCCODE code = NWDSReadObjectInfo(ctx.handle(), objectName, dn, info);
    if (code == 0)
        return info.baseClass;
    if (objectName.startsWith(QLatin1String("[Supervisor]")))
        return QStringLiteral("User");
    shell::DialogService::instance().information(objectName
        + QStringLiteral(" - Error reading object info (") + QString::number(code)
        + QLatin1Char(')'));
    return QStringLiteral("Unknown");
}

int ClassKind(const QString& className)
{
    static const struct {
        const char* text;
        int kind;
    } table[] = {
        { "User", 5 },
        { "Alias", 6 },
        { "Tree", 2 },
        { "Profile", 23 },
        { "Locality", 25 },
        { "Printer", 12 },
        { "Queue", 18 },
        { "Volume", 17 },
        { "Computer", 13 },
        { "Country", 24 },
        { "NCP Server", 8 },
        { "AFP Server", 19 },
        { "Print Server", 11 },
        { "Mail Server", 10 },
        { "Directory Map", 21 },
        { "NLS:License Server", 31 },
        { "NLS:Product Container", 32 },
        { "NLS:License Certificate", 15 },
        { "Audit:File Object", 26 },
        { "Organizational Unit", 3 },
        { "Organizational Role", 22 },
        { "Comunication Server", 9 },
        { "Organization", 2 },
        { "LDAP Server", 27 },
        { "LDAP Group", 28 },
        { "SAS:Service", 29 },
        { "SAS:Security", 30 },
        { "NDPS Broker", 255 },
        { "NDSPKI:Key Material", 33 },
        { "Application", 20 },
        { "File", 15 },
        { "Group", 4 },
        { "Server", 8 },
    };
    static_assert(std::size(table) == 33);
    for (const auto& row : table)
        if (className.contains(QLatin1String(row.text)))
            return row.kind;
    return objkind::Unknown;
}

int ObjectKind(ConnHandle handle, uint32_t id)
{
    if (IsNDSConn(handle)) {
        const QString name = NDSObjectName(handle, id, true);
        if (name == QLatin1String("[Public]") || name == kRoot)
            return objkind::RootLike;
        if (name.isEmpty())
            return objkind::Unknown;
        // Full names are read from the root whatever the name context is.
        return ClassKind(ObjectClass(QLatin1Char('.') + name));
    }
    QString name;
    ObjectType type = 0;
    if (getBinderyObjectName(handle, id, name, type) != 0)
        return objkind::Unknown;
    return type == OT_USER ? objkind::User : type == OT_GROUP ? objkind::Group : objkind::Unknown;
}

bool IsShownKind(int kind)
{
    constexpr uint32_t shown = (1u << 1) | (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5) | (1u << 6)
        | (1u << 8) | (1u << 9) | (1u << 10) | (1u << 11) | (1u << 12) | (1u << 13) | (1u << 16)
        | (1u << 18) | (1u << 19) | (1u << 20) | (1u << 22) | (1u << 24);
    return kind >= 0 && kind < 32 && (shown & (1u << kind));
}

QString DisplayName(const QString& name)
{
    QString out = name.toLower();
    const qsizetype at = out.startsWith(QLatin1Char('[')) ? 1 : 0;
    if (at < out.size())
        out[at] = out[at].toUpper();
    return out;
}
