#pragma once

#include "core/messagewindow.h"

#include <QWidget>

class QTextEdit;
class SkinnedWindow;
class TImage;
class TSpeedButton;

// The message window, shown without blocking the rest of the program. The main window owns it:
// it stays above that window, goes and comes back with it, has no taskbar entry of its own, and
// a dialog that blocks the main window blocks it too.
class TfrmMsg : public QWidget, public MessageWindow
{
    Q_OBJECT

public:
    // `owner` is the main window; the message is centred on it the first time it is shown.
    explicit TfrmMsg(QWidget* owner = nullptr);

    void showText(const QString& text) override;

    TImage* Image1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    QTextEdit* RichEdit1 = nullptr;

private:
    void FormCreate();
    void SpeedButton1Click();

    SkinnedWindow* m_frame = nullptr;
};
