#include "Fakes.h"
#include "PlayfieldView.h"
#include "Session.h"
#include "VirtualKeys.h"
#include "VirtualPad.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

#include <deque>

namespace {

QString Held(int slot, bool left);

// Presses Start with the mouse as soon as the setup window is up.
void PressStartOnceShown(Session& session)
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
        session.form1.Timer1.stop();
        PressStartOnceShown(session);
        session.Form1_Load();
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
        for (int slot = 0; slot < 6; ++slot) {
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

QString Held(int slot, bool left)
{
    return QStringLiteral("slot %1 %2").arg(slot).arg(left ? "left" : "right");
}

} // namespace

class SessionTest : public QObject
{
    Q_OBJECT

private slots:
    void turnKeysSetAndClearTheirFlag_data();
    void turnKeysSetAndClearTheirFlag();
    void otherKeysTurnNobody_data();
    void otherKeysTurnNobody();
    void autoRepeatKeepsAHeldKeyHeld();
    void letterKeysInEveryLayout_data();
    void letterKeysInEveryLayout();
    void firstKeysFollowTheSystemLanguage_data();
    void firstKeysFollowTheSystemLanguage();
    void losingTheKeyboardLetsGoOfEveryKey_data();
    void losingTheKeyboardLetsGoOfEveryKey();
    void releaseNamesTheKeyThatWentDown_data();
    void releaseNamesTheKeyThatWentDown();
    void bothKeysHeldKeepTheHeading();
    void spaceWhileRunningChangesNothing();
    void spaceBetweenRoundsStartsTheNextRound();
    void keyHeldAcrossARoundStartActsFromItsNextPress();
    void gameWindowUnloadsAtAnyMoment_data();
    void gameWindowUnloadsAtAnyMoment();
    void roundEndReachesScoreboardAndBanner();
    void timerRunsTheGameAndTheWindowShowsIt();
    void tickNeverRunsInsideItself();
    void controllerSteersBesideTheKeys_data();
    void controllerSteersBesideTheKeys();
    void controllerButtonActsAsSpaceOnlyBetweenRounds_data();
    void controllerButtonActsAsSpaceOnlyBetweenRounds();
    void controllersTakePlayersFromTheLast_data();
    void controllersTakePlayersFromTheLast();
    void controllerRumblesWhenItsPlayerDies_data();
    void controllerRumblesWhenItsPlayerDies();
    void controllersArePumpedWithAndWithoutTicks();
};

void SessionTest::turnKeysSetAndClearTheirFlag_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("left");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
    QTest::newRow("left arrow") << Qt::Key_Left << none << 0 << true;
    QTest::newRow("right arrow") << Qt::Key_Right << none << 0 << false;
    QTest::newRow("Q") << Qt::Key_Q << none << 1 << true;
    QTest::newRow("W") << Qt::Key_W << none << 1 << false;
    QTest::newRow("V") << Qt::Key_V << none << 2 << true;
    QTest::newRow("B") << Qt::Key_B << none << 2 << false;
    QTest::newRow("O") << Qt::Key_O << none << 3 << true;
    QTest::newRow("P") << Qt::Key_P << none << 3 << false;
    QTest::newRow("keypad +") << Qt::Key_Plus << keypad << 4 << true;
    QTest::newRow("keypad -") << Qt::Key_Minus << keypad << 4 << false;
    QTest::newRow("keypad 1") << Qt::Key_1 << keypad << 5 << true;
    QTest::newRow("keypad 2") << Qt::Key_2 << keypad << 5 << false;
    QTest::newRow("Shift+Q") << Qt::Key_Q << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1 << true;
    QTest::newRow("Ctrl+Alt+W") << Qt::Key_W << (Qt::ControlModifier | Qt::AltModifier) << 1 << false;
    QTest::newRow("Shift+keypad 2") << Qt::Key_2 << (keypad | Qt::ShiftModifier) << 5 << false;
}

void SessionTest::turnKeysSetAndClearTheirFlag()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, slot);
    QFETCH(bool, left);
    Table table;
    table.Press(key, modifiers);
    QCOMPARE(table.HeldFlags(), QStringList{Held(slot, left)});
    // Released with other modifiers than it was pressed with: still released.
    table.Release(key, modifiers ^ Qt::ShiftModifier);
    QCOMPARE(table.HeldFlags(), QStringList{});
}

