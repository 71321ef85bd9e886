#include "DiscoverySockets.h"

#include <QtTest>

using namespace net;

Q_DECLARE_METATYPE(net::SeatMap)

namespace {

constexpr ComputerId None = NoComputer;

DiscoveryAnswer Answer(const QString& name, std::uint16_t port = 24724)
{
    return DiscoveryAnswer{name, 2, 4, port, QStringLiteral("1.00.0007")};
}

} // namespace

class DiscoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void answerCountsPlayersAndFreeSeats_data();
    void answerCountsPlayersAndFreeSeats();
    void askerLimit_data();
    void askerLimit();
    void askerTableStaysBounded();
    void gamesFoundAreForgottenAndBounded();
    void hostAnswersOnLoopback();
};

void DiscoveryTest::answerCountsPlayersAndFreeSeats_data()
{
    QTest::addColumn<SeatMap>("seats");
    QTest::addColumn<int>("guests");
    QTest::addColumn<int>("players");
    QTest::addColumn<int>("freeSeats");
    QTest::newRow("host with two") << SeatMap{{0, 0, None, None, None, None}} << 0 << 2 << 4;
    QTest::newRow("host plays alone") << SeatMap{{0, None, None, None, None, None}} << 0 << 1 << 5;
    QTest::newRow("a watcher takes no seat") << SeatMap{{0, 0, 1, None, None, None}} << 2 << 3 << 3;
    QTest::newRow("every player seated") << SeatMap{{0, 0, 1, 2, 2, 3}} << 3 << 6 << 0;
    QTest::newRow("seats left, no computer may join") << SeatMap{{0, 0, 1, 2, 3, None}} << MaxGuests << 5 << 0;
}

void DiscoveryTest::answerCountsPlayersAndFreeSeats()
{
    QFETCH(SeatMap, seats);
    QFETCH(int, guests);
    QFETCH(int, players);
    QFETCH(int, freeSeats);
    // A name longer than an answer carries is cut to whole letters, or the
    // host would fall silent.
    const DiscoveryAnswer answer = AnswerFor(QString(20, u'Ř'), 24724, QStringLiteral("1"), seats, guests);
    QCOMPARE(int(answer.players), players);
    QCOMPARE(int(answer.freeSeats), freeSeats);
    QCOMPARE(answer.hostName, QString(16, u'Ř'));
    QVERIFY(!Encode(answer).isEmpty());
}

void DiscoveryTest::askerLimit_data()
{
    // Each row: requests from asker 1 at these times (ms), and which of them
    // are answered; "2" marks one from another asker.
    QTest::addColumn<QList<qint64>>("times");
    QTest::addColumn<QList<int>>("askers");
    QTest::addColumn<QList<bool>>("answered");
    QTest::newRow("four a second, not a fifth")
        << QList<qint64>{0, 10, 20, 30, 40} << QList<int>{1, 1, 1, 1, 1}
        << QList<bool>{true, true, true, true, false};
    QTest::newRow("again a second later")
        << QList<qint64>{0, 1, 2, 3, 999, 1000} << QList<int>{1, 1, 1, 1, 1, 1}
        << QList<bool>{true, true, true, true, false, true};
    QTest::newRow("another asker has its own")
        << QList<qint64>{0, 1, 2, 3, 4, 5} << QList<int>{1, 1, 1, 1, 1, 2}
        << QList<bool>{true, true, true, true, false, true};
}

void DiscoveryTest::askerLimit()
{
    QFETCH(QList<qint64>, times);
    QFETCH(QList<int>, askers);
    QFETCH(QList<bool>, answered);
    AskerLimit limit;
    for (qsizetype i = 0; i < times.size(); ++i)
        QCOMPARE(limit.Allow(quint32(askers[i]), times[i]), answered[i]);
}

void DiscoveryTest::askerTableStaysBounded()
{
    AskerLimit limit;
    for (quint32 asker = 0; asker < AskerLimit::MaxAskers; ++asker)
        QVERIFY(limit.Allow(asker, 0));
    QVERIFY(!limit.Allow(AskerLimit::MaxAskers, 500));
    // Once the others' second is over, a newcomer takes a place.
    QVERIFY(limit.Allow(AskerLimit::MaxAskers, 1000));
}

void DiscoveryTest::gamesFoundAreForgottenAndBounded()
{
    GamesFound found;
    const QHostAddress one(QStringLiteral("192.0.2.1"));
    found.Heard(one, Answer(QStringLiteral("a"), 24800), 0);
    found.Heard(one, Answer(QStringLiteral("b")), 0);
    found.Heard(one, Answer(QStringLiteral("b2")), 3000); // the same game, renamed
    QCOMPARE(found.Now(3000).size(), 2);
    const QList<FoundGame> now = found.Now(GamesFound::ForgetAfterMs + 1);
    QCOMPARE(now.size(), 1);
    QCOMPARE(now[0].answer.hostName, QStringLiteral("b2"));

    for (quint32 i = 0; i < 100; ++i)
        found.Heard(QHostAddress(0xC0000200 + i), Answer(QStringLiteral("x")), 4000);
    QCOMPARE(found.Now(4000).size(), GamesFound::MaxGames);
}

void DiscoveryTest::hostAnswersOnLoopback()
{
    const DiscoveryAnswer said = Answer(QStringLiteral("pracovna"));
    DiscoveryResponder responder([&] { return said; });
    QVERIFY(responder.Listen(QHostAddress::LocalHost, 0));
    const QHostAddress loopback(QHostAddress::LocalHost);

    // A stranger's datagrams: the wrong kind, a bare kind byte, too long.
    QUdpSocket stranger;
    QVERIFY(stranger.bind(loopback, 0));
    const QByteArray request = Encode(DiscoveryRequest{});
    for (const QByteArray& junk : {Encode(NextRound{}), request.first(1), request + '\0'})
        stranger.writeDatagram(junk, loopback, responder.Port());

    DiscoverySearch search({loopback}, responder.Port());
    for (int i = 0; i < 10; ++i)
        search.Ask();
    QTRY_COMPARE(search.Games().size(), 1);
    QCOMPARE(search.Games()[0].answer, said);
    QCOMPARE(search.Games()[0].address, loopback);
    QTest::qWait(100);
    QVERIFY(!stranger.hasPendingDatagrams());
    // Ten requests within a second from one address: four answers.
    QCOMPARE(responder.AnswersSent(), AskerLimit::AnswersPerSecond);
}

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "tst_discovery.moc"
