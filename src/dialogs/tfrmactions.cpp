#include "dialogs/tfrmactions.h"

#include "assets/assettable.h"
#include "core/makerpages.h"
#include "platform/platform.h"
#include "skin/accessibility.h"
#include "skin/fonts.h"
#include "skin/hoverimage.h"
#include "skin/palette.h"
#include "skin/skinnedwindow.h"
#include "skin/updown.h"
#include "skin/vclwidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyledItemDelegate>

#include <algorithm>
#include <iterator>

namespace {

const QString kWindow = QStringLiteral("frmActions");

QFont courier(int pixelHeight)
{
    return layoutFont(QStringLiteral("Courier New"), pixelHeight);
}

QFont tahoma(int pixelHeight, bool bold = false)
{
    return layoutFont(QStringLiteral("Tahoma"), pixelHeight, bold);
}

// Aqua text on black for every field; a disabled field keeps its black and greys its text.
void paintAquaOnBlack(QWidget* field)
{
    QPalette pal = field->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        pal.setColor(role, Qt::black);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        pal.setColor(role, layoutColor(SkinColours::Aqua));
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        pal.setColor(QPalette::Disabled, role, layoutColor(SkinColours::DisabledText));
    field->setPalette(pal);
}

// Captions sit straight on the background picture: black text, nothing filled behind it.
void paintCaption(QWidget* control)
{
    QPalette pal = control->palette();
    pal.setColor(QPalette::WindowText, layoutColor(SkinColours::Black));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, layoutColor(SkinColours::DisabledText));
    control->setPalette(pal);
    control->setAutoFillBackground(false);
}

// The whole box of a tick box or radio button answers a click, not only its mark and caption.
template <typename Button> class WholeBox final : public Button
{
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

template <typename Widget>
Widget* place(Widget* widget, const QString& name, QRect box, const QFont& font)
{
    widget->setObjectName(name);
    widget->setGeometry(box);
    widget->setFont(font);
    return widget;
}

QCheckBox* createCheckBox(QWidget* parent, const char* name, const QString& caption, QRect box)
{
    auto* check =
        place(new WholeBox<QCheckBox>(caption, parent), QLatin1String(name), box, courier(12));
    paintCaption(check);
    return check;
}

QRadioButton* createRadioButton(QWidget* parent, const QString& name, const QString& caption,
                                QRect box, const QFont& font)
{
    auto* button = place(new WholeBox<QRadioButton>(caption, parent), name, box, font);
    paintCaption(button);
    return button;
}

QLineEdit* createEdit(QWidget* parent, const char* name, QRect box, const QFont& font)
{
    auto* edit = place(new QLineEdit(parent), QLatin1String(name), box, font);
    paintAquaOnBlack(edit);
    return edit;
}

} // namespace

TfrmActions::TfrmActions(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog), m_platform(platform)
{
    setObjectName(kWindow);
    setWindowTitle(QStringLiteral("操作"));
    setAccessibleName(QStringLiteral("操作"));
    setAccessibleDescription(QStringLiteral("定时结束时做什么"));
    // Shown modally over the main window alone: the message window stays usable meanwhile.
    setWindowModality(Qt::WindowModal);
    setFont(layoutFont(QStringLiteral("MS Sans Serif"), 11));
    ImageList1 = Assets::strip(kWindow, QStringLiteral("ImageList1"));
    ImageList2 = Assets::strip(kWindow, QStringLiteral("ImageList2"));

    // Created in the window's stacking order, the background first.
    Image1 = setUpSkinnedWindow(this, {350, 474}, SkinColours::WindowGrey);
    Label3 = new TLabel(this, QStringLiteral("操作管理器"),
                        layoutFont(QStringLiteral("Courier New"), 16, true), SkinColours::TitleGrey,
                        true);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->AutoSize = false;
    Label3->setGeometry(91, 10, 150, 18);
    createButtons();
    Label1 = new TLabel(this, QStringLiteral("计数"), tahoma(11), SkinColours::Black, false);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->AutoSize = false;
    Label1->setGeometry(248, 52, 29, 13);
    createActionControls();
    createSoundControls();
    setTabOrderChain();
    connectHoverHandlers();
    describeControls();

    // First shown centred on the main window, without keeping to the screen.
    const auto centredOnMain = [this] { return centredOn(parentWidget()->geometry(), size()); };
    m_frame = new SkinnedWindow(this, centredOnMain, false, {Image1, Label3});
    FormCreate();
}

