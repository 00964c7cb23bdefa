#include "console/shell/shellcommands.h"

#include "console/shell/aboutbox.h"
#include "console/shell/helpviewer.h"
#include "console/shell/mainform.h"
#include "console/shell/settingsdlg.h"
#include "console/shell/timerlist.h"
#include "console/shell/tipoftheday.h"

void InstallShellCommands(TMainForm& form, TSettingsDlg& settings)
{
    TMainForm* f = &form;
    TSettingsDlg* s = &settings;
    QObject::connect(s, &TSettingsDlg::chartIntervalChanged, f,
        [f](int ms) { f->Timers()->setInterval(TMainForm::UpdateUtilization, ms); });
    form.setCommandHandler(TMainForm::Command::Options, [f, s] {
        if (s->exec() == QDialog::Accepted)
            f->OptionsAccepted(s->Options());
    });
    form.setCommandHandler(TMainForm::Command::TipOfTheDay, [f, s] { ShowTipOfTheDay(*s, f); });
    form.setCommandHandler(TMainForm::Command::About, [f] {
        TAboutBox box(f);
        box.exec();
    });
    form.setCommandHandler(
        TMainForm::Command::Contents, [f] { THelpViewer::ShowContents(f->HelpFile()); });
}
