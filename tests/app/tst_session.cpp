// The game window from Start to the ways out, and the timer that runs it.
#include "SessionTable.h"

#include "BlinkRest.h"

#include <QLineEdit>
#include <QStyleHints>

class SessionTest : public QObject
{
    Q_OBJECT

private slots:
    void gameWindowUnloadsAtAnyMoment_data();
    void gameWindowUnloadsAtAnyMoment();
    void roundEndReachesScoreboardAndBanner();
    void timerRunsTheGameAndTheWindowShowsIt();
    void tickNeverRunsInsideItself();
    void textCursorRestsUntilTheNextKeyOrClick();
};

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

// A blinking cursor on an idle setup window wakes the game twice a second.
void SessionTest::textCursorRestsUntilTheNextKeyOrClick()
{
    QStyleHints* hints = QGuiApplication::styleHints();
    const int desktop = hints->cursorFlashTime();
    QVERIFY(desktop > 0);
    QLineEdit box;
    {
        BlinkRest blinkRest(0);
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
        QTest::keyClick(&box, Qt::Key_A);
        QCOMPARE(hints->cursorFlashTime(), desktop);
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(hints->cursorFlashTime(), desktop);
        QTRY_COMPARE(hints->cursorFlashTime(), 0);
    }
    // Gone, it leaves the desktop's blinking as it found it.
    QCOMPARE(hints->cursorFlashTime(), desktop);
}

QTEST_MAIN(SessionTest)
#include "tst_session.moc"
