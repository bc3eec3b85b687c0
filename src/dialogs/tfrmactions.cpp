#include "dialogs/tfrmactions.h"

#include "skin/fonts.h"
#include "skin/skinnedwindow.h"
#include "skin/vclwidgets.h"

#include <QCheckBox>

TfrmActions::TfrmActions(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog), m_platform(platform)
{
    setObjectName(QStringLiteral("frmActions"));
    setWindowTitle(QStringLiteral("操作"));
    setFixedSize(350, 474);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, layoutColor(11382189));
    setPalette(pal);
    setAutoFillBackground(true);

    Image1 = addBackground(this);
    Label3 = new TLabel(this, QStringLiteral("操作管理器"),
                        layoutFont(QStringLiteral("Courier New"), 16, true), 6447714, true);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->AutoSize = false;
    Label3->setGeometry(91, 10, 150, 18);

    CheckBox6 = new QCheckBox(QStringLiteral("循环定时"), this);
    CheckBox6->setObjectName(QStringLiteral("CheckBox6"));
    CheckBox6->setGeometry(20, 391, 91, 17);
    CheckBox6->setFont(layoutFont(QStringLiteral("Courier New"), 12));

    m_frame = new SkinnedWindow(
        this, [this] { return centredOn(parentWidget()->geometry(), size()); }, false);
    m_frame->addDragSource(Image1);
    m_frame->addDragSource(Label3);
    FormCreate();
}

void TfrmActions::FormCreate()
{
    m_frame->ApplyWindowRegion(Image1);
}

bool TfrmActions::loopEnabled() const
{
    return CheckBox6->isChecked();
}
