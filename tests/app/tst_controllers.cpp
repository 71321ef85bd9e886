// Game controllers beside the keyboard.
#include "SessionTable.h"

class ControllersTest : public QObject
{
    Q_OBJECT

private slots:
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

void ControllersTest::controllerSteersBesideTheKeys_data()
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
    // 3 the whole controller, 4 the whole controller without SDL telling,
    // 5 the button, once a new round has begun with the key still down.
    QTest::newRow("key let go, controller on") << dpadLeft << 0 << 0 << q << 1 << left;
    QTest::newRow("controller let go, key on") << dpadLeft << 0 << 0 << q << 2 << left;
    QTest::newRow("key left, controller right") << int(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) << 0 << 0 << q << 0
                                                << QStringList{Held(1, true), Held(1, false)};
    QTest::newRow("unplugged while turning") << none << -32768 << -32768 << 0 << 3 << nobody;
    QTest::newRow("unplugged, key on") << none << -32768 << -32768 << q << 3 << left;
    QTest::newRow("unplugged unheard while turning") << none << -32768 << -32768 << 0 << 4 << nobody;
    QTest::newRow("key held into a new round, controller let go") << dpadLeft << 0 << 0 << q << 5 << nobody;
}

// With two players the one controller steers player 2.
void ControllersTest::controllerSteersBesideTheKeys()
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
    if (letGo == 1) {
        table.Release(Qt::Key(key));
        // At once, not only once the controller has been asked again.
        QCOMPARE(table.HeldFlags(), held);
    }
    if (letGo == 2)
        pad.Press(button, false);
    if (letGo == 3) {
        // One plugged in just before takes the player let go.
        table.Plug();
        pad.Unplug();
    }
    if (letGo == 4) {
        // Only the plugging in of the next one is heard of.
        pad.Unplug();
        SDL_FlushEvent(SDL_CONTROLLERDEVICEREMOVED);
        SDL_FlushEvent(SDL_JOYDEVICEREMOVED);
        table.Plug();
    }
    if (letGo == 5) {
        table.session.game.Paused = true;
        table.Press(Qt::Key_Space);
        pad.Press(button, false);
    }
    table.Pump();
    QCOMPARE(table.HeldFlags(), held);
    QCOMPARE(table.session.controllers.Slots(), QList<int>{1});

    // The tick turns as it does for the keys; left and right cancel.
    const PlayerRecord& player = table.session.match.Players[1];
    const float heading = player.Angle;
    table.session.game.Tick();
    const int turns = int(held.contains(Held(1, true))) - int(held.contains(Held(1, false)));
    QCOMPARE(player.Angle, float(double(heading) + 0.05 * turns));
}

void ControllersTest::controllerButtonActsAsSpaceOnlyBetweenRounds_data()
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

void ControllersTest::controllerButtonActsAsSpaceOnlyBetweenRounds()
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

void ControllersTest::controllersTakePlayersFromTheLast_data()
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

void ControllersTest::controllersTakePlayersFromTheLast()
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
    for (int slot = 0; slot < PlayerSlots; ++slot)
        if (steers.contains(slot))
            held << Held(slot, true);
    QCOMPARE(table.HeldFlags(), held);
    // Each shows whom it steers: the player's number and colour.
    for (int pad = 0; pad < steers.size(); ++pad) {
        QCOMPARE(table.pads[pad].playerIndex, steers[pad]);
        QCOMPARE(table.pads[pad].light, steers[pad] < 0 ? Black : PlayerColors[steers[pad]]);
    }
}

void ControllersTest::controllerRumblesWhenItsPlayerDies_data()
{
    QTest::addColumn<int>("victim");
    QTest::addColumn<int>("rumbles");
    QTest::newRow("its player's head dies") << 1 << 1;
    QTest::newRow("the other player's head dies") << 0 << 0;
}

void ControllersTest::controllerRumblesWhenItsPlayerDies()
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
// own loop), on its own, again and again.
void ControllersTest::controllersArePumpedWithAndWithoutTicks()
{
    Table table;
    Session& session = table.session;
    table.Plug().Press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    QTRY_COMPARE(session.controllers.Slots(), QList<int>{1});
    table.Plug();
    QTRY_COMPARE(session.controllers.Slots(), QList<int>({1, 0}));
    table.Aim(1, 225, 100, 0, 1);
    const float heading = session.match.Players[1].Angle;
    session.form1.Timer1.start();
    QTRY_VERIFY(session.match.Players[1].Angle > heading + 0.2f);
}

QTEST_MAIN(ControllersTest)
#include "tst_controllers.moc"
