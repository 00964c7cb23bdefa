#pragma once

#include <QString>
#include <QStringList>

// What a form-placement store keeps, and where: every store of the console is declared once
// here, so a window only attaches its controls to its store (see formstorage.h) and the
// registry layout can be read off this one file.
struct TFormStoreDef {
    // How much of the window's placement the store keeps besides its values.
    enum class Placement {
        None, // values only
        Full, // window state, position and (for a resizable window) size
        StateOnly, // written like Full, but only the window state is restored
    };

    QString path; // below HKEY_CURRENT_USER, e.g. "Software\Tarvo\DorAzor Ezevive"
    QString section; // a subkey of path holding the values
    // "Component.Property" names, stored as the value Component_Property; a string list (the
    // items of a history combo box) as the subkey "Section.Component_Property".
    QStringList properties;
    Placement placement = Placement::None;

    QString keyPath() const { return path + QLatin1Char('\\') + section; }
    // The registry value name of a stored property: "MainBar.ShowCaptions" ->
    // "MainBar_ShowCaptions".
    static QString valueName(const QString& property);
};

namespace formstores {

inline const QString kRoot = QStringLiteral("Software\\Tarvo");
inline const QString kConsole = QStringLiteral("Software\\Tarvo\\DorAzor Ezevive");
inline const QString kDiskManagerPath
    = QStringLiteral("Software\\Tarvo\\DorAzor Ezevive\\Disk Manager");

// The main window: its bars, page and update speed.
const TFormStoreDef& MainWindow();
// The options dialog.
const TFormStoreDef& Options();
// The tip of the day's counter.
const TFormStoreDef& TipOfTheDay();
const TFormStoreDef& ServerInformation();
// The connections page and the open files page keep their values in the one section
// "OpenFilesPage", each page through its own store.
const TFormStoreDef& ConnectionsPage();
const TFormStoreDef& OpenFilesPage();
const TFormStoreDef& Messages();
// The file mask dialog (values only) and the open files filter (with its placement) keep their
// values in the one section "Masks": each window has its own store over it.
const TFormStoreDef& FileMaskDialog();
const TFormStoreDef& OpenFilesFilter();
const TFormStoreDef& NlmList();
const TFormStoreDef& SetsPage();
const TFormStoreDef& DiskManager();
const TFormStoreDef& DeleteDirectoryDialog();
const TFormStoreDef& PurgeDirectoryDialog();
const TFormStoreDef& NdsBrowserOptions();
const TFormStoreDef& TextEditor();
const TFormStoreDef& FileViewer();
const TFormStoreDef& FindTextDialog();
const TFormStoreDef& ReplaceTextDialog();
const TFormStoreDef& ErasedView();
const TFormStoreDef& CopyDialog();
const TFormStoreDef& GotoDialog();
const TFormStoreDef& RenameDialog();
const TFormStoreDef& SearchForm();
const TFormStoreDef& ChangeAttributesDialog();

// Every store above, in the order declared.
QList<const TFormStoreDef*> All();

} // namespace formstores