void SessionTest::otherKeysTurnNobody_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("main-row 1") << Qt::Key_1 << none;
    QTest::newRow("main-row 2") << Qt::Key_2 << none;
    QTest::newRow("main-row +") << Qt::Key_Plus << none;
    QTest::newRow("main-row -") << Qt::Key_Minus << none;
    QTest::newRow("keypad 1 with Num Lock off") << Qt::Key_End << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("keypad 2 with Num Lock off") << Qt::Key_Down << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("keypad 3") << Qt::Key_3 << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("up arrow") << Qt::Key_Up << none;
    QTest::newRow("A") << Qt::Key_A << none;
    QTest::newRow("Tab") << Qt::Key_Tab << none;
    QTest::newRow("Space while running") << Qt::Key_Space << none;
}

void SessionTest::otherKeysTurnNobody()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    Table table;
    table.Press(key, modifiers);
    QCOMPARE(table.HeldFlags(), QStringList{});
    // Nor do their releases clear a held key.
    table.Press(Qt::Key_O);
    table.Release(key, modifiers);
    QCOMPARE(table.HeldFlags(), QStringList{Held(3, true)});
}

void SessionTest::autoRepeatKeepsAHeldKeyHeld()
{
    Table table;
    table.Press(Qt::Key_Q);
    for (int repeat = 0; repeat < 3; ++repeat) {
        table.AutoRepeat(QEvent::KeyRelease, Qt::Key_Q);
        QCOMPARE(table.HeldFlags(), QStringList{Held(1, true)});
        table.AutoRepeat(QEvent::KeyPress, Qt::Key_Q);
        QCOMPARE(table.HeldFlags(), QStringList{Held(1, true)});
    }
    table.Release(Qt::Key_Q);
    QCOMPARE(table.HeldFlags(), QStringList{});
}

void SessionTest::letterKeysInEveryLayout_data()
{
    // What a layout gives for a physical key (X11 key numbers: 24 is where
    // a US keyboard has Q, 38 its A), after a letter typed at 38.
    QTest::addColumn<int>("typedBefore");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<QStringList>("held");
    const QStringList nobody;
    QTest::newRow("AZERTY: Q is where US has A") << int(Qt::Key_Q) << int(Qt::Key_Q) << 38 << QStringList{Held(1, true)};
    QTest::newRow("AZERTY: A where US has Q") << int(Qt::Key_Q) << int(Qt::Key_A) << 24 << nobody;
    QTest::newRow("Dvorak: ' where US has Q") << int(Qt::Key_A) << int(Qt::Key_Apostrophe) << 24 << nobody;
    QTest::newRow("Russian: Q's place") << 0x424 << 0x419 << 24 << QStringList{Held(1, true)};
    QTest::newRow("Russian: W's place") << 0x424 << 0x426 << 25 << QStringList{Held(1, false)};
    QTest::newRow("Russian: V's place") << 0x424 << 0x41C << 55 << QStringList{Held(2, true)};
    QTest::newRow("Russian: B's place") << 0x424 << 0x418 << 56 << QStringList{Held(2, false)};
    QTest::newRow("Russian: O's place") << 0x424 << 0x429 << 32 << QStringList{Held(3, true)};
    QTest::newRow("Russian: P's place") << 0x424 << 0x417 << 33 << QStringList{Held(3, false)};
    QTest::newRow("Russian: A's place") << 0x424 << 0x424 << 38 << nobody;
    QTest::newRow("Greek: ; at Q's place") << 0x391 << int(Qt::Key_Semicolon) << 24 << QStringList{Held(1, true)};
    QTest::newRow("Hebrew: ' at W's place") << 0x5E9 << int(Qt::Key_Apostrophe) << 25 << QStringList{Held(1, false)};
    QTest::newRow("Arabic: P's place") << 0x634 << 0x62D << 33 << QStringList{Held(3, false)};
}

