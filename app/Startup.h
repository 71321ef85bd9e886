#pragma once

// The steps every start of the program takes around making its application
// object, shared by the game and the benchmark that measures it.

// Before the application object: how a scaled screen is drawn.
void SetScreenScaling();

// After it: the name, version and desktop identity the system shows, and the
// icon of every window.
void DeclareProgram();
