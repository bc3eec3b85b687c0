#pragma once

#include "skin/vclwidgets.h"

#include <QString>

class GlyphStrip;

// The picture button of every window: a picture control whose picture is a bitmap that the
// recolouring routines change in place, with enter and leave events. Its Hint is shown only in a
// window's hint line, never as a tooltip; a screen reader calls the button by it unless the
// button has an accessible name of its own.
class THoverImage : public TImage
{
    Q_OBJECT

public:
    explicit THoverImage(QWidget* parent = nullptr);

    QString Hint;

Q_SIGNALS:
    // Raised with the control itself as the sender. Leaving one button for the next raises the
    // first one's leave before the second one's enter; while a mouse button is held only the
    // control that took the press hears of the pointer.
    void OnMouseEnter(THoverImage* sender);
    void OnMouseLeave(THoverImage* sender);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // A window hidden under the pointer gets no leave from the window system, so its button
    // would stay lit into the next showing: hiding counts as the pointer leaving.
    void hideEvent(QHideEvent* event) override;

private:
    bool m_underPointer = false;
};

// Every pixel that is not black becomes pure red: a grey icon turns into a red silhouette while
// its black ground and cut-outs stay black, and so see-through.
void MakeImageRed(THoverImage* image);

// Black pixels become red: lights the black glyph of a close or minimise button.
void MakeBlackRed(THoverImage* image);

// Red pixels become black again: the way back from MakeBlackRed.
void MakeRedBlack(THoverImage* image);

// Empties the button's picture and copies cell `cell` of `strip` into it; an invalid cell leaves
// the picture empty.
void RestoreFromStrip(THoverImage* image, const GlyphStrip& strip, int cell);