void SessionTest::letterKeysInEveryLayout()
{
    QFETCH(int, typedBefore);
    QFETCH(int, key);
    QFETCH(int, scanCode);
    QFETCH(QStringList, held);
    Table table;
    const auto send = [&table](QEvent::Type type, int key, int scanCode) {
        QKeyEvent event(type, key, Qt::NoModifier, quint32(scanCode), 0, 0);
        QApplication::sendEvent(table.session.form1.Picture1, &event);
    };
    send(QEvent::KeyPress, typedBefore, 38);
    send(QEvent::KeyRelease, typedBefore, 38);
    send(QEvent::KeyPress, key, scanCode);
    QCOMPARE(table.HeldFlags(), held);
    send(QEvent::KeyRelease, key, scanCode);
    QCOMPARE(table.HeldFlags(), QStringList{});
}

void SessionTest::firstKeysFollowTheSystemLanguage_data()
{
    // Before any letter has been typed, the system's language is the guess
    // at the layout; the keys that are no letters go by their label in any
    // layout. X11 key numbers: 24 is where a US keyboard has Q.
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<int>("code");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
    QTest::newRow("Greek: ; at Q's place") << "el_GR" << int(Qt::Key_Semicolon) << none << 24 << 81;
    QTest::newRow("English: ; at Q's place") << "en_US" << int(Qt::Key_Semicolon) << none << 24 << 0;
    QTest::newRow("Russian: left arrow") << "ru_RU" << int(Qt::Key_Left) << none << 113 << 37;
    QTest::newRow("Russian: right arrow") << "ru_RU" << int(Qt::Key_Right) << none << 114 << 39;
    QTest::newRow("Russian: keypad +") << "ru_RU" << int(Qt::Key_Plus) << keypad << 86 << 107;
    QTest::newRow("Russian: keypad -") << "ru_RU" << int(Qt::Key_Minus) << keypad << 82 << 109;
    QTest::newRow("Russian: keypad 1") << "ru_RU" << int(Qt::Key_1) << keypad << 87 << 97;
    QTest::newRow("Hebrew: keypad 2") << "he_IL" << int(Qt::Key_2) << keypad << 88 << 98;
    QTest::newRow("Russian: Esc") << "ru_RU" << int(Qt::Key_Escape) << none << 9 << 27;
    QTest::newRow("Arabic: Space") << "ar_EG" << int(Qt::Key_Space) << none << 65 << 32;
}

void SessionTest::firstKeysFollowTheSystemLanguage()
{
    QFETCH(QString, language);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, scanCode);
    QFETCH(int, code);
    LayoutAwareKeys keys{QLocale(language)};
    const QKeyEvent down(QEvent::KeyPress, key, modifiers, quint32(scanCode), 0, 0);
    QCOMPARE(keys.Pressed(down), code);
    const QKeyEvent up(QEvent::KeyRelease, key, modifiers, quint32(scanCode), 0, 0);
    QCOMPARE(keys.Released(up), code);
}

void SessionTest::losingTheKeyboardLetsGoOfEveryKey_data()
{
    QTest::addColumn<bool>("toAnotherWindow");
    QTest::newRow("another window becomes active") << true;
    QTest::newRow("no window of the game is active") << false;
}

void SessionTest::losingTheKeyboardLetsGoOfEveryKey()
{
    QFETCH(bool, toAnotherWindow);
    Table table;
    QWidget elsewhere;
    QApplication::setActiveWindow(&table.session.form1);
    QVERIFY(table.session.form1.Picture1->hasFocus());
    table.Aim(0, 200, 200, 0, 1);
    table.Press(Qt::Key_Left);
    table.Press(Qt::Key_2, Qt::KeypadModifier);
    if (toAnotherWindow) {
        elsewhere.show();
        QApplication::setActiveWindow(&elsewhere);
    } else {
        QApplication::setActiveWindow(nullptr);
    }
    QCOMPARE(table.HeldFlags(), QStringList{});
    // The keys come up elsewhere; back here, the game has gone on straight.
    QApplication::setActiveWindow(&table.session.form1);
    const PlayerRecord& head = table.session.match.Players[0];
    table.session.game.Tick();
    QCOMPARE(head.DX, 0.f);
    QCOMPARE(head.Y, 201.f);
    // A key still held acts again from its next press.
    table.Press(Qt::Key_Left);
    QCOMPARE(table.HeldFlags(), QStringList{Held(0, true)});
}

