#include "netware/objectstree.h"

#include "netware/directoryobjects.h"
#include "netware/nwexception.h"
#include "netware/objecticons.h"
#include "platform/nwclient/binderyops.h"
#include "platform/nwclient/ndsops.h"
#include "platform/nwclient/serverops.h"
#include "platform/shell/dialogservice.h"

#include <QCoreApplication>
#include <QGuiApplication>

using namespace nwclient;

namespace {

const QString kRoot = QStringLiteral("[Root]");

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

class UpdateBracket {
public:
    explicit UpdateBracket(QWidget* w)
        : m_widget(w)
        , m_was(w->updatesEnabled())
    {
        w->setUpdatesEnabled(false);
    }
    ~UpdateBracket() { m_widget->setUpdatesEnabled(m_was); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    QWidget* m_widget;
    bool m_was;
};

// The listing's own failures: "NetWare: <operation> code=<hex>".
void check(const char* operation, NWDSCCODE code)
{
    if (code != 0)
        throw TException(QStringLiteral("NetWare: %1 code=%2")
                             .arg(QLatin1String(operation))
                             .arg(QString::number(static_cast<uint32_t>(code), 16).toUpper()));
}

// A context reading from the root with typeless names taken whole, its name context set to
// the container being listed, as the listing and the subordinate test both need it.
class ListingContext {
public:
    ListingContext() { m_code = NWDSCreateContextHandle(m_handle); }
    ~ListingContext()
    {
        if (m_code == 0)
            NWDSFreeContext(m_handle);
    }
    ListingContext(const ListingContext&) = delete;
    ListingContext& operator=(const ListingContext&) = delete;

    bool created() const { return m_code == 0; }
    NWDSContextHandle handle() const { return m_handle; }

    // Answers the container's name in display form, the way it is listed.
    QString prepare(const QString& container)
    {
        check("NWDSSetContext", NWDSSetContext(m_handle, DCK_NAME_CONTEXT, kRoot));
        const QString name
            = DisplayName(container.startsWith(QLatin1Char('.')) ? container.mid(1) : container);
        uint32_t flags = 0;
        check("NWDSGetContext", NWDSGetContext(m_handle, DCK_FLAGS, flags));
        flags = (flags | DCV_TYPELESS_NAMES) & ~DCV_CANONICALIZE_NAMES;
        check("NWDSSetContext", NWDSSetContext(m_handle, DCK_FLAGS, flags));
        check("NWDSSetContext", NWDSSetContext(m_handle, DCK_NAME_CONTEXT, name));
        return name;
    }

private:
    NWDSContextHandle m_handle = 0;
    NWDSCCODE m_code = 0;
};

class ListingBuffer {
public:
    ListingBuffer() { check("NWDSAllocBuff", NWDSAllocBuf(DEFAULT_MESSAGE_LEN, m_buffer)); }
    ~ListingBuffer() { NWDSFreeBuf(m_buffer); }
    ListingBuffer(const ListingBuffer&) = delete;
    ListingBuffer& operator=(const ListingBuffer&) = delete;
    pBuf_T get() const { return m_buffer; }

private:
    pBuf_T m_buffer = nullptr;
};

} // namespace

TNWObjectsTree::TNWObjectsTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::itemExpanded, this, &TNWObjectsTree::OnExpanded);
}

TNWObjectsTree::~TNWObjectsTree() = default;

int TNWObjectsTree::NodeKind(const QTreeWidgetItem* node)
{
    return node ? node->data(0, Qt::UserRole).toInt() : 0;
}

void TNWObjectsTree::SetServer(nwclient::ConnRef ref)
{
    m_conn.close();
    WaitCursor wait;
    m_ref = ref;
    m_isNDS = false;
    clear();
    if (m_conn.open(ref) != nwproto::cc::Success)
        return;
    m_isNDS = IsNDSConn(m_conn.handle());
    Reload();
}

void TNWObjectsTree::SetShowAll(bool on)
{
    m_showAll = on;
    if (m_conn.isOpen())
        Reload();
}

void TNWObjectsTree::Reload()
{
    if (NDSView())
        LoadNDS();
    else
        LoadBindery();
}

QTreeWidgetItem* TNWObjectsTree::AddNode(QTreeWidgetItem* parent, const QString& text, int kind)
{
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, text);
    node->setData(0, Qt::UserRole, kind);
    node->setIcon(0, ObjectKindIcon(kind));
    return node;
}

void TNWObjectsTree::LoadBindery()
{
    UpdateBracket bracket(this);
    clear();
    try {
        nwproto::ServerInfo info;
        if (getFileServerInformation(m_conn.handle(), info) != nwproto::cc::Success)
            return;
        const struct {
            ObjectType type;
            int kind;
        } passes[] = { { OT_USER, objkind::User }, { OT_GROUP, objkind::Group } };
        for (const auto& pass : passes) {
            uint32_t last = kScanStart;
            TBinderyObject o;
            for (;;) {
                if (pass.type == OT_GROUP)
                    QCoreApplication::processEvents();
                if (scanBinderyObject(m_conn.handle(), QStringLiteral("*"), pass.type, last, o)
                    != nwproto::cc::Success)
                    break;
                AddNode(nullptr, o.name, pass.kind);
            }
        }
        sortItems(0, Qt::AscendingOrder);
    } catch (const std::exception&) {
        // The bindery view shows what it could read.
    }
}

