#include "Fakes.h"
#include "Form3.h"
#include "GameView.h"
#include "OutlineShape.h"
#include "Session.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

using Step = std::function<void(QWidget* modal)>;

// Plays the part of the players in front of modal windows, which run their
// own event loops: each time a new one comes up, the next step deals with it.
class ModalScript
{
public:
    explicit ModalScript(QList<Step> steps) : steps(std::move(steps))
    {
        watch.callOnTimeout([this] { Look(); });
        watch.start(5);
    }

    int Done() const { return done; }

private:
    void Look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == current)
            return;
        current = modal;
        if (!modal)
            return;
        if (done < steps.size()) {
            steps[done++](modal);
            if (!QTest::currentTestFailed())
                return;
        }
        // A failed step, or a window no step expects, must not leave the
        // test waiting in a modal loop for ever.
        modal->hide();
    }

    QList<Step> steps;
    QTimer watch;
    QWidget* current = nullptr;
    int done = 0;
};

QStringList Scoreboard(const Form1& window)
{
    QStringList rows;
    for (int slot = 0; slot < Form1::ScoreRows; ++slot)
        if (!window.Label1[slot]->isHidden())
            rows << window.Label1[slot]->text() + u' ' + window.Label2[slot]->text();
    return rows;
}

// A session whose way out is only counted, on scripted random numbers.
struct Program
{
    void PressStart() { QTest::mousePress(session.form2.Label2[0], Qt::LeftButton); }
    void PressExit() { QTest::mousePress(session.form2.Label2[1], Qt::RightButton); }
    // Ticks or unticks "Hraju také!" of player 3 to 6.
    void ClickTakesPart(int player) { session.form2.Check1[player - 3]->click(); }

    // Slot 0 lives long in the middle; every other active head runs into
    // the frame within a few ticks, so the round ends with slot 0 alone.
    void EndRoundSoon()
    {
        PlaceHead(session.match, 0, 200, 100, 0, 1);
        for (int slot = 1; slot <= session.match.LastPlayer; ++slot)
            PlaceHead(session.match, slot, 440, float(60 + 60 * slot), 1, 0);
    }

    QStringList Scoreboard() const { return ::Scoreboard(session.form1); }

    int programEnds = 0;
    ScriptedRandom random;
    Session session{random, [this] { ++programEnds; }};
};

QStringList WinnerRows(QWidget* modal)
{
    auto* winners = qobject_cast<Form3*>(modal);
    if (!winners)
        return {QStringLiteral("not the winner window")};
    QStringList rows;
    for (const QLabel* row : winners->Label2)
        rows << QStringLiteral("%1 %2 %3").arg(row->y()).arg(row->text(),
                                                            row->palette().color(QPalette::WindowText).name());
    return rows;
}

} // namespace

class MatchFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void startUpOpensTheSetupWindowAlone();
    void startPreparesTheMatch_data();
    void startPreparesTheMatch();
    void matchAfterMatch();
    void viewShowsPlainData();
    void roundWaitsWhileNobodyCanPlayIt_data();
    void roundWaitsWhileNobodyCanPlayIt();
    void waysOutOfTheSetupWindow_data();
    void waysOutOfTheSetupWindow();
};

// Until Start, the game window is neither shown nor ticking: its timer would
// wake the idle game a hundred times a second.
void MatchFlowTest::startUpOpensTheSetupWindowAlone()
{
    Program program;
    Session& session = program.session;
    ModalScript players({[&](QWidget* modal) {
        QCOMPARE(modal, &session.form2);
        QVERIFY(!session.form1.Timer1.isActive());
        QVERIFY(!session.form1.windowHandle());
        program.PressStart();
    }});
    session.Form1_Load();

    QCOMPARE(players.Done(), 1);
    QVERIFY(session.form1.Timer1.isActive());
    QVERIFY(session.form2.isHidden());
    QVERIFY(session.form1.isVisible());
    QVERIFY(!session.game.Paused);
    for (int slot = 0; slot < PlayerSlots; ++slot)
        QCOMPARE(session.match.Players[slot].Color, PlayerColors[slot]);
    // The first round runs at once, without Space.
    QTRY_VERIFY(session.game.TickCount > 0);
    QVERIFY(!FieldIsBlack(session.game.Field()));
}

