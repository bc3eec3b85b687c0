#pragma once

#include <QColor>

// The skin's colours. Each is named here once so a window, a caption and a control that share a
// colour cannot drift apart.
namespace SkinColours {

// Colours of the layouts, as 0x00BBGGRR values: what layoutColor(), TLabel and TPanel take.
inline constexpr unsigned Black = 0x00000000;
inline constexpr unsigned Red = 0x000000FF;
// The home-page link under the pointer.
inline constexpr unsigned LinkHoverRed = 0x000201FB;
inline constexpr unsigned Aqua = 0x00FFFF00;
inline constexpr unsigned SummaryCyan = 0x00FFFF77;
inline constexpr unsigned ClockCyan = 0x00FFFF59;
inline constexpr unsigned TitleGrey = 0x00626262;
inline constexpr unsigned WindowGrey = 0x00ADADAD;
// The text of a disabled control.
inline constexpr unsigned DisabledText = 0x00808080;

// The classic raised and lowered edges of the panels, spin buttons and title-bar buttons.
inline constexpr QColor BevelFace(212, 208, 200);
inline constexpr QColor BevelHighlight(255, 255, 255);
inline constexpr QColor BevelShadow(128, 128, 128);
inline constexpr QColor BevelDarkShadow(64, 64, 64);

} // namespace SkinColours