void TfrmActions::createButtons()
{
    auto addButton = [this](const char* name, QRect box, bool autoSize) {
        auto* button = new THoverImage(this);
        button->setObjectName(QLatin1String(name));
        button->AutoSize = autoSize;
        button->setGeometry(box);
        button->setPicture(Assets::picture(kWindow, button->objectName()));
        return button;
    };
    HoverImage1 = addButton("HoverImage1", {110, 410, 36, 36}, false);
    HoverImage2 = addButton("HoverImage2", {155, 410, 36, 36}, false);
    HoverImage3 = addButton("HoverImage3", {200, 410, 36, 36}, false);
    HoverImage4 = addButton("HoverImage4", {299, 80, 24, 24}, true);
    HoverImage5 = addButton("HoverImage5", {299, 250, 24, 24}, true);
    HoverImage6 = addButton("HoverImage6", {38, 8, 32, 32}, true);
    // Drawn from its top-left corner, and never seen anyway.
    HoverImage6->Center = false;
    HoverImage6->hide();
    HoverImage7 = addButton("HoverImage7", {35, 410, 36, 36}, false);
    HoverImage7->hide();
    HoverImage8 = addButton("HoverImage8", {211, 48, 24, 24}, true);

    connect(HoverImage1, &TImage::OnClick, this, &TfrmActions::HoverImage1Click);
    connect(HoverImage2, &TImage::OnClick, this, &TfrmActions::HoverImage2Click);
    connect(HoverImage3, &TImage::OnClick, this, &TfrmActions::HoverImage3Click);
    connect(HoverImage7, &TImage::OnClick, this, &TfrmActions::HoverImage3Click);
    connect(HoverImage4, &TImage::OnClick, this, &TfrmActions::HoverImage4Click);
    connect(HoverImage5, &TImage::OnClick, this, &TfrmActions::HoverImage5Click);
    connect(HoverImage8, &TImage::OnClick, this, &TfrmActions::HoverImage8Click);
}

void TfrmActions::createActionControls()
{
    CheckBox1 = createCheckBox(this, "CheckBox1", QStringLiteral("声音警报"), {20, 35, 97, 17});
    CheckBox1->setChecked(true);

    CheckBox2 = createCheckBox(this, "CheckBox2", QStringLiteral("显示信息"), {20, 110, 116, 17});
    Memo1 = place(new QPlainTextEdit(this), QStringLiteral("Memo1"), {20, 130, 301, 89},
                  layoutFont(QStringLiteral("Consolas"), 11));
    paintAquaOnBlack(Memo1);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on through the dialog; Enter still starts a new line.
    Memo1->setTabChangesFocus(true);
    Memo1->setPlainText(QStringLiteral("信息:"));
    Memo1->setEnabled(false);
    connect(CheckBox2, &QCheckBox::toggled, this, &TfrmActions::CheckBox2Click);

    CheckBox3 = createCheckBox(this, "CheckBox3", QStringLiteral("执行程序"), {20, 230, 156, 17});
    Edit1 = createEdit(this, "Edit1", {20, 250, 274, 22}, courier(11));

    CheckBox4 =
        createCheckBox(this, "CheckBox4", QStringLiteral("关闭 Windows"), {20, 280, 156, 17});
    RadioGroup1 = place(new QGroupBox(QStringLiteral("选项"), this), QStringLiteral("RadioGroup1"),
                        {35, 297, 291, 36}, courier(11));
    paintCaption(RadioGroup1);
    // Three columns of equal width across the box, centred in the frame below the caption.
    const QString items[] = {QStringLiteral("关机"), QStringLiteral("重新启动"),
                             QStringLiteral("注销")};
    const int columnWidth = (RadioGroup1->width() - 10) / 3;
    const QRect inside = RadioGroup1->contentsRect();
    const int itemHeight = 17;
    const int itemTop = std::max(0, inside.top() + (inside.height() - itemHeight) / 2);
    for (int i = 0; i < 3; ++i) {
        RadioGroup1Items[i] =
            createRadioButton(RadioGroup1, QStringLiteral("RadioGroup1Item%1").arg(i), items[i],
                              {8 + i * columnWidth, itemTop, columnWidth, itemHeight}, courier(11));
    }
    // An explicit group: radio buttons left to themselves would also count the dialog's sound
    // source buttons as their own.
    m_sessionEndGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i)
        m_sessionEndGroup->addButton(RadioGroup1Items[i], i);
    RadioGroup1Items[0]->setChecked(true);
    RadioGroup1->setEnabled(false);
    connect(CheckBox4, &QCheckBox::toggled, this, &TfrmActions::CheckBox4Click);

    CheckBox6 = createCheckBox(this, "CheckBox6", QStringLiteral("循环定时"), {20, 391, 91, 17});
    CheckBox7 = createCheckBox(this, "CheckBox7", QStringLiteral("启动 URL"), {20, 347, 97, 17});
    Edit2 = createEdit(this, "Edit2", {20, 365, 306, 22}, courier(11));
    Edit2->setText(MakerPages::homePage());
}