void MatchFlowTest::startPreparesTheMatch_data()
{
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("scoreboard");
    QTest::newRow("two players") << QList<int>{} << QStringList{"Ája", "Bob"}
                                 << QStringList{"Ája 00", "Bob 00"};
    QTest::newRow("three players") << QList<int>{3} << QStringList{"A", "B", "C", "D"}
                                   << QStringList{"A 00", "B 00", "C 00"};
    QTest::newRow("four players") << QList<int>{3, 4} << QStringList{"A", "B", "C", "D", "E"}
                                  << QStringList{"A 00", "B 00", "C 00", "D 00"};
    QTest::newRow("five players") << QList<int>{3, 4, 5} << QStringList{"1", "2", "3", "4", "5", "6"}
                                  << QStringList{"1 00", "2 00", "3 00", "4 00", "5 00"};
    QTest::newRow("six players") << QList<int>{3, 4, 5, 6} << QStringList{"a", "b", "c", "d", "e", "f"}
                                 << QStringList{"a 00", "b 00", "c 00", "d 00", "e 00", "f 00"};
    // Player 4 leaves with player 3: the boxes and the count agree.
    QTest::newRow("3 and 4, then 3 off") << QList<int>{3, 4, 3} << QStringList{"A", "B", "C", "D"}
                                         << QStringList{"A 00", "B 00"};
    QTest::newRow("3 to 6, then 5 off") << QList<int>{3, 4, 5, 6, 5} << QStringList{"A", "B", "C", "D"}
                                        << QStringList{"A 00", "B 00", "C 00", "D 00"};
    QTest::newRow("names as typed") << QList<int>{3} << QStringList{"", " x ", "12345678"}
                                    << QStringList{" 00", " x  00", "12345678 00"};
}

void MatchFlowTest::startPreparesTheMatch()
{
    QFETCH(QList<int>, ticked);
    QFETCH(QStringList, names);
    QFETCH(QStringList, scoreboard);
    Program program;
    Session& session = program.session;
    session.form1.Timer1.stop();
    // What a previous match may have left behind.
    for (PlayerRecord& player : session.match.Players) {
        player.Score = 9;
        player.Dead = true;
    }
    session.game.Field().FillBox(10, 10, 440, 440, PlayerColors[2]);

    ModalScript players({[&](QWidget*) {
        for (int player : ticked)
            program.ClickTakesPart(player);
        for (int i = 0; i < names.size(); ++i)
            session.form2.Text1[i]->setText(names[i]);
        program.PressStart();
    }});
    session.Form1_Load();

    const int last = int(scoreboard.size()) - 1;
    QCOMPARE(session.match.LastPlayer, last);
    QCOMPARE(program.Scoreboard(), scoreboard);
    QCOMPARE(session.match.Level, 1);
    for (int slot = 0; slot < PlayerSlots; ++slot) {
        const PlayerRecord& player = session.match.Players[slot];
        QCOMPARE(player.Score, slot <= last ? 0 : 9);
        QCOMPARE(player.Dead, slot > last);
        if (slot <= last) {
            QVERIFY(player.X >= 112 && player.X <= 337 && player.Y >= 112 && player.Y <= 337);
            QVERIFY(player.Speed > 0);
        }
    }
    // Names beyond the players keep their old captions.
    for (int slot = last + 1; slot < PlayerSlots; ++slot)
        QCOMPARE(session.form1.Label1[slot]->text(), QStringLiteral("Hráč %1").arg(slot + 1));
    QVERIFY(FieldIsBlack(session.game.Field()));
    QVERIFY(session.form2.isHidden());
    QVERIFY(session.form1.isVisible());
}

