#pragma once

#include "app/tform1.h"
#include "dialogs/tfrmactions.h"
#include "dialogs/tfrmmsg.h"
#include "dialogs/tfrmsettime.h"

class Platform;

// The program's four windows, created in their fixed order (the main window first) and kept
// until the end, so every dialog keeps what the user gave it for the whole run.
struct VokariWindows
{
    explicit VokariWindows(Platform& platform);

    TForm1 Form1;
    TfrmActions frmActions;
    TfrmSetTime frmSetTime;
    TfrmMsg frmMsg;
};
