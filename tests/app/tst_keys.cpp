// The game keys on the playfield: turns, Space, Esc and the focus.
#include "SessionTable.h"

#include <QAbstractEventDispatcher>

#include <array>

namespace {

// A focus event as X sends it to the game ("out grab nonlinear"): its type,
// detail and mode bytes where the X protocol puts them.
void SendXFocusEvent(const QString& words)
{
    const QStringList word = words.split(' ');
    const QStringList modes{"normal", "grab", "ungrab", "whileGrabbed"};
    const QStringList details{"ancestor", "virtual", "inferior", "nonlinear", "nonlinearVirtual", "pointer"};
    std::array<quint8, 32> event{};
    event[0] = word[0] == "in" ? 9 : 10;
    event[1] = quint8(details.indexOf(word[2]));
    event[8] = quint8(modes.indexOf(word[1]));
    qintptr result = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", event.data(), &result);
}

} // namespace

class KeysTest : public QObject
{
    Q_OBJECT

private slots:
    void turnKeysSetAndClearTheirFlag_data();
    void turnKeysSetAndClearTheirFlag();
    void otherKeysTurnNobody_data();
    void otherKeysTurnNobody();
    void autoRepeatKeepsAHeldKeyHeld();
    void losingTheKeyboardLetsGoOfEveryKey_data();
    void losingTheKeyboardLetsGoOfEveryKey();
    void releaseNamesTheKeyThatWentDown_data();
    void releaseNamesTheKeyThatWentDown();
    void twoKeysForOneTurnAreHeldEachOnItsOwn();
    void keysLetGoWhileXHadTheFocusElsewhere_data();
    void keysLetGoWhileXHadTheFocusElsewhere();
    void bothKeysHeldKeepTheHeading();
    void spaceWhileRunningChangesNothing();
    void spaceBetweenRoundsStartsTheNextRound();
    void keyHeldAcrossARoundStartActsFromItsNextPress();
};

void KeysTest::turnKeysSetAndClearTheirFlag_data()
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

void KeysTest::turnKeysSetAndClearTheirFlag()
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

void KeysTest::otherKeysTurnNobody_data()
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

void KeysTest::otherKeysTurnNobody()
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

void KeysTest::autoRepeatKeepsAHeldKeyHeld()
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

void KeysTest::losingTheKeyboardLetsGoOfEveryKey_data()
{
    QTest::addColumn<bool>("toAnotherWindow");
    QTest::newRow("another window becomes active") << true;
    QTest::newRow("no window of the game is active") << false;
}

void KeysTest::losingTheKeyboardLetsGoOfEveryKey()
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

void KeysTest::releaseNamesTheKeyThatWentDown_data()
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

void KeysTest::releaseNamesTheKeyThatWentDown()
{
    QFETCH(Qt::Key, pressed);
    QFETCH(Qt::Key, released);
    QFETCH(int, slot);
    QFETCH(bool, left);
    Table table;
    constexpr quint32 scanCode = 88;
    table.Send(QEvent::KeyPress, pressed, Qt::KeypadModifier, scanCode);
    QCOMPARE(table.HeldFlags(), QStringList{Held(slot, left)});
    table.Send(QEvent::KeyRelease, released, Qt::KeypadModifier | Qt::ShiftModifier, scanCode);
    QCOMPARE(table.HeldFlags(), QStringList{});
}

// The left arrow and the keypad's 4 with Num Lock off are both player 1's
// left turn; letting go of one leaves the turn to the other.
void KeysTest::twoKeysForOneTurnAreHeldEachOnItsOwn()
{
    Table table;
    constexpr quint32 arrow = 113, keypad4 = 83;
    table.Send(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, arrow);
    table.Send(QEvent::KeyPress, Qt::Key_Left, Qt::KeypadModifier, keypad4);
    table.Send(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, arrow);
    QCOMPARE(table.HeldFlags(), QStringList{Held(0, true)});
    table.Send(QEvent::KeyRelease, Qt::Key_Left, Qt::KeypadModifier, keypad4);
    QCOMPARE(table.HeldFlags(), QStringList{});
}

void KeysTest::keysLetGoWhileXHadTheFocusElsewhere_data()
{
    // What X sends the game window, in order (as openbox's X server sent
    // them), while the keys come up elsewhere; the focus is back before Qt
    // would tell the game it left.
    QTest::addColumn<QStringList>("xEvents");
    QTest::addColumn<bool>("stillHeld");
    QTest::newRow("Alt+Tab there and back")
        << QStringList{"out grab ancestor", "out grab pointer", "in ungrab nonlinear", "out normal nonlinear",
                       "in grab pointer", "out grab pointer", "in normal nonlinear"}
        << false;
    QTest::newRow("a notification takes the focus for a moment")
        << QStringList{"out normal nonlinear", "in normal nonlinear"} << false;
    QTest::newRow("the focus goes inside the game window") << QStringList{"out normal inferior"} << true;
}

void KeysTest::keysLetGoWhileXHadTheFocusElsewhere()
{
    QFETCH(QStringList, xEvents);
    QFETCH(bool, stillHeld);
    Table table;
    table.Aim(0, 200, 200, 0, 1);
    table.Press(Qt::Key_Left);
    for (const QString& xEvent : xEvents)
        SendXFocusEvent(xEvent);
    const QStringList held = stillHeld ? QStringList{Held(0, true)} : QStringList{};
    QCOMPARE(table.HeldFlags(), held);
    table.session.game.Tick();
    QCOMPARE(table.session.match.Players[0].DX == 0.f, !stillHeld);
    // A key still down acts again from its next press.
    table.Press(Qt::Key_Left);
    QCOMPARE(table.HeldFlags(), QStringList{Held(0, true)});
}

void KeysTest::bothKeysHeldKeepTheHeading()
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

void KeysTest::spaceWhileRunningChangesNothing()
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

void KeysTest::spaceBetweenRoundsStartsTheNextRound()
{
    Table table;
    Game& game = table.session.game;
    game.Tick();
    game.Paused = true;
    table.session.view.SetBannerCaption(QStringLiteral("Level 2"));
    table.session.view.SetBannerVisible(true);
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

void KeysTest::keyHeldAcrossARoundStartActsFromItsNextPress()
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

QTEST_MAIN(KeysTest)
#include "tst_keys.moc"
