#pragma once

#include <QPixmap>
#include <QString>

// The console shell's pictures and texts kept as resources (shell.qrc).
namespace shellresources {

QPixmap Logo(); // "LOGO"
QPixmap Bulb();
QString LegalNotice();
// The rich-text document "TIP_<number>"; empty when there is none.
QString TipDocument(int number);

} // namespace shellresources
