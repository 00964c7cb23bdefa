#pragma once

class TMainForm;
class TSettingsDlg;

// Gives the main window the shell's own commands: "O&ptions" (the options dialog and, on OK,
// its effects on the window), "&Tip of the Day...", the about box and the help contents, and
// lets the chart interval of the options reach the utilization timer at once.
void InstallShellCommands(TMainForm& form, TSettingsDlg& settings);