void TfrmActions::createSoundControls()
{
    // One exclusive pair, apart from the shut-down group's items.
    RadioButton1 = createRadioButton(this, QStringLiteral("RadioButton1"),
                                     QStringLiteral("使用内置声音"), {29, 50, 126, 17}, tahoma(11));
    RadioButton2 = createRadioButton(this, QStringLiteral("RadioButton2"),
                                     QStringLiteral("播放声音文件"), {29, 65, 113, 17}, tahoma(11));
    m_soundSourceGroup = new QButtonGroup(this);
    m_soundSourceGroup->addButton(RadioButton1);
    m_soundSourceGroup->addButton(RadioButton2);
    RadioButton1->setChecked(true);
    Edit3 = createEdit(this, "Edit3", {65, 80, 229, 22}, courier(11));

    cbSnd = place(new QComboBox(this), QStringLiteral("cbSnd"), {136, 48, 73, 22}, courier(11));
    paintAquaOnBlack(cbSnd);
    cbSnd->setEditable(false);
    // A plain item delegate honours the fixed item height of the list.
    cbSnd->setItemDelegate(new QStyledItemDelegate(cbSnd));
    cbSnd->addItems({QStringLiteral("蜂鸣声"), QStringLiteral("警报"), QStringLiteral("蜂鸣声2")});
    for (int i = 0; i < cbSnd->count(); ++i)
        cbSnd->setItemData(i, QSize(0, 14), Qt::SizeHintRole);
    cbSnd->setCurrentIndex(0);

    Edit4 = createEdit(this, "Edit4", {280, 48, 25, 21}, tahoma(11, true));
    UpDown1 = new TUpDown(this, Edit4, 1, 10, 5);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(305, 48, 16, 21);
}

