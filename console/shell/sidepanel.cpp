#include "console/shell/sidepanel.h"

#include <QLabel>
#include <QVBoxLayout>

TUnavailableSidePanel::TUnavailableSidePanel(QWidget* parent)
    : TSidePanel(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("Utilization charts are not available in this version."), this);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    layout->addWidget(label);
    setMinimumWidth(160);
}
