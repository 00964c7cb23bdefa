#pragma once

#include "platform/nwclient/client.h"

#include <QWidget>
#include <functional>

// Where a view finds the server it shows: the main window's current connection reference,
// asked anew for every piece of work.
using TConnRefSource = std::function<nwclient::ConnRef()>;

// A view hosted in the server information page's view panel. Before the page replaces or frees
// it, the page asks CloseQuery (the answer does not stop the replacement).
class TInfoView : public QWidget {
    Q_OBJECT
public:
    explicit TInfoView(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }
    virtual bool CloseQuery() { return true; }
};
