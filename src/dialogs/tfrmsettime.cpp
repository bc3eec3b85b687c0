#include "dialogs/tfrmsettime.h"

#include "assets/assettable.h"
#include "skin/accessibility.h"
#include "skin/fonts.h"
#include "skin/hoverimage.h"
#include "skin/palette.h"
#include "skin/skinnedwindow.h"
#include "skin/speedbutton.h"
#include "skin/updown.h"
#include "skin/vclwidgets.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

QLineEdit* createEdit(QWidget* parent, const QString& name, QPoint at)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(at.x(), at.y(), 41, 21);
    edit->setFont(layoutFont(QStringLiteral("MS Sans Serif"), 11));
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, layoutColor(SkinColours::Aqua));
    edit->setPalette(pal);
    return edit;
}

} // namespace

TfrmSetTime::TfrmSetTime(QWidget* parent) : QDialog(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmSetTime"));
    setWindowTitle(QStringLiteral("设置时间"));
    setAccessibleName(QStringLiteral("设置时间"));
    setAccessibleDescription(QStringLiteral("设置倒计时的时间"));
    // Shown modally over the main window alone: the message window stays usable meanwhile.
    setWindowModality(Qt::WindowModal);
    ImageList1 = Assets::strip(objectName(), QStringLiteral("ImageList1"));

    Image1 = setUpSkinnedWindow(this, {351, 227});
    Label5 = new TLabel(this, QStringLiteral("Vokari"),
                        layoutFont(QStringLiteral("Courier New"), 19, true), SkinColours::TitleGrey,
                        true);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->AutoSize = false;
    Label5->setGeometry(31, 13, 132, 22);
    SpeedButton3 =
        new TSpeedButton(this, Assets::picture(objectName(), QStringLiteral("SpeedButton3")));
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setGeometry(296, 8, 17, 17);

    HoverImage2 = new THoverImage(this);
    HoverImage2->setObjectName(QStringLiteral("HoverImage2"));
    HoverImage2->setGeometry(170, 168, 36, 36);
    HoverImage2->setPicture(Assets::picture(objectName(), QStringLiteral("HoverImage2")));
    HoverImage1 = new THoverImage(this);
    HoverImage1->setObjectName(QStringLiteral("HoverImage1"));
    HoverImage1->setGeometry(125, 168, 36, 36);
    HoverImage1->setPicture(Assets::picture(objectName(), QStringLiteral("HoverImage1")));
    createPanel();
    setAccessibleTexts({
        {HoverImage1, u"确定", u"使用设置的时间"},
        {HoverImage2, u"取消", u"关闭对话框，不改变时间"},
        {SpeedButton3, u"关闭", u"关闭对话框，不改变时间"},
        {Panel1, u"设置定时器", nullptr},
        {Edit3, u"小时", u"0 到 99"},
        {UpDown3, u"小时", u"增加或减少小时"},
        {Edit1, u"分钟", u"0 到 59"},
        {UpDown1, u"分钟", u"增加或减少分钟"},
        {Edit2, u"秒", u"0 到 59"},
        {UpDown2, u"秒", u"增加或减少秒"},
    });

    connect(SpeedButton3, &TSpeedButton::OnClick, this, &TfrmSetTime::SpeedButton3Click);
    connect(HoverImage1, &TImage::OnClick, this, &TfrmSetTime::HoverImage1Click);
    connect(HoverImage2, &TImage::OnClick, this, &TfrmSetTime::HoverImage2Click);
    connect(HoverImage1, &THoverImage::OnMouseEnter, this, &TfrmSetTime::MakeRedIm);
    connect(HoverImage2, &THoverImage::OnMouseEnter, this, &TfrmSetTime::MakeRedIm);
    connect(HoverImage1, &THoverImage::OnMouseLeave, this,
            [this](THoverImage* sender) { RestoreFromStrip(sender, ImageList1, 0); });
    connect(HoverImage2, &THoverImage::OnMouseLeave, this,
            [this](THoverImage* sender) { RestoreFromStrip(sender, ImageList1, 1); });

    // First shown centred on the main window, without keeping to the screen.
    const auto centredOnMain = [this] { return centredOn(parentWidget()->geometry(), size()); };
    m_frame = new SkinnedWindow(this, centredOnMain, false, {Image1, Label5});
    FormCreate();
}

void TfrmSetTime::createPanel()
{
    Panel1 = new TPanel(this, SkinColours::Black);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(30, 65, 291, 86);

    const QFont caption = layoutFont(QStringLiteral("Courier New"), 11, true);
    auto addCaption = [&](const char* name, const QString& text, QRect box) {
        auto* label = new TLabel(Panel1, text, caption, SkinColours::Aqua, true);
        label->setObjectName(QLatin1String(name));
        label->AutoSize = false;
        label->setGeometry(box);
        return label;
    };
    Label4 = addCaption("Label4", QStringLiteral("小时"), QRect(31, 25, 28, 14));
    Label2 = addCaption("Label2", QStringLiteral("分钟"), QRect(111, 25, 49, 14));
    Label3 = addCaption("Label3", QStringLiteral("秒"), QRect(191, 25, 49, 14));
    Label6 =
        new TLabel(Panel1, QStringLiteral("设置定时器"),
                   layoutFont(QStringLiteral("Courier New"), 12, true), SkinColours::Aqua, false);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->AutoSize = false;
    Label6->setGeometry(5, 5, 63, 16);

    Edit3 = createEdit(Panel1, QStringLiteral("Edit3"), {31, 40});
    Edit1 = createEdit(Panel1, QStringLiteral("Edit1"), {111, 40});
    UpDown1 = new TUpDown(Panel1, Edit1, 0, 59, 0);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(152, 40, 16, 21);
    UpDown3 = new TUpDown(Panel1, Edit3, 0, 99, 0);
    UpDown3->setObjectName(QStringLiteral("UpDown3"));
    UpDown3->setGeometry(72, 40, 16, 21);
    Edit2 = createEdit(Panel1, QStringLiteral("Edit2"), {191, 40});
    UpDown2 = new TUpDown(Panel1, Edit2, 0, 59, 0);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    UpDown2->setGeometry(232, 40, 16, 21);

    // Tab goes hours, minutes, seconds; the spins take no focus.
    setTabOrder(Edit3, Edit1);
    setTabOrder(Edit1, Edit2);
    m_lastFocus = Edit3;
}

void TfrmSetTime::FormCreate()
{
    m_frame->ApplyWindowRegion(Image1);
}

void TfrmSetTime::MakeRedIm(THoverImage* image)
{
    MakeImageRed(image);
}

void TfrmSetTime::reject()
{
    done(mrCancel);
}

void TfrmSetTime::keyPressEvent(QKeyEvent* event)
{
    // The dialog has no keys of its own: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmSetTime::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_lastFocus->setFocus();
}

void TfrmSetTime::hideEvent(QHideEvent* event)
{
    for (QWidget* field : {static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Edit1),
                           static_cast<QWidget*>(Edit2)}) {
        if (focusWidget() == field)
            m_lastFocus = field;
    }
    QDialog::hideEvent(event);
}

void TfrmSetTime::HoverImage1Click()
{
    // Closing alone would end with Cancel; the result is OK.
    done(mrOk);
}

void TfrmSetTime::HoverImage2Click()
{
    done(mrCancel);
}

void TfrmSetTime::SpeedButton3Click()
{
    // The standard close: a modal showing ends with Cancel.
    close();
}