void TfrmActions::setTabOrderChain()
{
    QWidget* const chain[] = {
        CheckBox1,
        CheckBox2,
        Memo1,
        CheckBox3,
        Edit1,
        CheckBox4,
        RadioGroup1Items[0],
        RadioGroup1Items[1],
        RadioGroup1Items[2],
        CheckBox6,
        CheckBox7,
        Edit2,
        RadioButton1,
        RadioButton2,
        Edit3,
        cbSnd,
        Edit4,
    };
    for (std::size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    CheckBox1->setFocus();
}

void TfrmActions::describeControls()
{
    // Tick boxes and radio buttons keep their captions as names; the settings take effect at
    // once, so the tick and the cross both just close.
    setAccessibleTexts({
        {HoverImage1, u"确定", u"关闭对话框"},
        {HoverImage2, u"关闭", u"关闭对话框"},
        {HoverImage3, u"关于", u"打开作者的主页"},
        {HoverImage7, u"关于", u"打开作者的主页"},
        {HoverImage6, u"图标", u"操作管理器的图标"},
        {HoverImage4, u"选择声音文件", u"浏览警报播放的声音文件"},
        {HoverImage5, u"选择程序", u"浏览要执行的程序或文档"},
        {HoverImage8, u"试听", u"播放一次选中的内置声音"},
        {CheckBox1, nullptr, u"定时结束时播放警报"},
        {RadioButton1, nullptr, u"警报播放选中的内置声音"},
        {cbSnd, u"内置声音", u"警报使用的内置声音"},
        {RadioButton2, nullptr, u"警报播放下面的声音文件"},
        {Edit3, u"声音文件", u"警报播放的声音文件"},
        {Edit4, u"重复次数", u"警报播放的次数，1 到 10"},
        {UpDown1, u"重复次数", u"增加或减少警报播放的次数"},
        {CheckBox2, nullptr, u"定时结束时显示信息"},
        {Memo1, u"信息", u"定时结束时显示的文字"},
        {CheckBox3, nullptr, u"定时结束时执行程序或打开文档"},
        {Edit1, u"程序", u"要执行的程序或文档"},
        {CheckBox4, nullptr, u"定时结束时结束会话"},
        {RadioGroup1, nullptr, u"结束会话的方式"},
        {CheckBox7, nullptr, u"定时结束时打开网址"},
        {Edit2, u"网址", u"定时结束时打开的网址"},
        {CheckBox6, nullptr, u"定时结束后重新开始"},
    });
}

void TfrmActions::connectHoverHandlers()
{
    // Each button lights on entering and takes its own strip cell back on leaving; the second
    // folder shares the first one's handlers and so its cell.
    struct Hover
    {
        THoverImage* button;
        const GlyphStrip* strip;
        int cell;
    };
    const Hover hovers[] = {
        {HoverImage1, &ImageList1, 0}, {HoverImage2, &ImageList1, 1}, {HoverImage3, &ImageList1, 2},
        {HoverImage7, &ImageList1, 3}, {HoverImage4, &ImageList2, 0}, {HoverImage5, &ImageList2, 0},
        {HoverImage8, &ImageList2, 1},
    };
    for (const Hover& h : hovers) {
        connect(h.button, &THoverImage::OnMouseEnter, this, &TfrmActions::MakeRedIm);
        connect(h.button, &THoverImage::OnMouseLeave, this,
                [strip = h.strip, cell = h.cell](THoverImage* sender) {
                    RestoreFromStrip(sender, *strip, cell);
                });
    }
}

void TfrmActions::FormCreate()
{
    m_frame->ApplyWindowRegion(Image1);
}

void TfrmActions::MakeRedIm(THoverImage* image)
{
    MakeImageRed(image);
}

void TfrmActions::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TfrmActions::CheckBox2Click()
{
    Memo1->setEnabled(CheckBox2->isChecked());
}

void TfrmActions::CheckBox4Click()
{
    RadioGroup1->setEnabled(CheckBox4->isChecked());
}

void TfrmActions::HoverImage1Click()
{
    close();
}

void TfrmActions::HoverImage2Click()
{
    close();
}

void TfrmActions::HoverImage3Click()
{
    m_platform.openTarget(MakerPages::personalPage(), nullptr);
}

void TfrmActions::HoverImage4Click()
{
    if (const auto chosen = m_platform.chooseFile(FileKind::Sound, m_lastSoundFile, this)) {
        m_lastSoundFile = *chosen;
        Edit3->setText(*chosen);
    }
}

void TfrmActions::HoverImage5Click()
{
    if (const auto chosen = m_platform.chooseFile(FileKind::Program, m_lastProgram, this)) {
        m_lastProgram = *chosen;
        Edit1->setText(*chosen);
    }
}

void TfrmActions::HoverImage8Click()
{
    // A test play: neither the source, the count nor the alarm box is consulted.
    m_platform.playBuiltInSound(cbSnd->currentIndex() + 1);
}

bool TfrmActions::loopEnabled() const
{
    return CheckBox6->isChecked();
}

bool TfrmActions::soundAlarmEnabled() const
{
    return CheckBox1->isChecked();
}

bool TfrmActions::builtInSoundSelected() const
{
    return RadioButton1->isChecked();
}

bool TfrmActions::soundFileSelected() const
{
    return RadioButton2->isChecked();
}

int TfrmActions::builtInSoundIndex() const
{
    return cbSnd->currentIndex();
}

QString TfrmActions::repeatCountText() const
{
    return Edit4->text();
}

QString TfrmActions::soundFileText() const
{
    return Edit3->text();
}

bool TfrmActions::messageEnabled() const
{
    return CheckBox2->isChecked();
}

QString TfrmActions::messageText() const
{
    return Memo1->toPlainText();
}

bool TfrmActions::programEnabled() const
{
    return CheckBox3->isChecked();
}

QString TfrmActions::programText() const
{
    return Edit1->text();
}

bool TfrmActions::sessionEndEnabled() const
{
    return CheckBox4->isChecked();
}

int TfrmActions::sessionEndIndex() const
{
    return m_sessionEndGroup->checkedId();
}

bool TfrmActions::urlEnabled() const
{
    return CheckBox7->isChecked();
}

QString TfrmActions::urlText() const
{
    return Edit2->text();
}
