#include "Admission.h"
#include "Seats.h"

#include <QtTest>

using namespace net;

namespace {

constexpr SeatSet Player(int number) { return SeatSet(1u << (number - 1)); }
constexpr int Refused = -1;
constexpr int Watch = 0;

Seats SeatsAfter(bool hostPlaysAlone, const QList<int>& joins)
{
    Seats seats(hostPlaysAlone);
    for (const int wanted : joins)
        seats.Join(wanted == Watch ? 1 : wanted, wanted == Watch);
    return seats;
}

} // namespace

class SeatsTest : public QObject
{
    Q_OBJECT

private slots:
    void joiningTakesTheLowestFreePlayers_data();
    void joiningTakesTheLowestFreePlayers();
    void leavingGivesTheSeatsToTheHost();
    void onlyTheOwnerSteers_data();
    void onlyTheOwnerSteers();
    void theHostMovesPlayers_data();
    void theHostMovesPlayers();
    void refusalNamesBothVersions();
};

void SeatsTest::joiningTakesTheLowestFreePlayers_data()
{
    QTest::addColumn<bool>("hostPlaysAlone");
    QTest::addColumn<QList<int>>("joins");  // seats each computer asks for, Watch to watch
    QTest::addColumn<QList<int>>("seated"); // the seats each was given, or Refused
    QTest::newRow("host keeps 1 and 2") << false << QList<int>{1} << QList<int>{Player(3)};
    QTest::newRow("host alone gives away 2") << true << QList<int>{1} << QList<int>{Player(2)};
    QTest::newRow("host alone, three asked") << true << QList<int>{3} << QList<int>{Player(2) | Player(3) | Player(4)};
    QTest::newRow("two computers, two each") << false << QList<int>{2, 2} << QList<int>{Player(3) | Player(4), Player(5) | Player(6)};
    QTest::newRow("fewer free than asked") << false << QList<int>{3, 2} << QList<int>{Player(3) | Player(4) | Player(5), Player(6)};
    QTest::newRow("nothing free: watches") << false << QList<int>{4, 1} << QList<int>{Player(3) | Player(4) | Player(5) | Player(6), 0};
    QTest::newRow("a watcher takes nothing") << false << QList<int>{Watch, 1} << QList<int>{0, Player(3)};
    QTest::newRow("five computers, one each") << true << QList<int>{1, 1, 1, 1, 1} << QList<int>{Player(2), Player(3), Player(4), Player(5), Player(6)};
    QTest::newRow("a sixth computer watches") << true << QList<int>{1, 1, 1, 1, 1, 1} << QList<int>{Player(2), Player(3), Player(4), Player(5), Player(6), 0};
    QTest::newRow("watchers apart from the five") << false << QList<int>{Watch, Watch, Watch, Watch, Watch, 1} << QList<int>{0, 0, 0, 0, 0, Player(3)};
    QTest::newRow("a ninth watcher is refused") << false << QList<int>(9, Watch) << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, Refused};
    QTest::newRow("one asking for players when eight watch") << true << QList<int>{1, 1, 1, 1, 1, Watch, Watch, Watch, Watch, Watch, Watch, Watch, Watch, 1}
                                                             << QList<int>{Player(2), Player(3), Player(4), Player(5), Player(6), 0, 0, 0, 0, 0, 0, 0, 0, Refused};
}

void SeatsTest::joiningTakesTheLowestFreePlayers()
{
    QFETCH(bool, hostPlaysAlone);
    QFETCH(QList<int>, joins);
    QFETCH(QList<int>, seated);
    Seats seats(hostPlaysAlone);
    for (qsizetype i = 0; i < joins.size(); ++i) {
        const std::optional<Seats::Joined> joined = seats.Join(joins[i] == Watch ? 1 : joins[i], joins[i] == Watch);
        QCOMPARE(joined ? int(joined->seats) : Refused, seated[i]);
        if (joined) {
            QCOMPARE(seats.SeatsOf(joined->computer), joined->seats);
            // A watcher's number never names an owner in a seat map.
            QCOMPARE(Seats::IsWatcher(joined->computer), joined->seats == 0);
        }
    }
    QCOMPARE(seats.Owner(1), HostComputer);
    QCOMPARE(seats.Owner(2), hostPlaysAlone && !joins.isEmpty() && joins[0] != Watch ? ComputerId(1) : HostComputer);
}

