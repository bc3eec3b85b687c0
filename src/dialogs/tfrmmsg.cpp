#include "dialogs/tfrmmsg.h"

#include "assets/assettable.h"
#include "skin/accessibility.h"
#include "skin/fonts.h"
#include "skin/palette.h"
#include "skin/skinnedwindow.h"
#include "skin/speedbutton.h"
#include "skin/vclwidgets.h"

#include <QApplication>
#include <QTextEdit>

// A dialog-type window with the main window as parent: only so does Qt make it transient for
// (owned by) the main window on every system. Never a tool or utility window, which some desktops
// hide while another program is active. Not a QDialog: Escape must not close it.
TfrmMsg::TfrmMsg(QWidget* owner) : QWidget(owner, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("信息"));
    setAccessibleName(QStringLiteral("信息"));
    setAccessibleDescription(QStringLiteral("定时结束时的信息"));

    Image1 = setUpSkinnedWindow(this, {599, 101});
    SpeedButton1 =
        new TSpeedButton(this, Assets::picture(objectName(), QStringLiteral("SpeedButton1")));
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(556, 7, 17, 17);
    connect(SpeedButton1, &TSpeedButton::OnClick, this, &TfrmMsg::SpeedButton1Click);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(17, 25, 561, 54);
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setFont(layoutFont(QStringLiteral("Consolas"), 13));
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    // What does not fit stays out of view: the field shows no scroll bars.
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pal = RichEdit1->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, layoutColor(SkinColours::Aqua));
    RichEdit1->setPalette(pal);
    RichEdit1->setPlainText(QStringLiteral("信息:"));
    setAccessibleTexts({
        {SpeedButton1, u"关闭", u"关闭信息窗口"},
        {RichEdit1, u"信息内容", u"定时结束时显示的文字"},
    });

    const auto centredOnOwner = [this] {
        return parentWidget() ? centredOn(parentWidget()->geometry(), size()) : pos();
    };
    m_frame = new SkinnedWindow(this, centredOnOwner, false, {Image1});
    FormCreate();
}

void TfrmMsg::FormCreate()
{
    m_frame->ApplyWindowRegion(Image1);
}

void TfrmMsg::showText(const QString& text)
{
    RichEdit1->setPlainText(text);
    show();
    raise();
    activateWindow();
    // A dialog the user is working in stays above the message, which it blocks until it closes.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->raise();
        modal->activateWindow();
    }
}

void TfrmMsg::SpeedButton1Click()
{
    // Hidden, not destroyed: the window keeps its text for the next showing.
    close();
}
