#pragma once

#include <QWidget>

class SkinnedWindow;
class TImage;
class TSpeedButton;

// The message window, shown without blocking the rest of the program.
class TfrmMsg : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmMsg(QWidget* parent = nullptr);

    SkinnedWindow& frame() { return *m_frame; }

    TImage* Image1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;

private:
    void FormCreate();
    void SpeedButton1Click();

    SkinnedWindow* m_frame = nullptr;
};
