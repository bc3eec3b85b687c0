#include "dialogs/tfrmsettime.h"

TfrmSetTime::TfrmSetTime(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSetTime"));
    setWindowTitle(QStringLiteral("设置时间"));
    setFixedSize(351, 227);
}
