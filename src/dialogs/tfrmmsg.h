#pragma once

#include "core/messagewindow.h"

#include <QPointer>
#include <QWidget>

class QTextEdit;
class SkinnedWindow;
class TImage;
class TSpeedButton;

// The message window, shown without blocking the rest of the program. It has no parent window,
// so a dialog that blocks the main window never blocks it: a message that appears while the
// settings are open can be read and closed at once.
class TfrmMsg : public QWidget, public MessageWindow
{
    Q_OBJECT

public:
    // `over` is the window it is centred on the first time it is shown.
    explicit TfrmMsg(QWidget* over = nullptr);

    void showText(const QString& text) override;

    TImage* Image1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    QTextEdit* RichEdit1 = nullptr;

private:
    void FormCreate();
    void SpeedButton1Click();

    SkinnedWindow* m_frame = nullptr;
    QPointer<QWidget> m_over;
};
