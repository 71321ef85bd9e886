#pragma once

#include "Fakes.h"
#include "PlayfieldView.h"
#include "Session.h"
#include "VirtualPad.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

#include <deque>

// What the session suites share: a session started as players start it.

// A turn flag as the suites name it: "slot 1 left".
inline QString Held(int slot, bool left)
{
    return QStringLiteral("slot %1 %2").arg(slot).arg(left ? "left" : "right");
}

// Presses Start with the mouse as soon as the setup window is up.
inline void PressStartOnceShown(Session& session)
{
    QTimer::singleShot(0, &session.form2, [&session] {
        QTest::mousePress(session.form2.Label2[0], Qt::LeftButton);
    });
}

// A session on a scripted random source, started the way players start it,
// with its timer stopped so the test decides when a tick happens.
struct Table
{
    Table()
    {
        PressStartOnceShown(session);
        session.Form1_Load();
        session.form1.Timer1.stop();
    }

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyPress(session.form1.Picture1, key, modifiers);
    }
    void Release(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyRelease(session.form1.Picture1, key, modifiers);
    }
    void Aim(int slot, float x, float y, float dx, float dy)
    {
        PlaceHead(session.match, slot, x, y, dx, dy);
    }

    // A key as the platform names it, by its scan code too.
    void Send(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
    {
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(session.form1.Picture1, &event);
    }

    // What a held key sends on X11: a release and a press, both flagged.
    void AutoRepeat(QEvent::Type type, Qt::Key key)
    {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(session.form1.Picture1, &event);
    }

    // Every turn flag that is set, as "slot 1 left".
    QStringList HeldFlags() const
    {
        QStringList held;
        for (int slot = 0; slot < PlayerSlots; ++slot) {
            if (session.match.Players[slot].TurnLeft)
                held << Held(slot, true);
            if (session.match.Players[slot].TurnRight)
                held << Held(slot, false);
        }
        return held;
    }

    // A game controller plugged in now; the game sees it at its next pump.
    VirtualPad& Plug() { return pads.emplace_back(); }
    void Pump() { session.controllers.Pump(); }
    // Start again with this many players.
    void StartWith(int players)
    {
        for (int optional = 0; optional < 4; ++optional)
            session.form2.Check1[optional]->setChecked(optional < players - 2);
        session.Start();
    }

    int programEnds = 0;
    ControllerSupport controllerSupport;
    ScriptedRandom random;
    Session session{random, [this] { ++programEnds; }};
    std::deque<VirtualPad> pads;
};
