#include "app/vokariwindows.h"

VokariWindows::VokariWindows(Platform& platform)
    : Form1(platform), frmActions(platform, &Form1), frmSetTime(&Form1), frmMsg(&Form1)
{
    Form1.attachWindows(frmActions, frmSetTime, frmMsg);
}
