#pragma once

#include "console/monitor/infoview.h"

#include <map>

class QLabel;

// The "Information" view: the server's key facts as captioned values, "?" until read.
class TServInfoForm : public TInfoView {
    Q_OBJECT
public:
    explicit TServInfoForm(TConnRefSource connRef, QWidget* parent = nullptr);

    // Reads the facts of the current server; each value changes only when its call succeeds.
    // "Up Time:" and "Total memory:" are hidden when the cache counters cannot be read (they
    // need a console operator). Nothing changes when no handle can be opened.
    void Fill();

    // By caption ("Name:"): the value shown, and whether its row is visible.
    QString Value(const QString& caption) const;
    bool IsValueShown(const QString& caption) const;

private:
    void setValue(const char* caption, const QString& value);
    void setShown(const char* caption, bool shown);

    struct Row {
        QLabel* caption;
        QLabel* value;
    };
    TConnRefSource m_connRef;
    std::map<QString, Row> m_rows;
};