void SessionTest::releaseNamesTheKeyThatWentDown_data()
{
    QTest::addColumn<Qt::Key>("pressed");
    QTest::addColumn<Qt::Key>("released");
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("left");
    // Shift pressed while the key is held turns the keypad's digits into
    // its arrows and back.
    QTest::newRow("keypad 2 comes back as down") << Qt::Key_2 << Qt::Key_Down << 5 << false;
    QTest::newRow("keypad 1 comes back as end") << Qt::Key_1 << Qt::Key_End << 5 << true;
    QTest::newRow("keypad + stays +") << Qt::Key_Plus << Qt::Key_Plus << 4 << true;
}

void SessionTest::releaseNamesTheKeyThatWentDown()
{
    QFETCH(Qt::Key, pressed);
    QFETCH(Qt::Key, released);
    QFETCH(int, slot);
    QFETCH(bool, left);
    Table table;
    constexpr quint32 scanCode = 88;
    QKeyEvent down(QEvent::KeyPress, pressed, Qt::KeypadModifier, scanCode, 0, 0);
    QApplication::sendEvent(table.session.form1.Picture1, &down);
    QCOMPARE(table.HeldFlags(), QStringList{Held(slot, left)});
    QKeyEvent up(QEvent::KeyRelease, released, Qt::KeypadModifier | Qt::ShiftModifier, scanCode, 0, 0);
    QApplication::sendEvent(table.session.form1.Picture1, &up);
    QCOMPARE(table.HeldFlags(), QStringList{});
}

void SessionTest::bothKeysHeldKeepTheHeading()
{
    Table table;
    PlayerRecord& player = table.session.match.Players[1];
    const float heading = player.Angle;
    table.Press(Qt::Key_Q);
    table.Press(Qt::Key_W);
    table.session.game.Tick();
    QCOMPARE(player.Angle, heading);
    table.Release(Qt::Key_W);
    table.session.game.Tick();
    QCOMPARE(player.Angle, float(double(heading) + 0.05));
}

void SessionTest::spaceWhileRunningChangesNothing()
{
    Table table;
    table.session.game.Tick();
    const Module1 before = table.session.match;
    const QImage field = table.session.game.Field().Image().copy();
    const int draws = table.random.draws;

    table.Press(Qt::Key_Space);
    QCOMPARE(table.random.draws, draws);
    QCOMPARE(table.session.game.Field().Image(), field);
    for (int slot = 0; slot < 2; ++slot) {
        QCOMPARE(table.session.match.Players[slot].X, before.Players[slot].X);
        QCOMPARE(table.session.match.Players[slot].Angle, before.Players[slot].Angle);
    }
    QVERIFY(!table.session.game.Paused);
}

void SessionTest::spaceBetweenRoundsStartsTheNextRound()
{
    Table table;
    Game& game = table.session.game;
    game.Tick();
    game.Paused = true;
    table.session.SetBannerCaption(QStringLiteral("Level 2"));
    table.session.SetBannerVisible(true);
    QVERIFY(!FieldIsBlack(game.Field()));

    table.random.script = {0.2, 0.4, 0.0, 0.5, 0.6, 0.8, 0.0, 0.5};
    table.Press(Qt::Key_Space);
    QVERIFY(!game.Paused);
    QVERIFY(FieldIsBlack(game.Field()));
    QVERIFY(table.session.form1.Label4->isHidden());
    QVERIFY(table.random.script.isEmpty());
    const PlayerRecord& second = table.session.match.Players[1];
    QCOMPARE(second.X, 0.6f * 225 + 112);
    QCOMPARE(second.Y, 0.8f * 225 + 112);
    QCOMPARE(table.HeldFlags(), QStringList{});

    // A second Space while the new round runs does nothing more.
    const int draws = table.random.draws;
    table.Press(Qt::Key_Space);
    QCOMPARE(table.random.draws, draws);
}

void SessionTest::keyHeldAcrossARoundStartActsFromItsNextPress()
{
    Table table;
    Game& game = table.session.game;
    table.Press(Qt::Key_Left);
    game.Paused = true;
    table.Press(Qt::Key_Space);

    PlayerRecord& player = table.session.match.Players[0];
    const float heading = player.Angle;
    game.Tick();
    QCOMPARE(player.Angle, heading);
    // The key is still down: the next press comes from the auto-repeat.
    table.AutoRepeat(QEvent::KeyRelease, Qt::Key_Left);
    table.AutoRepeat(QEvent::KeyPress, Qt::Key_Left);
    game.Tick();
    QCOMPARE(player.Angle, float(double(heading) + 0.05));
}

