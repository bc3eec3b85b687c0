#pragma once

#include <QWidget>

class QTextEdit;
class SkinnedWindow;
class TImage;
class TSpeedButton;

// The message window, shown without blocking the rest of the program.
class TfrmMsg : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmMsg(QWidget* parent = nullptr);

    // Shows `text` without blocking anything: the window appears, or stays open with the new
    // text, and comes to the front.
    void showText(const QString& text);

    TImage* Image1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    QTextEdit* RichEdit1 = nullptr;

private:
    void FormCreate();
    void SpeedButton1Click();

    SkinnedWindow* m_frame = nullptr;
};
