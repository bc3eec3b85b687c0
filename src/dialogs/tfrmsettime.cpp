#include "dialogs/tfrmsettime.h"

#include "assets/assettable.h"
#include "skin/fonts.h"
#include "skin/skinnedwindow.h"
#include "skin/speedbutton.h"
#include "skin/vclwidgets.h"

TfrmSetTime::TfrmSetTime(QWidget* parent) : QDialog(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmSetTime"));
    setWindowTitle(QStringLiteral("设置时间"));
    setFixedSize(351, 227);

    Image1 = addBackground(this);
    Label5 = new TLabel(this, QStringLiteral("Vokari"),
                        layoutFont(QStringLiteral("Courier New"), 19, true), 6447714, true);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->AutoSize = false;
    Label5->setGeometry(31, 13, 132, 22);
    SpeedButton3 =
        new TSpeedButton(this, Assets::picture(objectName(), QStringLiteral("SpeedButton3")));
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setGeometry(296, 8, 17, 17);
    connect(SpeedButton3, &TSpeedButton::OnClick, this, &TfrmSetTime::SpeedButton3Click);

    // First shown centred on the main window, without keeping to the screen.
    m_frame = new SkinnedWindow(
        this, [this] { return centredOn(parentWidget()->geometry(), size()); }, false);
    m_frame->addDragSource(Image1);
    m_frame->addDragSource(Label5);
    FormCreate();
}

void TfrmSetTime::FormCreate()
{
    m_frame->ApplyWindowRegion(Image1);
}

void TfrmSetTime::reject()
{
    done(mrCancel);
}

void TfrmSetTime::SpeedButton3Click()
{
    // The standard close: a modal showing ends with Cancel.
    close();
}
