#pragma once

#include "console/monitor/infoview.h"
#include "console/monitor/navigation.h"
#include "console/shell/page.h"

#include <QPointer>
#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QSplitter;
class QStackedLayout;
class QTreeWidget;
class QTreeWidgetItem;
class TFileEditForm;
class TFileViewForm;
class TFormStorage;
class TMainForm;
class TServInfoForm;
class TStatForm;

// Page 0: a small explorer over the selected server. The navigation tree lists what can be
// shown (built for the server's version and the user's rights when the page is created; the
// main window creates the page anew for every server) and the view panel hosts the matching
// view, or lists a node's children. Interface thread only.
class TServerInfoForm : public TPage {
    Q_OBJECT
public:
    struct Server {
        TConnRefSource connRef;
        std::function<QString()> name; // the server's name as the selector shows it
        bool netWare4 = false;
        bool consoleOperator = false;
    };

    explicit TServerInfoForm(const Server& server, QWidget* parent = nullptr);
    // The page for the main window's selected server.
    static TServerInfoForm* Create(TMainForm* main);
    ~TServerInfoForm() override;

    // The path of a leaf ("Statistics\Memory\Cache"; empty: host nothing, show the child list).
    void ShowPath(const QString& path);

    void UpdatePage() override;
    void PeriodicUpdate(bool fromTimer) override;
    void RefreshPage() override;
    bool HasCloseQuery() const override { return true; }
    bool CloseQuery() override;

    QTreeWidget* NavigationTree() const { return m_tree; }
    QListWidget* ChildList() const { return m_children; }
    // The node with this path, or nullptr.
    QTreeWidgetItem* Node(const QString& path) const;
    static QString PathOf(const QTreeWidgetItem* node);
    TInfoView* HostedView() const { return m_hosted; }
    const QString& Category() const { return m_category; }
    QString HeaderText() const;
    bool IsChildListShown() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTree();
    void treeChange(QTreeWidgetItem* node);
    void hostView(TInfoView* view);
    void loadContent(const QString& leaf);
    template <typename T> T* hosted() const { return qobject_cast<T*>(m_hosted.data()); }
    int treeWidth() const;
    void setTreeWidth(int width);

    Server m_server;
    QLabel* m_header;
    QSplitter* m_splitter;
    QTreeWidget* m_tree;
    QLabel* m_viewHeader;
    QWidget* m_viewPanel;
    QStackedLayout* m_viewStack;
    QListWidget* m_children;
    QPointer<TInfoView> m_hosted;
    QString m_category;
    bool m_timerMode = false;
    bool m_inTreeChange = false;
    bool m_destroying = false;
    bool m_firstShow = true;
    std::unique_ptr<TFormStorage> m_storage;
};