void SessionTest::gameWindowUnloadsAtAnyMoment_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<bool>("holdingKeys");
    QTest::newRow("Esc during a round") << true << false << false;
    QTest::newRow("Esc between rounds") << true << true << false;
    QTest::newRow("Esc while steering") << true << false << true;
    QTest::newRow("close box during a round") << false << false << false;
    QTest::newRow("close box between rounds") << false << true << false;
}

void SessionTest::gameWindowUnloadsAtAnyMoment()
{
    QFETCH(bool, byEscape);
    QFETCH(bool, paused);
    QFETCH(bool, holdingKeys);
    Table table;
    QSignalSpy unloaded(&table.session.form1, &Form1::Unloaded);
    table.session.game.Paused = paused;
    if (holdingKeys) {
        table.Press(Qt::Key_Left);
        table.Press(Qt::Key_W);
    }
    if (byEscape)
        table.Press(Qt::Key_Escape);
    else
        QVERIFY(table.session.form1.close());
    QCOMPARE(unloaded.count(), 1);
    QCOMPARE(table.programEnds, 1);
    QVERIFY(!table.session.form1.isVisible());
}

// Player 2 drives into player 1's trail: player 1 scores for the hit and for
// being the last one alive, and the banner announces the next round.
void SessionTest::roundEndReachesScoreboardAndBanner()
{
    Table table;
    Module1& match = table.session.match;
    Game& game = table.session.game;
    table.Aim(0, 100, 100, 0, 1);
    table.Aim(1, 200, 300, 0, 1);
    game.Field().DrawSegment(150, 304, 250, 304, match.Players[0].Color);

    for (int tick = 0; tick < 10 && !game.Paused; ++tick)
        game.Tick();
    QVERIFY(game.Paused);
    QCOMPARE(table.session.form1.Label2[0]->text(), QStringLiteral("03"));
    QCOMPARE(table.session.form1.Label2[1]->text(), QStringLiteral("00"));
    QCOMPARE(table.session.form1.Label4->text(), QStringLiteral("Level 2"));
    QVERIFY(!table.session.form1.Label4->isHidden());
}

void SessionTest::timerRunsTheGameAndTheWindowShowsIt()
{
    Table table;
    Session& session = table.session;
    table.Aim(0, 225, 100, 0, 1);
    session.form1.Timer1.start();
    QVERIFY(QTest::qWaitForWindowExposed(&session.form1));

    // Ticks and the credit colour come from the timer alone.
    QTRY_VERIFY(session.match.Players[0].Y > 120);
    session.form1.Timer1.stop();
    QCoreApplication::processEvents();
    const QImage shown = session.form1.Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, session.game.Field().Image());
    QCOMPARE(session.game.Field().ReadPixel(225, 110), PlayerColors[0]);
    // Every draw past the script is 0.5: red and green half way up, no blue.
    QCOMPARE(session.form1.Label3->palette().color(QPalette::WindowText), QColor(128, 128, 0));
}

// Showing the banner happens inside a tick; a window opened there would run
// its own event loop while the timer keeps firing.
void SessionTest::tickNeverRunsInsideItself()
{
    Table table;
    Session& session = table.session;
    table.Aim(0, 100, 440, 0, 1);
    table.Aim(1, 300, 100, 0, 1);
    QVERIFY(QTest::qWaitForWindowExposed(&session.form1));

    int nestedLoops = 0;
    int ticksInside = -1;
    struct NestedLoopOnShow : QObject
    {
        std::function<void()> run;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Show)
                run();
            return false;
        }
    } filter;
    filter.run = [&] {
        ++nestedLoops;
        const std::int16_t before = session.game.TickCount;
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
        ticksInside = session.game.TickCount - before;
    };
    session.form1.Label4->installEventFilter(&filter);
    session.form1.Timer1.start();

    QTRY_COMPARE(nestedLoops, 1);
    QCOMPARE(ticksInside, 0);
    // Once the nested loop is over the timer drives the game again.
    const std::int16_t after = session.game.TickCount;
    QTRY_VERIFY(session.game.TickCount != after);
}

