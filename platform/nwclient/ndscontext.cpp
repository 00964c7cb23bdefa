#include "platform/nwclient/ndscontext.h"

#include "platform/nwclient/ndsnames.h"

#include <map>
#include <mutex>

namespace nwclient {

using namespace nwproto;

namespace {

struct Contexts {
    std::mutex mutex;
    std::map<NWDSContextHandle, nds::Context> table;
    NWDSContextHandle next = 1;
    QString preferredTree;
    QString defaultNameContext = QStringLiteral("[Root]");
};

Contexts& contexts()
{
    static Contexts c;
    return c;
}

constexpr uint32_t kDefaultFlags
    = DCV_DEREF_ALIASES | DCV_XLATE_STRINGS | DCV_TYPELESS_NAMES | DCV_CANONICALIZE_NAMES;

} // namespace

namespace nds {
std::optional<Context> context(NWDSContextHandle handle)
{
    std::lock_guard<std::mutex> guard(contexts().mutex);
    const auto it = contexts().table.find(handle);
    if (it == contexts().table.end())
        return std::nullopt;
    return it->second;
}
} // namespace nds

void NdsBuffer::clearReply()
{
    objects.clear();
    attributes.clear();
    nextObject = 0;
    attribute = -1;
    nextValue = 0;
}

void setPreferredTree(const QString& tree)
{
    std::lock_guard<std::mutex> guard(contexts().mutex);
    contexts().preferredTree = tree;
}

QString preferredTree()
{
    std::lock_guard<std::mutex> guard(contexts().mutex);
    return contexts().preferredTree;
}

void setDefaultNameContext(const QString& context)
{
    std::lock_guard<std::mutex> guard(contexts().mutex);
    contexts().defaultNameContext = context.isEmpty() ? QStringLiteral("[Root]") : context;
}

QString defaultNameContext()
{
    std::lock_guard<std::mutex> guard(contexts().mutex);
    return contexts().defaultNameContext;
}

NWDSCCODE NWDSCreateContextHandle(NWDSContextHandle& context)
{
    if (!isInitialised())
        return ndserr::ContextCreation;
    std::lock_guard<std::mutex> guard(contexts().mutex);
    Contexts& c = contexts();
    context = c.next++;
    c.table.emplace(context, nds::Context { kDefaultFlags, c.defaultNameContext, c.preferredTree });
    return ndserr::Success;
}

NWDSCCODE NWDSFreeContext(NWDSContextHandle context)
{
    std::lock_guard<std::mutex> guard(contexts().mutex);
    return contexts().table.erase(context) ? ndserr::Success : ndserr::BadContext;
}

NWDSCCODE NWDSGetContext(NWDSContextHandle context, int key, uint32_t& value)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    if (key != DCK_FLAGS)
        return ndserr::BadKey;
    value = c->flags;
    return ndserr::Success;
}

NWDSCCODE NWDSGetContext(NWDSContextHandle context, int key, QString& value)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    if (key == DCK_NAME_CONTEXT)
        value = c->nameContext;
    else if (key == DCK_TREE_NAME)
        value = c->tree;
    else
        return ndserr::BadKey;
    return ndserr::Success;
}

NWDSCCODE NWDSSetContext(NWDSContextHandle context, int key, uint32_t value)
{
    std::lock_guard<std::mutex> guard(contexts().mutex);
    const auto it = contexts().table.find(context);
    if (it == contexts().table.end())
        return ndserr::BadContext;
    if (key != DCK_FLAGS)
        return ndserr::BadKey;
    it->second.flags = value;
    return ndserr::Success;
}

NWDSCCODE NWDSSetContext(NWDSContextHandle context, int key, const QString& value)
{
    std::lock_guard<std::mutex> guard(contexts().mutex);
    const auto it = contexts().table.find(context);
    if (it == contexts().table.end())
        return ndserr::BadContext;
    if (key == DCK_NAME_CONTEXT) {
        if (value.endsWith(QLatin1Char('.')) && !ndsnames::isRoot(value))
            return ndserr::InvalidObjectName;
        it->second.nameContext = value.isEmpty() ? QStringLiteral("[Root]") : value;
    } else if (key == DCK_TREE_NAME) {
        it->second.tree = value;
    } else {
        return ndserr::BadKey;
    }
    return ndserr::Success;
}

NWDSCCODE NWDSAllocBuf(size_t size, pBuf_T& buffer)
{
    if (size == 0)
        return ndserr::BufferZeroLength;
    buffer = new NdsBuffer;
    buffer->size = size;
    return ndserr::Success;
}

