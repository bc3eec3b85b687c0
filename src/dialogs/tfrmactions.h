#pragma once

#include "assets/glyphstrip.h"
#include "core/actionsettings.h"

#include <QDialog>

class Platform;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class SkinnedWindow;
class THoverImage;
class TImage;
class TLabel;
class TUpDown;

// The action settings dialog. Its controls are the only store of the completion options: the
// completion reads them live, so nothing is copied out and nothing is lost between showings.
class TfrmActions : public QDialog, public ActionSettings
{
    Q_OBJECT

public:
    TfrmActions(Platform& platform, QWidget* parent = nullptr);

    bool loopEnabled() const override;
    bool soundAlarmEnabled() const override;
    bool builtInSoundSelected() const override;
    bool soundFileSelected() const override;
    int builtInSoundIndex() const override;
    QString repeatCountText() const override;
    QString soundFileText() const override;
    bool messageEnabled() const override;
    QString messageText() const override;
    bool programEnabled() const override;
    QString programText() const override;
    bool sessionEndEnabled() const override;
    int sessionEndIndex() const override;
    bool urlEnabled() const override;
    QString urlText() const override;

    // Lights the button red, as MakeImageRed does.
    void MakeRedIm(THoverImage* image);

    TImage* Image1 = nullptr;
    TLabel* Label3 = nullptr;
    THoverImage* HoverImage1 = nullptr;
    THoverImage* HoverImage2 = nullptr;
    THoverImage* HoverImage3 = nullptr;
    THoverImage* HoverImage4 = nullptr;
    THoverImage* HoverImage5 = nullptr;
    THoverImage* HoverImage6 = nullptr;
    THoverImage* HoverImage7 = nullptr;
    THoverImage* HoverImage8 = nullptr;
    TLabel* Label1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    // The group's items "关机", "重新启动", "注销", in index order.
    QRadioButton* RadioGroup1Items[3] = {};
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QComboBox* cbSnd = nullptr;
    QLineEdit* Edit4 = nullptr;
    TUpDown* UpDown1 = nullptr;
    GlyphStrip ImageList1;
    GlyphStrip ImageList2;

protected:
    // The dialog has no keys of its own: Enter and Escape neither accept nor reject it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createSoundControls();
    void createActionControls();
    void createButtons();
    void connectHoverHandlers();
    void describeControls();
    void setTabOrderChain();
    void FormCreate();
    void CheckBox2Click();
    void CheckBox4Click();
    void HoverImage1Click();
    void HoverImage2Click();
    void HoverImage3Click();
    void HoverImage4Click();
    void HoverImage5Click();
    void HoverImage8Click();

    Platform& m_platform;
    SkinnedWindow* m_frame = nullptr;
    QButtonGroup* m_soundSourceGroup = nullptr;
    // Ids are the item indexes; -1 when none is selected.
    QButtonGroup* m_sessionEndGroup = nullptr;
    // What each file choice last confirmed: it opens there the next time.
    QString m_lastSoundFile;
    QString m_lastProgram;
};