void SessionTest::controllerSteersBesideTheKeys_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("stickBefore");
    QTest::addColumn<int>("stick");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("letGo");
    QTest::addColumn<QStringList>("held");
    const int none = -1, dpadLeft = SDL_CONTROLLER_BUTTON_DPAD_LEFT, q = Qt::Key_Q;
    const QStringList left{Held(1, true)}, right{Held(1, false)}, nobody;
    QTest::newRow("D-pad left") << dpadLeft << 0 << 0 << 0 << 0 << left;
    QTest::newRow("D-pad right") << int(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) << 0 << 0 << 0 << 0 << right;
    QTest::newRow("left shoulder") << int(SDL_CONTROLLER_BUTTON_LEFTSHOULDER) << 0 << 0 << 0 << 0 << left;
    QTest::newRow("right shoulder") << int(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) << 0 << 0 << 0 << 0 << right;
    QTest::newRow("south button") << int(SDL_CONTROLLER_BUTTON_A) << 0 << 0 << 0 << 0 << nobody;
    QTest::newRow("stick left just past a quarter") << none << 0 << -8400 << 0 << 0 << left;
    QTest::newRow("stick right just past a quarter") << none << 0 << 8400 << 0 << 0 << right;
    QTest::newRow("stick left just short of a quarter") << none << 0 << -8000 << 0 << 0 << nobody;
    QTest::newRow("stick right just short of a quarter") << none << 0 << 8000 << 0 << 0 << nobody;
    QTest::newRow("stick back to a fifth still turns") << none << -9000 << -6600 << 0 << 0 << left;
    QTest::newRow("stick back under a fifth lets go") << none << 9000 << 6500 << 0 << 0 << nobody;
    // With a key on the same player; let go of: 1 the key, 2 the button,
    // 3 the whole controller.
    QTest::newRow("key let go, controller on") << dpadLeft << 0 << 0 << q << 1 << left;
    QTest::newRow("controller let go, key on") << dpadLeft << 0 << 0 << q << 2 << left;
    QTest::newRow("key left, controller right") << int(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) << 0 << 0 << q << 0
                                                << QStringList{Held(1, true), Held(1, false)};
    QTest::newRow("unplugged while turning") << none << -32768 << -32768 << 0 << 3 << nobody;
    QTest::newRow("unplugged, key on") << none << -32768 << -32768 << q << 3 << left;
}

// With two players the one controller steers player 2.
void SessionTest::controllerSteersBesideTheKeys()
{
    QFETCH(int, button);
    QFETCH(int, stickBefore);
    QFETCH(int, stick);
    QFETCH(int, key);
    QFETCH(int, letGo);
    QFETCH(QStringList, held);
    Table table;
    VirtualPad& pad = table.Plug();
    if (key)
        table.Press(Qt::Key(key));
    pad.Press(button);
    pad.Stick(stickBefore);
    table.Pump();
    pad.Stick(stick);
    if (letGo == 1)
        table.Release(Qt::Key(key));
    if (letGo == 2)
        pad.Press(button, false);
    if (letGo == 3) {
        // One plugged in just before takes the player let go.
        table.Plug();
        pad.Unplug();
    }
    table.Pump();
    QCOMPARE(table.HeldFlags(), held);
    QCOMPARE(table.session.controllers.Slots().back(), 1);

    // The tick turns as it does for the keys; left and right cancel.
    const PlayerRecord& player = table.session.match.Players[1];
    const float heading = player.Angle;
    table.session.game.Tick();
    const int turns = int(held.contains(Held(1, true))) - int(held.contains(Held(1, false)));
    QCOMPARE(player.Angle, float(double(heading) + 0.05 * turns));
}

void SessionTest::controllerButtonActsAsSpaceOnlyBetweenRounds_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<bool>("nextRound");
    QTest::newRow("south button between rounds") << int(SDL_CONTROLLER_BUTTON_A) << true << true;
    QTest::newRow("Start between rounds") << int(SDL_CONTROLLER_BUTTON_START) << true << true;
    QTest::newRow("south button during a round") << int(SDL_CONTROLLER_BUTTON_A) << false << false;
    QTest::newRow("east button between rounds") << int(SDL_CONTROLLER_BUTTON_B) << true << false;
    QTest::newRow("Back between rounds") << int(SDL_CONTROLLER_BUTTON_BACK) << true << false;
}

