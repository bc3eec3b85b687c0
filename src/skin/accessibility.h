#pragma once

#include <initializer_list>

class QWidget;

// Screen readers see the skin's controls for what they are: picture and flat buttons as buttons
// they can press, spin arrows as a spin box that steps, paint boxes as the text they show. Every
// skin control calls this as it is built; calls after the first change nothing.
void installSkinAccessibility();

// What a screen reader says for one control. A null name keeps the control's own (its caption,
// or a picture button's hint); a null description leaves it without one.
struct AccessibleText
{
    QWidget* widget;
    const char16_t* name;
    const char16_t* description;
};

void setAccessibleTexts(std::initializer_list<AccessibleText> texts);
