#include "console/shell/page.h"

#include <QLabel>
#include <QVBoxLayout>

TUnavailablePage::TUnavailablePage(const QString& title, QWidget* parent)
    : TPage(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* label
        = new QLabel(tr("%1 is not available in this version of the console.").arg(title), this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    layout->addWidget(label);
}
