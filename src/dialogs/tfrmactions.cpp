#include "dialogs/tfrmactions.h"

#include "skin/fonts.h"
#include "skin/vclwidgets.h"

#include <QCheckBox>

TfrmActions::TfrmActions(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmActions"));
    setWindowTitle(QStringLiteral("操作"));
    setFixedSize(350, 474);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, layoutColor(11382189));
    setPalette(pal);
    setAutoFillBackground(true);

    CheckBox6 = new QCheckBox(QStringLiteral("循环定时"), this);
    CheckBox6->setObjectName(QStringLiteral("CheckBox6"));
    CheckBox6->setGeometry(20, 391, 91, 17);
    CheckBox6->setFont(layoutFont(QStringLiteral("Courier New"), 12));
}

bool TfrmActions::loopEnabled() const
{
    return CheckBox6->isChecked();
}
