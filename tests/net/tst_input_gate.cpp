#include "InputGate.h"

#include <QtTest>

using namespace net;

namespace {

// Host alone; computer 1 steers players 2 and 3, computer 2 player 4.
struct Table
{
    Seats seats{true};
    Table()
    {
        seats.Join(2, false);
        seats.Join(1, false);
    }
};

struct Sent
{
    int from;
    int player;
    std::uint32_t sequence;
};

} // namespace

Q_DECLARE_METATYPE(QList<Sent>)

class InputGateTest : public QObject
{
    Q_OBJECT

private slots:
    void onlyNewerKeysOfOwnSeatsPass_data();
    void onlyNewerKeysOfOwnSeatsPass();
    void aSeatHandedOverOrRejoinedCountsAfresh();
};

void InputGateTest::onlyNewerKeysOfOwnSeatsPass_data()
{
    QTest::addColumn<QList<Sent>>("sent");
    QTest::addColumn<QList<bool>>("accepted");
    QTest::newRow("in order") << QList<Sent>{{1, 2, 1}, {1, 2, 2}, {1, 2, 5}} << QList<bool>{true, true, true};
    QTest::newRow("an older one late") << QList<Sent>{{1, 2, 5}, {1, 2, 4}, {1, 2, 6}} << QList<bool>{true, false, true};
    QTest::newRow("the same one twice") << QList<Sent>{{1, 2, 5}, {1, 2, 5}} << QList<bool>{true, false};
    QTest::newRow("each seat counts apart") << QList<Sent>{{1, 2, 9}, {1, 3, 1}, {2, 4, 1}} << QList<bool>{true, true, true};
    QTest::newRow("the count wraps") << QList<Sent>{{1, 2, 0xFFFFFFFE}, {1, 2, 1}, {1, 2, 0xFFFFFFFF}} << QList<bool>{true, true, false};
    QTest::newRow("another computer's seat") << QList<Sent>{{1, 4, 1}, {2, 2, 1}} << QList<bool>{false, false};
    QTest::newRow("the host's player") << QList<Sent>{{1, 1, 1}, {2, 1, 1}} << QList<bool>{false, false};
    QTest::newRow("a player nobody has") << QList<Sent>{{1, 5, 1}} << QList<bool>{false};
    QTest::newRow("a computer not joined") << QList<Sent>{{3, 5, 1}, {0, 1, 1}} << QList<bool>{false, false};
}

void InputGateTest::onlyNewerKeysOfOwnSeatsPass()
{
    QFETCH(QList<Sent>, sent);
    QFETCH(QList<bool>, accepted);
    Table table;
    InputGate gate(table.seats);
    for (qsizetype i = 0; i < sent.size(); ++i) {
        const Input input{std::uint8_t(sent[i].player), true, false, sent[i].sequence};
        QCOMPARE(gate.Accept(ComputerId(sent[i].from), input), accepted[i]);
    }
}

void InputGateTest::aSeatHandedOverOrRejoinedCountsAfresh()
{
    Table table;
    InputGate gate(table.seats);
    QVERIFY(gate.Accept(1, Input{3, true, false, 100}));
    // Player 3 goes to computer 2, which has counted less far.
    QVERIFY(table.seats.Move(3, 2));
    QVERIFY(!gate.Accept(1, Input{3, true, false, 101}));
    QVERIFY(gate.Accept(2, Input{3, true, false, 7}));
    // Computer 2 leaves and another joins under its number, counting from 0.
    table.seats.Leave(2);
    gate.Forget(2);
    const std::optional<Seats::Joined> next = table.seats.Join(1, false);
    QVERIFY(next && next->computer == 2);
    QVERIFY(table.seats.Move(3, 2));
    QVERIFY(gate.Accept(2, Input{3, false, true, 0}));
}

QTEST_APPLESS_MAIN(InputGateTest)
#include "tst_input_gate.moc"