void SessionTest::controllerButtonActsAsSpaceOnlyBetweenRounds()
{
    QFETCH(int, button);
    QFETCH(bool, paused);
    QFETCH(bool, nextRound);
    Table table;
    VirtualPad& pad = table.Plug();
    table.Pump();
    Game& game = table.session.game;
    game.Paused = paused;
    const int draws = table.random.draws;
    pad.Press(button);
    table.Pump();
    QCOMPARE(game.Paused, paused && !nextRound);
    // A new round places both players: four draws each.
    QCOMPARE(table.random.draws, draws + (nextRound ? 8 : 0));
    // Held on into the next pause, the button starts nothing more.
    game.Paused = true;
    table.Pump();
    QVERIFY(game.Paused);
    QVERIFY(table.session.form1.isVisible());
}

void SessionTest::controllersTakePlayersFromTheLast_data()
{
    QTest::addColumn<int>("players");
    QTest::addColumn<int>("atStart");
    QTest::addColumn<int>("duringMatch");
    QTest::addColumn<QList<int>>("steers");
    QTest::newRow("two players, two controllers") << 2 << 2 << 0 << QList<int>{1, 0};
    QTest::newRow("six players, two controllers") << 6 << 2 << 0 << QList<int>{5, 4};
    QTest::newRow("two players, three controllers") << 2 << 3 << 0 << QList<int>{1, 0, -1};
    QTest::newRow("four players, two plugged in the match") << 4 << 1 << 2 << QList<int>{3, 2, 1};
    QTest::newRow("three players, one too many plugged in") << 3 << 2 << 2 << QList<int>{2, 1, 0, -1};
}

void SessionTest::controllersTakePlayersFromTheLast()
{
    QFETCH(int, players);
    QFETCH(int, atStart);
    QFETCH(int, duringMatch);
    QFETCH(QList<int>, steers);
    Table table;
    // Every one turning left all along, the first ones since the last match.
    for (int pad = 0; pad < atStart; ++pad)
        table.Plug().Press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    table.Pump();
    table.StartWith(players);
    for (int pad = 0; pad < duringMatch; ++pad)
        table.Plug().Press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    table.Pump();
    QCOMPARE(table.session.controllers.Slots(), steers);
    QStringList held;
    for (int slot = 0; slot < 6; ++slot)
        if (steers.contains(slot))
            held << Held(slot, true);
    QCOMPARE(table.HeldFlags(), held);
    // Each shows whom it steers: the player's number and colour.
    for (int pad = 0; pad < steers.size(); ++pad) {
        QCOMPARE(table.pads[pad].playerIndex, steers[pad]);
        QCOMPARE(table.pads[pad].light, steers[pad] < 0 ? Black : PlayerColors[steers[pad]]);
    }
}

void SessionTest::controllerRumblesWhenItsPlayerDies_data()
{
    QTest::addColumn<int>("victim");
    QTest::addColumn<int>("rumbles");
    QTest::newRow("its player's head dies") << 1 << 1;
    QTest::newRow("the other player's head dies") << 0 << 0;
}

void SessionTest::controllerRumblesWhenItsPlayerDies()
{
    QFETCH(int, victim);
    QFETCH(int, rumbles);
    Table table;
    VirtualPad& pad = table.Plug();
    table.Pump();
    table.Aim(victim, 225, 450, 0, 1);
    table.Aim(1 - victim, 100, 100, 0, 1);
    table.session.game.Tick();
    QVERIFY(table.session.match.Players[victim].Dead);
    QCOMPARE(pad.rumbles.size(), rumbles);
    QVERIFY(!pad.rumbles.contains(0));
}

// Before every tick; while none comes (a window opened inside one runs its
// own loop), every 50 ms all the same.
void SessionTest::controllersArePumpedWithAndWithoutTicks()
{
    Table table;
    Session& session = table.session;
    table.Plug().Press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    QTRY_COMPARE(session.controllers.Slots(), QList<int>{1});
    table.Aim(1, 225, 100, 0, 1);
    const float heading = session.match.Players[1].Angle;
    session.form1.Timer1.start();
    QTRY_VERIFY(session.match.Players[1].Angle > heading + 0.2f);
}

QTEST_MAIN(SessionTest)
#include "tst_session.moc"
