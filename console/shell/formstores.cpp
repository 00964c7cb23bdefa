#include "console/shell/formstores.h"

QString TFormStoreDef::valueName(const QString& property)
{
    QString name = property;
    return name.replace(QLatin1Char('.'), QLatin1Char('_'));
}

namespace formstores {

namespace {

using P = TFormStoreDef::Placement;

// The stores as the registry holds them: these names are read by earlier installations and by
// settings imported from other workstations, so they never change.
const TFormStoreDef kMainWindow { kRoot, QStringLiteral("DorAzor Ezevive"),
    { QStringLiteral("MainBar.ShowCaptions"), QStringLiteral("NavigationBar.Visible"),
        QStringLiteral("ServerInfoPanel.Visible"), QStringLiteral("PagePanel.Tag"),
        QStringLiteral("mm_UpdateSpeed.Tag") },
    P::Full };
const TFormStoreDef kOptions { kConsole, QStringLiteral("Options"),
    { QStringLiteral("ShowTips.Checked"), QStringLiteral("ShowFileIcons.Checked"),
        QStringLiteral("HighlightReadOnly.Checked"), QStringLiteral("CanonicBox.Checked"),
        QStringLiteral("UpdateChartTime.Value"), QStringLiteral("HighlightCompressed.Checked"),
        QStringLiteral("SortByName.Checked"), QStringLiteral("ShowLicencedConns.Checked"),
        QStringLiteral("ExternalEditor.Text"), QStringLiteral("ExternalViewer.Text"),
        QStringLiteral("CB_UseExternalEditor.Checked"),
        QStringLiteral("CB_UseExternalViewer.Checked"), QStringLiteral("ExternalEditor.FileName"),
        QStringLiteral("ExternalViewer.FileName") },
    P::Full };
const TFormStoreDef kTipOfTheDay { kConsole, QStringLiteral("MainForm"),
    { QStringLiteral("CurrTip.Value") }, P::None };
const TFormStoreDef kServerInformation { kConsole, QStringLiteral("Server Information"),
    { QStringLiteral("NavigationTree.Width") }, P::None };
const TFormStoreDef kConnectionsPage { kConsole, QStringLiteral("OpenFilesPage"),
    { QStringLiteral("sbt_GroupConnections.Down"), QStringLiteral("ConnectionPanel.Height"),
        QStringLiteral("mnu_ActivityChart.Checked") },
    P::None };
const TFormStoreDef kOpenFilesPage { kConsole, QStringLiteral("OpenFilesPage"),
    { QStringLiteral("sbt_ShowAllFiles.Down") }, P::None };
const TFormStoreDef kMessages { kConsole, QStringLiteral("Messages"),
    { QStringLiteral("MsgText.Items") }, P::Full };
const TFormStoreDef kFileMaskDialog { kConsole, QStringLiteral("Masks"),
    { QStringLiteral("FileMask.Text"), QStringLiteral("FileMask.Items") }, P::None };
const TFormStoreDef kOpenFilesFilter { kConsole, QStringLiteral("Masks"),
    { QStringLiteral("Mask.Text"), QStringLiteral("Mask.Items") }, P::Full };
const TFormStoreDef kNlmList { kConsole, QStringLiteral("NLM List"),
    { QStringLiteral("CB_ShowMemRequirements.Checked"), QStringLiteral("mm_ShowPatches.Checked") },
    P::None };
const TFormStoreDef kSetsPage { kConsole, QStringLiteral("SetsPage"),
    { QStringLiteral("SetInfoPanel.Visible"), QStringLiteral("SetInfoSplitter.Visible"),
        QStringLiteral("ParamHeader.Tag") },
    P::StateOnly };
const TFormStoreDef kDiskManager { kConsole, QStringLiteral("Disk Manager"),
    { QStringLiteral("DiskView.Width"), QStringLiteral("InfoPages.Height"),
        QStringLiteral("InfoPages.Visible"), QStringLiteral("InfoSplitter.Visible"),
        QStringLiteral("FileView.Tag") },
    P::None };
const TFormStoreDef kDeleteDirectoryDialog { kConsole, QStringLiteral("Delete Directory Dialog"),
    { QStringLiteral("spb_Advanced.Down") }, P::Full };
const TFormStoreDef kPurgeDirectoryDialog { kConsole, QStringLiteral("Purge Directory Dialog"),
    { QStringLiteral("CB_IncludeSubdirectories.Checked"), QStringLiteral("PurgeMask.Text"),
        QStringLiteral("PurgeMask.Items") },
    P::Full };
const TFormStoreDef kNdsBrowserOptions { kConsole, QStringLiteral("NDS Browser Options"),
    { QStringLiteral("CB_ShowAllNDSObjects.Checked") }, P::Full };
const TFormStoreDef kTextEditor { kConsole, QStringLiteral("Text Editor"),
    { QStringLiteral("Editor1.FixedFont"), QStringLiteral("Editor1.InsertMode") }, P::None };
const TFormStoreDef kFileViewer { kConsole, QStringLiteral("File Viewer"),
    { QStringLiteral("pm_ShowToolbar.Checked") }, P::None };
const TFormStoreDef kFindTextDialog { kConsole, QStringLiteral("Find Text Dialog"),
    { QStringLiteral("CB_CaseSensitive.Checked"), QStringLiteral("CB_GlobalSearch.Checked"),
        QStringLiteral("RB_Forward.Checked"), QStringLiteral("EdFindText.Text"),
        QStringLiteral("EdFindText.Items") },
    P::Full };
// Named by the replace dialog's own description rather than the settings table.
const TFormStoreDef kReplaceTextDialog { kConsole, QStringLiteral("Replace Text Dialog"),
    { QStringLiteral("CB_CaseSensitive.Checked"), QStringLiteral("CB_GlobalSearch.Checked"),
        QStringLiteral("RB_Forward.Checked"), QStringLiteral("EdFindText.Text"),
        QStringLiteral("EdFindText.Items"), QStringLiteral("EdReplaceText.Items"),
        QStringLiteral("EdReplaceText.Text"), QStringLiteral("CB_WholeWords.Checked"),
        QStringLiteral("CB_PromptOnReplace.Checked") },
    P::Full };
const TFormStoreDef kErasedView { kDiskManagerPath, QStringLiteral("Erased View"),
    { QStringLiteral("ErasedView.Tag") }, P::None };
const TFormStoreDef kCopyDialog { kDiskManagerPath, QStringLiteral("Copy Dialog"),
    { QStringLiteral("EdDestPath.Text"), QStringLiteral("EdDestPath.Items"),
        QStringLiteral("EdCopyMask.Items") },
    P::None };
const TFormStoreDef kGotoDialog { kDiskManagerPath, QStringLiteral("Goto Dialog"),
    { QStringLiteral("EdPath.Text"), QStringLiteral("EdPath.Items") }, P::None };
const TFormStoreDef kRenameDialog { kDiskManagerPath, QStringLiteral("Rename Dialog"), {},
    P::None };
const TFormStoreDef kSearchForm { kDiskManagerPath, QStringLiteral("Search Form"),
    { QStringLiteral("EdMask.Text"), QStringLiteral("EdMask.Items"), QStringLiteral("FFiles.Tag") },
    P::None };
const TFormStoreDef kChangeAttributesDialog { kDiskManagerPath,
    QStringLiteral("Change Attributes Dialog"),
    { QStringLiteral("EdFileMask.Text"), QStringLiteral("EdFileMask.Items") }, P::None };

} // namespace

const TFormStoreDef& MainWindow()
{
    return kMainWindow;
}
const TFormStoreDef& Options()
{
    return kOptions;
}
const TFormStoreDef& TipOfTheDay()
{
    return kTipOfTheDay;
}
const TFormStoreDef& ServerInformation()
{
    return kServerInformation;
}
const TFormStoreDef& ConnectionsPage()
{
    return kConnectionsPage;
}
const TFormStoreDef& OpenFilesPage()
{
    return kOpenFilesPage;
}
const TFormStoreDef& Messages()
{
    return kMessages;
}
const TFormStoreDef& FileMaskDialog()
{
    return kFileMaskDialog;
}
const TFormStoreDef& OpenFilesFilter()
{
    return kOpenFilesFilter;
}
const TFormStoreDef& NlmList()
{
    return kNlmList;
}
const TFormStoreDef& SetsPage()
{
    return kSetsPage;
}
const TFormStoreDef& DiskManager()
{
    return kDiskManager;
}
const TFormStoreDef& DeleteDirectoryDialog()
{
    return kDeleteDirectoryDialog;
}
const TFormStoreDef& PurgeDirectoryDialog()
{
    return kPurgeDirectoryDialog;
}
const TFormStoreDef& NdsBrowserOptions()
{
    return kNdsBrowserOptions;
}
const TFormStoreDef& TextEditor()
{
    return kTextEditor;
}
const TFormStoreDef& FileViewer()
{
    return kFileViewer;
}
const TFormStoreDef& FindTextDialog()
{
    return kFindTextDialog;
}
const TFormStoreDef& ReplaceTextDialog()
{
    return kReplaceTextDialog;
}
const TFormStoreDef& ErasedView()
{
    return kErasedView;
}
const TFormStoreDef& CopyDialog()
{
    return kCopyDialog;
}
const TFormStoreDef& GotoDialog()
{
    return kGotoDialog;
}
const TFormStoreDef& RenameDialog()
{
    return kRenameDialog;
}
const TFormStoreDef& SearchForm()
{
    return kSearchForm;
}
const TFormStoreDef& ChangeAttributesDialog()
{
    return kChangeAttributesDialog;
}

QList<const TFormStoreDef*> All()
{
    return { &kMainWindow, &kOptions, &kTipOfTheDay, &kServerInformation, &kConnectionsPage,
        &kOpenFilesPage, &kMessages, &kFileMaskDialog, &kOpenFilesFilter, &kNlmList, &kSetsPage,
        &kDiskManager, &kDeleteDirectoryDialog, &kPurgeDirectoryDialog, &kNdsBrowserOptions,
        &kTextEditor, &kFileViewer, &kFindTextDialog, &kReplaceTextDialog, &kErasedView,
        &kCopyDialog, &kGotoDialog, &kRenameDialog, &kSearchForm, &kChangeAttributesDialog };
}

} // namespace formstores