NWDSCCODE NWDSFreeBuf(pBuf_T buffer)
{
    if (!buffer)
        return ndserr::NullPointer;
    delete buffer;
    return ndserr::Success;
}

NWDSCCODE NWDSInitBuf(NWDSContextHandle context, uint32_t operation, pBuf_T buffer)
{
    if (!nds::context(context))
        return ndserr::BadContext;
    if (!buffer)
        return ndserr::NullPointer;
    if (operation != DSV_READ)
        return ndserr::BadVerb;
    buffer->operation = operation;
    buffer->attrNames.clear();
    buffer->requestBytes = 4;
    buffer->clearReply();
    return ndserr::Success;
}

NWDSCCODE NWDSPutAttrName(NWDSContextHandle context, pBuf_T buffer, const QString& name)
{
    if (!nds::context(context))
        return ndserr::BadContext;
    if (!buffer)
        return ndserr::NullPointer;
    if (buffer->operation != DSV_READ)
        return ndserr::BadVerb;
    const qsizetype bytes = 4 + name.toUtf8().size();
    if (static_cast<size_t>(buffer->requestBytes + bytes) > buffer->size)
        return ndserr::BufferFull;
    buffer->requestBytes += bytes;
    buffer->attrNames << name;
    return ndserr::Success;
}

NWDSCCODE NWDSGetAttrCount(NWDSContextHandle context, pBuf_T buffer, uint32_t& count)
{
    if (!nds::context(context))
        return ndserr::BadContext;
    if (!buffer)
        return ndserr::NullPointer;
    count = static_cast<uint32_t>(buffer->attributes.size());
    buffer->attribute = -1;
    buffer->nextValue = 0;
    return ndserr::Success;
}

NWDSCCODE NWDSGetAttrName(NWDSContextHandle context, pBuf_T buffer, QString& name,
    uint32_t& valueCount, uint32_t& syntaxId)
{
    if (!nds::context(context))
        return ndserr::BadContext;
    if (!buffer)
        return ndserr::NullPointer;
    if (buffer->attribute + 1 >= static_cast<int>(buffer->attributes.size()))
        return ndserr::BufferEmpty;
    const nds::ReadAttribute& a = buffer->attributes[static_cast<size_t>(++buffer->attribute)];
    buffer->nextValue = 0;
    name = a.name;
    valueCount = static_cast<uint32_t>(a.values.size());
    syntaxId = a.syntax;
    return ndserr::Success;
}

NWDSCCODE NWDSGetAttrVal(
    NWDSContextHandle context, pBuf_T buffer, uint32_t syntaxId, QString& value)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    if (!buffer)
        return ndserr::NullPointer;
    if (buffer->attribute < 0)
        return ndserr::BufferEmpty;
    const nds::ReadAttribute& a = buffer->attributes[static_cast<size_t>(buffer->attribute)];
    if (buffer->nextValue >= a.values.size())
        return ndserr::BufferEmpty;
    if (syntaxId != a.syntax)
        return ndserr::BadSyntax;
    value = a.values[buffer->nextValue++];
    if (a.syntax == dssyntax::DistinguishedName)
        value = ndsnames::output(value, c->flags);
    return ndserr::Success;
}

NWDSCCODE NWDSGetObjectCount(NWDSContextHandle context, pBuf_T buffer, uint32_t& count)
{
    if (!nds::context(context))
        return ndserr::BadContext;
    if (!buffer)
        return ndserr::NullPointer;
    count = static_cast<uint32_t>(buffer->objects.size());
    return ndserr::Success;
}

NWDSCCODE NWDSGetObjectName(NWDSContextHandle context, pBuf_T buffer, QString& objectName,
    uint32_t& attrCount, TObjectInfo& info)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    if (!buffer)
        return ndserr::NullPointer;
    if (buffer->nextObject >= buffer->objects.size())
        return ndserr::BufferEmpty;
    const nds::ListedObject& o = buffer->objects[buffer->nextObject++];
    objectName = ndsnames::output(o.name, c->flags);
    attrCount = 0;
    info = o.info;
    return ndserr::Success;
}

NWDSCCODE NWDSAbbreviateName(NWDSContextHandle context, const QString& name, QString& abbreviated)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    abbreviated = ndsnames::abbreviate(ndsnames::output(name, c->flags), c->flags, c->nameContext);
    return ndserr::Success;
}

NWDSCCODE NWDSCanonicalizeName(NWDSContextHandle context, const QString& name, QString& canonical)
{
    const auto c = nds::context(context);
    if (!c)
        return ndserr::BadContext;
    return ndsnames::absolute(name, c->flags, c->nameContext, canonical);
}

} // namespace nwclient