// Two matches of one round: the first ends in a three-way tie, the second
// with one winner; between them the setup window keeps what was entered.
void MatchFlowTest::matchAfterMatch()
{
    Program program;
    Session& session = program.session;
    session.form1.Timer1.stop();
    int ticksAtWinners = -1;
    QStringList secondScoreboard;
    ModalScript players({
        [&](QWidget*) {
            program.ClickTakesPart(3);
            session.form2.Text2->setText(QStringLiteral("1"));
            session.form2.Text1[0]->setText(QStringLiteral("Adam"));
            session.form2.Text1[1]->clear();
            session.form2.Text1[2]->setText(QStringLiteral("Cyril"));
            program.PressStart();
        },
        [&](QWidget* modal) {
            QVERIFY(session.form1.isVisible());
            QCOMPARE(WinnerRows(modal),
                     QStringList({"88 Adam #00ff00", "114  #ff0000", "139 Cyril #0000ff"}));
            QCOMPARE(static_cast<Form3*>(modal)->Shape1->BorderColor(), QColor(0, 255, 0));
            ticksAtWinners = session.game.TickCount;
            QTest::qWait(50);
            modal->close();
        },
        [&](QWidget* modal) {
            QCOMPARE(modal, &session.form2);
            QVERIFY(session.form1.isHidden());
            QVERIFY(!session.form1.Timer1.isActive());
            QCOMPARE(session.game.TickCount, ticksAtWinners);
            QCOMPARE(session.form2.Text2->text(), QStringLiteral("1"));
            QCOMPARE(session.form2.Text1[0]->text(), QStringLiteral("Adam"));
            QVERIFY(session.form2.Check1[0]->isChecked());
            program.ClickTakesPart(3);
            session.form2.Text1[1]->setText(QStringLiteral("Bára"));
            program.PressStart();
            secondScoreboard = program.Scoreboard();
            program.EndRoundSoon();
        },
        [&](QWidget* modal) {
            QCOMPARE(WinnerRows(modal), QStringList({"88 Adam #00ff00"}));
            QCOMPARE(static_cast<Form3*>(modal)->Shape1->BorderColor(), QColor(0, 255, 0));
            modal->close();
        },
        [&](QWidget*) { program.PressExit(); },
    });
    session.Form1_Load();
    QCOMPARE(program.Scoreboard(), QStringList({"Adam 00", " 00", "Cyril 00"}));

    // Players 2 and 3 bring points along; player 1 draws level by outliving them.
    session.match.Players[1].Score = 2;
    session.match.Players[2].Score = 2;
    program.EndRoundSoon();
    session.form1.Timer1.start();
    QTRY_COMPARE_WITH_TIMEOUT(players.Done(), 5, 10000);

    // The second match started from scratch and without Space.
    QCOMPARE(secondScoreboard, QStringList({"Adam 00", "Bára 00"}));
    QCOMPARE(session.match.LastPlayer, 1);
    QCOMPARE(program.programEnds, 1);
    QVERIFY(session.form2.isHidden());
}

void MatchFlowTest::roundWaitsWhileNobodyCanPlayIt_data()
{
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<bool>("betweenRounds");
    QTest::newRow("minimised in a round") << true << false;
    QTest::newRow("another window in front in a round") << false << false;
    QTest::newRow("minimised between rounds") << true << true;
}

// A round stops where it is while the game window is minimised or not the
// active one, and goes on from there; between rounds the game ticks on.
void MatchFlowTest::roundWaitsWhileNobodyCanPlayIt()
{
    QFETCH(bool, minimised);
    QFETCH(bool, betweenRounds);
    Program program;
    Session& session = program.session;
    ModalScript players({[&](QWidget*) { program.PressStart(); }});
    session.Form1_Load();
    QVERIFY(QTest::qWaitForWindowActive(&session.form1));
    session.game.Paused = betweenRounds;
    const PlayerRecord& head = PlaceHead(session.match, 0, 200, 100, 0, 1);
    PlaceHead(session.match, 1, 300, 100, 0, 1);

    const QRect sign = session.form1.WaitSign->geometry();
    const QImage underSign = session.game.Field().Image().copy(sign);
    QWidget elsewhere;
    if (minimised) {
        session.form1.showMinimized();
    } else {
        elsewhere.show();
        QApplication::setActiveWindow(&elsewhere);
    }
    QCoreApplication::processEvents();
    const float y = head.Y;
    const std::int16_t ticks = session.game.TickCount;
    QTest::qWait(100);
    QCOMPARE(head.Y, y);
    QCOMPARE(session.game.TickCount != ticks, betweenRounds);
    // A waiting round says how to go on, on the screen only; between rounds
    // the banner has its place.
    QCOMPARE(!session.form1.WaitSign->isHidden(), !betweenRounds);
    QCOMPARE(session.game.Field().Image().copy(sign), underSign);
    if (betweenRounds)
        return;

    session.form1.showNormal();
    QApplication::setActiveWindow(&session.form1);
    QTRY_VERIFY(head.Y > y);
    QCOMPARE(head.X, 200.f);
    QVERIFY(session.form1.WaitSign->isHidden());
}

