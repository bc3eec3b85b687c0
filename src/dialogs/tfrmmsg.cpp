#include "dialogs/tfrmmsg.h"

TfrmMsg::TfrmMsg(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("信息"));
    setFixedSize(599, 101);
}
