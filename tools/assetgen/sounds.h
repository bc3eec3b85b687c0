#pragma once

#include <QByteArray>

// The three alarm sounds as complete RIFF WAVE files.
namespace Sounds {

QByteArray beep();    // id 1
QByteArray alarm();   // id 2
QByteArray beepTwo(); // id 3

// sin(2 * pi * num / den) from plain arithmetic only, so every machine gets the same
// samples whatever its maths library.
double sineOfTurns(long long num, long long den);

} // namespace Sounds
