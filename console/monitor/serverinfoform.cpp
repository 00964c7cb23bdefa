#include "console/monitor/serverinfoform.h"

#include "console/monitor/fileeditform.h"
#include "console/monitor/fileviewform.h"
#include "console/monitor/servinfoform.h"
#include "console/monitor/statform.h"
#include "console/shell/formstorage.h"
#include "console/shell/formstores.h"
#include "console/shell/mainform.h"
#include "netware/connrefbox.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QStackedLayout>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kNodeRole = Qt::UserRole;
const QString kSeparator = QStringLiteral("\\");

QIcon iconOf(TNavIcon kind)
{
    QStyle* style = QApplication::style();
    switch (kind) {
    case TNavIcon::Category:
        return style->standardIcon(QStyle::SP_DirClosedIcon);
    case TNavIcon::Information:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case TNavIcon::File:
        return style->standardIcon(QStyle::SP_FileIcon);
    case TNavIcon::Group:
        return style->standardIcon(QStyle::SP_DirOpenIcon);
    case TNavIcon::Statistic: {
        // A statistic shows another icon while it is selected.
        QIcon icon;
        icon.addPixmap(
            style->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(16), QIcon::Normal);
        icon.addPixmap(
            style->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(16), QIcon::Selected);
        return icon;
    }
    }
    return {};
}

void addNodes(QTreeWidgetItem* parent, QTreeWidget* tree, const std::vector<TNavNode>& nodes)
{
    for (const TNavNode& n : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, n.text);
        item->setIcon(0, iconOf(n.icon));
        item->setToolTip(0, n.text);
        addNodes(item, tree, n.children);
    }
}

} // namespace

TServerInfoForm::TServerInfoForm(const Server& server, QWidget* parent)
    : TPage(parent)
    , m_server(server)
    , m_header(new QLabel(QStringLiteral(" Server information"), this))
    , m_splitter(new QSplitter(Qt::Horizontal, this))
    , m_tree(new QTreeWidget(m_splitter))
    , m_viewHeader(nullptr)
    , m_viewPanel(new QWidget(m_splitter))
    , m_viewStack(nullptr)
    , m_children(new QListWidget)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header->setAutoFillBackground(true);
    m_header->setBackgroundRole(QPalette::Mid);
    m_header->setMinimumHeight(20);
    layout->addWidget(m_header);
    layout->addWidget(m_splitter, 1);

    m_tree->setObjectName(QStringLiteral("NavigationTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setMouseTracking(true); // hot tracking
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->installEventFilter(this);

    auto* panelLayout = new QVBoxLayout(m_viewPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    m_viewHeader = new QLabel(QStringLiteral(" ..."), m_viewPanel);
    m_viewHeader->setObjectName(QStringLiteral("ViewHeader"));
    m_viewHeader->setMinimumHeight(22);
    m_viewHeader->setStyleSheet(QStringLiteral(
        "QLabel { color: white; font-weight: bold; background: qlineargradient(x1:0, y1:0, "
        "x2:1, y2:0, stop:0 #000080, stop:1 #1084d0); }"));
    panelLayout->addWidget(m_viewHeader);
    auto* stackHost = new QWidget(m_viewPanel);
    m_viewStack = new QStackedLayout(stackHost);
    panelLayout->addWidget(stackHost, 1);
    m_children->setParent(stackHost);
    m_children->setObjectName(QStringLiteral("ChildList"));
    m_children->setViewMode(QListView::ListMode);
    m_children->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_viewStack->addWidget(m_children);
    connect(m_children, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (auto* node = static_cast<QTreeWidgetItem*>(item->data(kNodeRole).value<void*>()))
            m_tree->setCurrentItem(node);
    });
    connect(m_children, &QListWidget::itemActivated, m_children, &QListWidget::itemClicked);

    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_viewPanel);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({ 200, 600 });

    m_storage = std::make_unique<TFormStorage>(formstores::ServerInformation(), this);
    m_storage->setActive(false); // read at the first show, written when the page goes
    m_storage->bind(
        QStringLiteral("NavigationTree.Width"), [this] { return QVariant(treeWidth()); },
        [this](const QVariant& v) {
            bool ok = false;
            const int width = v.toInt(&ok);
            if (ok && width > 0)
                setTreeWidth(width);
        });

    buildTree();
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* node) { treeChange(node); });
    if (m_tree->topLevelItemCount() > 0) {
        const QSignalBlocker block(m_tree);
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
    }
}

TServerInfoForm* TServerInfoForm::Create(TMainForm* main)
{
    Server s;
    s.connRef = [main] { return main->CurrentConnRef(); };
    s.name = [main] { return main->ServerBox()->currentText(); };
    s.netWare4 = main->IsNetWare4();
    s.consoleOperator = main->IsConsoleOperator();
    return new TServerInfoForm(s);
}

TServerInfoForm::~TServerInfoForm()
{
    m_destroying = true;
    if (!m_firstShow)
        m_storage->save();
    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    m_tree->setUpdatesEnabled(true);
    delete m_hosted.data();
}

void TServerInfoForm::buildTree()
{
    addNodes(nullptr, m_tree, NavigationNodes(m_server.netWare4, m_server.consoleOperator));
}

QTreeWidgetItem* TServerInfoForm::Node(const QString& path) const
{
    const QStringList parts = path.split(kSeparator);
    QTreeWidgetItem* found = nullptr;
    for (int i = 0; i < m_tree->topLevelItemCount() && !found; ++i)
        if (m_tree->topLevelItem(i)->text(0) == parts[0])
            found = m_tree->topLevelItem(i);
    for (qsizetype p = 1; p < parts.size() && found; ++p) {
        QTreeWidgetItem* parent = found;
        found = nullptr;
        for (int i = 0; i < parent->childCount() && !found; ++i)
            if (parent->child(i)->text(0) == parts[p])
                found = parent->child(i);
    }
    return found;
}

