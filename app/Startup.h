#pragma once

// The steps every start of the program takes around making its application
// object, shared by the game and the benchmark that measures it.

// Before the application object: how a scaled screen is drawn.
void SetScreenScaling();

// Around making it: until DisplayOpened(), Qt's messages are held back, and
// a start that finds no display to open ends with one line on standard error
// saying so and what was tried, and exit status 1, instead of Qt's abort.
void ExpectDisplay();
void DisplayOpened();

// After it: the name, version and desktop identity the system shows, and the
// icon of every window.
void DeclareProgram();
