#pragma once

#include <QApplication>

// The steps every start of the program takes around making its application
// object, shared by the game and the benchmark that measures it.

// Before the application object: how a scaled screen is drawn.
void SetScreenScaling();

// Before the application object: where the environment names no locale at
// all (a bare system's root), characters are taken as UTF-8 rather than
// ASCII. Qt assumes UTF-8 anyway, but the X library, which writes the
// windows' titles for window managers that read the older title property,
// would otherwise garble every letter beyond ASCII.
void PreferUtf8Characters();

// Makes the application object, which opens the display. Qt's messages are
// held back meanwhile (HeldStartMessages). A start that cannot open a window
// ends with one line on standard error and exit status 1, instead of Qt's
// abort: the platform plugin asked for does not exist, or no display could
// be opened (and what was tried).
QApplication OpenDisplay(int& argc, char** argv);

// Holds Qt's messages, and whatever else is written to standard error, back
// for as long as it lives and then passes them on (Qt's notice of a missing
// XDG_RUNTIME_DIR excepted), unless the start has ended on a platform plugin
// failure first. One at a time.
class HeldStartMessages
{
public:
    HeldStartMessages();
    ~HeldStartMessages();
    HeldStartMessages(const HeldStartMessages&) = delete;
    HeldStartMessages& operator=(const HeldStartMessages&) = delete;
};

// After it: the name, version and desktop identity the system shows, and the
// icon of every window.
void DeclareProgram();