QString TServerInfoForm::PathOf(const QTreeWidgetItem* node)
{
    QStringList parts;
    for (; node; node = node->parent())
        parts.prepend(node->text(0));
    return parts.join(kSeparator);
}

QString TServerInfoForm::HeaderText() const
{
    return m_viewHeader->text();
}

bool TServerInfoForm::IsChildListShown() const
{
    return m_viewStack->currentWidget() == m_children;
}

void TServerInfoForm::treeChange(QTreeWidgetItem* node)
{
    if (m_destroying || m_inTreeChange || m_timerMode || !node)
        return;
    m_inTreeChange = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset { m_inTreeChange };
    if (node->childCount() > 0) {
        m_children->clear();
        for (int i = 0; i < node->childCount(); ++i) {
            QTreeWidgetItem* child = node->child(i);
            auto* item = new QListWidgetItem(child->icon(0), child->text(0), m_children);
            item->setData(kNodeRole, QVariant::fromValue<void*>(child));
        }
        hostView(nullptr);
        m_viewStack->setCurrentWidget(m_children);
        m_viewHeader->setText(node->text(0));
        return;
    }
    ShowPath(PathOf(node));
}

void TServerInfoForm::ShowPath(const QString& path)
{
    const QStringList parts = path.isEmpty() ? QStringList() : path.split(kSeparator);
    m_category = parts.isEmpty() ? QString() : parts.first();
    if (!parts.isEmpty())
        m_viewHeader->setText(parts.last());

    if (m_category == QLatin1String("Statistics")) {
        if (parts.size() > 1) {
            TStatForm* stats = hosted<TStatForm>();
            if (!stats) {
                stats = new TStatForm(m_server.connRef);
                hostView(stats);
            }
            stats->ShowStatistic(path);
        }
        return; // a statistics view fills itself
    } else if (m_category == QLatin1String("Configuration files")) {
        if (m_timerMode)
            return;
        if (!hosted<TFileEditForm>())
            hostView(new TFileEditForm);
    } else if (m_category == QLatin1String("System logs")) {
        if (m_timerMode)
            return;
        if (!hosted<TFileViewForm>())
            hostView(new TFileViewForm);
    } else if (m_category == QLatin1String("Information")) {
        if (!hosted<TServInfoForm>())
            hostView(new TServInfoForm(m_server.connRef));
    } else if (m_category.isEmpty()) {
        hostView(nullptr);
        m_viewStack->setCurrentWidget(m_children);
        return;
    }
    loadContent(parts.last());
}

void TServerInfoForm::loadContent(const QString& leaf)
{
    if (const TServerFile* file = ServerFileOf(leaf)) {
        const QString server = m_server.name ? m_server.name() : QString();
        const QString path = ServerFilePath(server, *file);
        if (auto* editor = hosted<TFileEditForm>())
            editor->Open(path);
        else if (auto* viewer = hosted<TFileViewForm>())
            viewer->Open(path);
    } else if (auto* info = hosted<TServInfoForm>()) {
        info->Fill();
    }
}

void TServerInfoForm::hostView(TInfoView* view)
{
    if (view == m_hosted)
        return;
    if (TInfoView* old = m_hosted.data()) {
        old->CloseQuery();
        m_viewStack->removeWidget(old);
        delete old;
    }
    m_hosted = view;
    if (!view)
        return;
    m_children->hide();
    m_children->clear();
    m_viewStack->addWidget(view);
    m_viewStack->setCurrentWidget(view);
    view->show();
}

void TServerInfoForm::UpdatePage()
{
    PeriodicUpdate(false);
}

void TServerInfoForm::PeriodicUpdate(bool)
{
    m_timerMode = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset { m_timerMode };
    treeChange(m_tree->currentItem());
}

void TServerInfoForm::RefreshPage()
{
    PeriodicUpdate(false);
    QTreeWidgetItem* node = m_tree->currentItem();
    if (!node || node->childCount() > 0 || m_category == QLatin1String("Statistics"))
        return;
    loadContent(node->text(0));
}

bool TServerInfoForm::CloseQuery()
{
    ShowPath(QString());
    hide();
    return true;
}

void TServerInfoForm::showEvent(QShowEvent* event)
{
    TPage::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
        m_storage->readValues();
    }
    if (QTreeWidgetItem* node = m_tree->currentItem()) {
        treeChange(node);
        node->setExpanded(true);
    }
}

bool TServerInfoForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QTreeWidgetItem* node = m_tree->currentItem();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (node && node->childCount() > 0) {
                node->setExpanded(true);
                m_tree->setCurrentItem(node->child(0));
            }
            return true;
        }
        if (key == Qt::Key_Escape) {
            if (node && node->parent()) {
                node->parent()->setExpanded(false);
                m_tree->setCurrentItem(node->parent());
            }
            return true;
        }
    }
    return TPage::eventFilter(watched, event);
}

int TServerInfoForm::treeWidth() const
{
    return m_splitter->sizes().value(0);
}

void TServerInfoForm::setTreeWidth(int width)
{
    const QList<int> sizes = m_splitter->sizes();
    // Before the first layout the splitter may have no size yet: the view keeps a share then.
    const int total = qMax(sizes.value(0) + sizes.value(1), width + 400);
    m_splitter->setSizes({ width, total - width });
}
