#pragma once

#include "assets/glyphstrip.h"

#include <QDialog>

class QLineEdit;
class SkinnedWindow;
class THoverImage;
class TImage;
class TLabel;
class TPanel;
class TSpeedButton;
class TUpDown;

// The set-time dialog: hours, minutes and seconds, confirmed or cancelled. It only holds three
// bounded values and says how it was closed; the main window reads the spins on OK. Nothing is
// reset between showings.
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

    // Every standard close of a modal showing (the close button, the system) is a Cancel.
    void reject() override;

    // Same algorithm as the main window's MakeImageRed: every non-black pixel turns red.
    void MakeRedIm(THoverImage* image);

    TImage* Image1 = nullptr;
    TLabel* Label5 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    THoverImage* HoverImage2 = nullptr;
    THoverImage* HoverImage1 = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label6 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TUpDown* UpDown1 = nullptr;
    TUpDown* UpDown3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    TUpDown* UpDown2 = nullptr;
    GlyphStrip ImageList1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createPanel();
    void FormCreate();
    void HoverImage1Click();
    void HoverImage2Click();
    void SpeedButton3Click();

    SkinnedWindow* m_frame = nullptr;
    // The field that had the focus when the dialog was last hidden; the hours at first.
    QWidget* m_lastFocus = nullptr;
};
