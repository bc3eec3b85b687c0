#pragma once

#include <QDialog>

class SkinnedWindow;
class TImage;
class TLabel;
class TSpeedButton;

// The set-time dialog: hours, minutes and seconds, confirmed or cancelled.
class TfrmSetTime : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSetTime(QWidget* parent = nullptr);

    // Modal results as the main window reads them (stored values): 1 OK, 2 Cancel.
    enum ModalResult
    {
        mrOk = 1,
        mrCancel = 2
    };

    // Every standard close of a modal showing (close button, Escape, the system) is a Cancel.
    void reject() override;

    SkinnedWindow& frame() { return *m_frame; }

    TImage* Image1 = nullptr;
    TLabel* Label5 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;

private:
    void FormCreate();
    void SpeedButton3Click();

    SkinnedWindow* m_frame = nullptr;
};
