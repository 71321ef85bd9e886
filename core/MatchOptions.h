#pragma once

#include <QStringView>

class Screens;

// Reads a number the lenient way players can type it: blanks, tabs and line
// feeds anywhere are ignored, the number is read up to the first character
// that cannot continue it, and a text without a number is 0.
double LenientNumber(QStringView text);

// The number of rounds R as the setup window holds it right now.
double NumberOfRounds(const Screens& screens);