void TNWObjectsTree::LoadNDS()
{
    WaitCursor wait;
    clear();
    if (m_showOnlyContainers) {
        ListChildren(kRoot, AddNode(nullptr, kRoot, objkind::RootLike));
        return;
    }
    AddNode(nullptr, kRoot, objkind::RootLike);
    AddNode(nullptr, QStringLiteral("[Public]"), objkind::RootLike);
    if (m_addSupervisor)
        AddNode(nullptr, QStringLiteral("[Supervisor]"), objkind::User);
    ListChildren(kRoot, nullptr);
}

void TNWObjectsTree::ListChildren(const QString& container, QTreeWidgetItem* parent)
{
    ListingContext ctx;
    if (!ctx.created()) {
        shell::DialogService::instance().error(QStringLiteral("Unable to create NDS context"));
        return;
    }
    const QString name = ctx.prepare(container);
    ListingBuffer buffer;
    UpdateBracket bracket(this);
    int32_t iteration = NO_MORE_ITERATIONS;
    do {
        check("NWDSLIst", NWDSList(ctx.handle(), name, iteration, buffer.get()));
        uint32_t count = 0;
        check("NWDSgetObjectCount", NWDSGetObjectCount(ctx.handle(), buffer.get(), count));
        for (uint32_t k = 0; k < count; ++k) {
            QString objectName;
            uint32_t attrs = 0;
            TObjectInfo info;
            check("NWDSGetObjName",
                NWDSGetObjectName(ctx.handle(), buffer.get(), objectName, attrs, info));
            int kind = objkind::Unknown;
            if (m_showOnlyContainers) {
                // "Organizational Role" contains "Organization" but holds nothing.
                if (!(info.objectFlags & nwproto::dsentry::Container))
                    continue;
                if (info.baseClass.contains(QLatin1String("Organizational Unit")))
                    kind = objkind::OrganizationalUnit;
                else if (info.baseClass.contains(QLatin1String("Organization"))
                    || info.baseClass.contains(QLatin1String("Tree")))
                    kind = objkind::Organization;
                else
                    continue;
            } else {
                kind = ClassKind(info.baseClass);
                if (!m_showAll && !IsShownKind(kind))
                    continue;
            }
            QTreeWidgetItem* node = AddNode(parent, DisplayName(objectName), kind);
            if ((info.objectFlags & nwproto::dsentry::Container) && HasSubordinates(FullName(node)))
                new QTreeWidgetItem(node, QStringList(QLatin1String(kPlaceholder)));
        }
    } while (iteration != NO_MORE_ITERATIONS);
    if (parent)
        parent->sortChildren(0, Qt::AscendingOrder);
}

bool TNWObjectsTree::HasSubordinates(const QString& fullName)
{
    ListingContext ctx;
    if (!ctx.created())
        return false;
    const QString name = ctx.prepare(fullName);
    ListingBuffer buffer;
    int32_t iteration = NO_MORE_ITERATIONS;
    if (NWDSList(ctx.handle(), name, iteration, buffer.get()) != 0)
        return false;
    uint32_t count = 0;
    return NWDSGetObjectCount(ctx.handle(), buffer.get(), count) == 0 && count > 0;
}

QString TNWObjectsTree::FullName(QTreeWidgetItem* node) const
{
    if (!node)
        return QString();
    QTreeWidgetItem* parent = node->parent();
    if (!NDSView())
        return parent ? node->text(0) : QString();
    if (parent)
        return QLatin1Char('.') + node->text(0) + FullName(parent);
    if (NodeKind(node) == objkind::RootLike)
        return QString();
    return QLatin1Char('.') + node->text(0);
}

void TNWObjectsTree::ExpandNode(QTreeWidgetItem* node)
{
    if (!node || node->childCount() == 0 || node->child(0)->text(0) != QLatin1String(kPlaceholder))
        return;
    WaitCursor wait;
    delete node->takeChild(0);
    ListChildren(FullName(node), node);
}

void TNWObjectsTree::OnExpanded(QTreeWidgetItem* node)
{
    ExpandNode(node);
}

void TNWObjectsTree::Locate(const QString& name)
{
    const auto show = [this](QTreeWidgetItem* node) {
        setCurrentItem(node);
        scrollToItem(node);
    };
    if (!NDSView()) {
        for (int k = 0; k < topLevelItemCount(); ++k) {
            if (topLevelItem(k)->text(0).compare(name, Qt::CaseInsensitive) == 0) {
                show(topLevelItem(k));
                return;
            }
        }
        return;
    }
    QStringList parts = (name.startsWith(QLatin1Char('.')) ? name.mid(1) : name).split('.');
    QTreeWidgetItem* parent = nullptr;
    while (!parts.isEmpty()) {
        const QString part = parts.takeLast();
        const int count = parent ? parent->childCount() : topLevelItemCount();
        QTreeWidgetItem* match = nullptr;
        for (int k = 0; k < count && !match; ++k) {
            QTreeWidgetItem* node = parent ? parent->child(k) : topLevelItem(k);
            if (node->text(0).compare(part, Qt::CaseInsensitive) == 0)
                match = node;
        }
        if (!match)
            return;
        if (parts.isEmpty() || match->childCount() == 0) {
            show(match);
            return;
        }
        ExpandNode(match);
        match->setExpanded(true);
        parent = match;
    }
}