void SeatsTest::leavingGivesTheSeatsToTheHost()
{
    Seats seats = SeatsAfter(true, {2, 1});
    seats.Leave(1);
    const SeatMap expected{{HostComputer, HostComputer, HostComputer, 2, NoComputer, NoComputer}};
    QVERIFY(seats.Map() == expected);
    QVERIFY(!seats.IsJoined(1));
    // The freed computer number is given again; the seats the host now
    // steers are not: the next one takes the players still unticked.
    const std::optional<Seats::Joined> next = seats.Join(1, false);
    QVERIFY(next.has_value());
    QCOMPARE(next->computer, ComputerId(1));
    QCOMPARE(next->seats, Player(5));
}

void SeatsTest::onlyTheOwnerSteers_data()
{
    QTest::addColumn<int>("computer");
    QTest::addColumn<int>("player");
    QTest::addColumn<bool>("steers");
    // Host alone; computer 1 has players 2 and 3, computer 2 has player 4.
    QTest::newRow("its own first seat") << 1 << 2 << true;
    QTest::newRow("its own second seat") << 1 << 3 << true;
    QTest::newRow("another computer's seat") << 1 << 4 << false;
    QTest::newRow("the host's player") << 2 << 1 << false;
    QTest::newRow("a player nobody has") << 2 << 5 << false;
    QTest::newRow("player 0") << 1 << 0 << false;
    QTest::newRow("player 7") << 1 << 7 << false;
    QTest::newRow("a computer not joined") << 3 << 5 << false;
    QTest::newRow("computer number past the last") << 200 << 2 << false;
    QTest::newRow("the host steers its own") << 0 << 1 << true;
}

void SeatsTest::onlyTheOwnerSteers()
{
    QFETCH(int, computer);
    QFETCH(int, player);
    QFETCH(bool, steers);
    const Seats seats = SeatsAfter(true, {2, 1});
    QCOMPARE(seats.MaySteer(ComputerId(computer), player), steers);
}

void SeatsTest::theHostMovesPlayers_data()
{
    QTest::addColumn<int>("player");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<int>("owner");
    // Computer 1 has player 3; computer 6 watches.
    QTest::newRow("host's player 2 to a computer") << 2 << 1 << true << 1;
    QTest::newRow("to a watcher") << 2 << 6 << false << 0;
    QTest::newRow("a free player to the host's keyboard") << 4 << 0 << true << 0;
    QTest::newRow("a computer's player back to the host") << 3 << 0 << true << 0;
    QTest::newRow("to a computer not joined") << 2 << 2 << false << 0;
    QTest::newRow("player 0") << 0 << 1 << false << int(NoComputer);
    QTest::newRow("player 7") << 7 << 1 << false << int(NoComputer);
}

void SeatsTest::theHostMovesPlayers()
{
    QFETCH(int, player);
    QFETCH(int, to);
    QFETCH(bool, moved);
    QFETCH(int, owner);
    Seats seats = SeatsAfter(false, {1, Watch});
    QCOMPARE(seats.Move(player, ComputerId(to)), moved);
    QCOMPARE(int(seats.Owner(player)), owner);
}

void SeatsTest::refusalNamesBothVersions()
{
    Seats seats(false);
    const Hello hello{QStringLiteral("1.00.0008"), 4711, {}, 1, false};
    const auto answer = Admit(hello, HostFacts{QStringLiteral("1.00.0007"), 4711}, seats);
    QVERIFY(std::holds_alternative<Refusal>(answer));
    const QString line = RefusalLine(std::get<Refusal>(answer));
    QVERIFY2(line.contains(QStringLiteral("1.00.0007")) && line.contains(QStringLiteral("1.00.0008")), qPrintable(line));
    QVERIFY2(line.indexOf(QStringLiteral("1.00.0007")) < line.indexOf(QStringLiteral("1.00.0008")), qPrintable(line));
}

QTEST_APPLESS_MAIN(SeatsTest)
#include "tst_seats.moc"
