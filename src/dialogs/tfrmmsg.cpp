#include "dialogs/tfrmmsg.h"

#include "assets/assettable.h"
#include "skin/skinnedwindow.h"
#include "skin/speedbutton.h"
#include "skin/vclwidgets.h"

TfrmMsg::TfrmMsg(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("信息"));
    setFixedSize(599, 101);

    Image1 = addBackground(this);
    SpeedButton1 =
        new TSpeedButton(this, Assets::picture(objectName(), QStringLiteral("SpeedButton1")));
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(556, 7, 17, 17);
    connect(SpeedButton1, &TSpeedButton::OnClick, this, &TfrmMsg::SpeedButton1Click);

    m_frame = new SkinnedWindow(
        this, [this] { return centredOn(parentWidget()->geometry(), size()); }, false);
    m_frame->addDragSource(Image1);
    FormCreate();
}

void TfrmMsg::FormCreate()
{
    m_frame->ApplyWindowRegion(Image1);
}

void TfrmMsg::SpeedButton1Click()
{
    // Hidden, not destroyed: the window keeps its text for the next showing.
    close();
}