void MatchFlowTest::waysOutOfTheSetupWindow_data()
{
    QTest::addColumn<bool>("afterAMatch");
    QTest::addColumn<bool>("byExit");
    QTest::newRow("Exit at start-up") << false << true;
    QTest::newRow("close box at start-up") << false << false;
    QTest::newRow("Exit after a match") << true << true;
    QTest::newRow("close box after a match") << true << false;
}

void MatchFlowTest::waysOutOfTheSetupWindow()
{
    QFETCH(bool, afterAMatch);
    QFETCH(bool, byExit);
    Program program;
    Session& session = program.session;
    session.form1.Timer1.stop();
    QList<Step> steps;
    if (afterAMatch) {
        steps << [&](QWidget*) {
            session.form2.Text2->setText(QStringLiteral("1"));
            program.PressStart();
        } << [](QWidget* winners) { winners->close(); };
    }
    steps << [&](QWidget*) {
        if (byExit)
            program.PressExit();
        else
            session.form2.close();
    };
    ModalScript players(steps);
    session.Form1_Load();
    if (afterAMatch) {
        program.EndRoundSoon();
        session.form1.Timer1.start();
        QTRY_COMPARE_WITH_TIMEOUT(players.Done(), 3, 10000);
    } else {
        // The game window was never shown.
        QVERIFY(!session.form1.windowHandle());
    }
    QCOMPARE(program.programEnds, 1);
    QVERIFY(session.form2.isHidden());
    QVERIFY(session.form1.isHidden());
}

// The view driven as a match shown from elsewhere would drive it, with plain
// data alone: each lands on its designed control, and a slot that names no
// row is passed over.
void MatchFlowTest::viewShowsPlainData()
{
    QImage playfield(450, 450, QImage::Format_RGB32);
    playfield.fill(Qt::black);
    Form1 gameWindow(playfield);
    Form2 setupWindow;
    QList<std::int16_t> died;
    int winnersSeen = 0;
    GameView view(gameWindow, setupWindow, [&](std::int16_t slot) { died << slot; },
                  [&] { ++winnersSeen; });

    view.ShowPlayers({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cyril")});
    view.ShowScore(2, QStringLiteral("05"));
    view.ShowScore(-1, QStringLiteral("99"));
    view.ShowScore(6, QStringLiteral("99"));
    QCOMPARE(Scoreboard(gameWindow), QStringList({"Ann 00", "Bob 00", "Cyril 05"}));
    view.SetBannerCaption(QStringLiteral("Level 7"));
    view.SetBannerVisible(true);
    QCOMPARE(gameWindow.Label4->text(), QStringLiteral("Level 7"));
    QVERIFY(!gameWindow.Label4->isHidden());
    view.SetWaitSignVisible(true);
    QVERIFY(!gameWindow.WaitSign->isHidden());
    view.SetCreditColor(MakeColorRef(0, 0, 255));
    QCOMPARE(gameWindow.Label3->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    view.HeadDied(1);
    QCOMPARE(died, QList<std::int16_t>({1}));

    QStringList rows;
    ModalScript players({[&](QWidget* modal) {
        rows = WinnerRows(modal);
        modal->close();
    }});
    view.ShowWinners({0, 2, 6});
    QCOMPARE(players.Done(), 1);
    QCOMPARE(rows, QStringList({"88 Ann #00ff00", "114 Cyril #0000ff"}));
    QCOMPARE(winnersSeen, 1);

    setupWindow.Check2[1]->setChecked(true);
    setupWindow.Text2->setText(QStringLiteral("7"));
    QVERIFY(!view.PassThroughOn());
    QVERIFY(view.CaveInsOn());
    QCOMPARE(view.RoundsText(), QStringLiteral("7"));
}

QTEST_MAIN(MatchFlowTest)
#include "tst_match_flow.moc"
