#include "Admission.h"
#include "FakeNetwork.h"
#include "JoinFlow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace net;

Q_DECLARE_METATYPE(QList<net::Message>)

namespace {

// The flow owns its transport; the fake network owns its endpoints.
class BorrowedEndpoint final : public Transport
{
public:
    explicit BorrowedEndpoint(Transport& endpoint) : endpoint(endpoint) {}
    bool Send(PeerId peer, Channel channel, QByteArrayView data) override { return endpoint.Send(peer, channel, data); }
    std::optional<TransportEvent> Poll() override { return endpoint.Poll(); }
    void Disconnect(PeerId peer) override { endpoint.Disconnect(peer); }

private:
    Transport& endpoint;
};

} // namespace

// The join window's run with a host at the other end of a fake network, or
// none, as rows: what the host says, and the line the window comes back with.
class JoinFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void windowComesBackWithWhy_data();
    void windowComesBackWithWhy();
};

void JoinFlowTest::windowComesBackWithWhy_data()
{
    QTest::addColumn<QList<Message>>("host"); // none: no answer
    QTest::addColumn<QString>("line");
    const Refusal other{RefusalReason::OtherVersion, QStringLiteral("1.00.0009"), QStringLiteral(KLIKVAR_VERSION)};
    QTest::newRow("wrong code") << QList<Message>{Refusal{RefusalReason::WrongCode, {}, {}}}
                                << "Hostitel odmítl připojení: špatný kód hry.";
    QTest::newRow("other version") << QList<Message>{other} << RefusalLine(other);
    QTest::newRow("full") << QList<Message>{Refusal{RefusalReason::Full, {}, {}}}
                          << "Hostitel odmítl připojení: hra je plná a dívá se už 8 počítačů.";
    QTest::newRow("no answer") << QList<Message>{} << "Hostitel pc na portu 6000 neodpovídá.";
    QTest::newRow("the host ended the match")
        << QList<Message>{Welcome{1, 0}, Players{{QStringLiteral("A"), QStringLiteral("B")}},
                          Goodbye{GoodbyeReason::HostEndedMatch}}
        << "Hostitel ukončil hru.";
}

void JoinFlowTest::windowComesBackWithWhy()
{
    QFETCH(QList<Message>, host);
    FakeNetwork network{5, {0, 1, 0}};
    FakeEndpoint& hostEnd = network.AddEndpoint();
    FakeEndpoint& guestEnd = network.AddEndpoint();
    QList<NetworkOptions> asked;
    bool closed = false;
    JoinFlow flow{NetworkOptions{}, [&] { closed = true; }, std::make_unique<DiscoverySearch>(QList<QHostAddress>{}),
                  [&](const NetworkOptions& options, const auto&) -> std::optional<JoinFlow::Connection> {
                      asked << options;
                      if (host.isEmpty())
                          return std::nullopt;
                      return JoinFlow::Connection{std::make_unique<BorrowedEndpoint>(guestEnd),
                                                  network.Connect(guestEnd, hostEnd)};
                  }};
    // A wrong box asks nobody.
    flow.window.Text1->setText(QStringLiteral("pc:6000"));
    flow.window.Text2->setText(QStringLiteral("042"));
    QTest::mouseClick(flow.window.Label6, Qt::LeftButton);
    QCOMPARE(flow.window.Label7->text(), QStringLiteral("Kód hry jsou čtyři číslice, jak je ukazuje hostitel."));
    QVERIFY(asked.isEmpty());

    flow.window.Text2->setText(QStringLiteral("0042"));
    flow.window.Text3->setText(QStringLiteral("Žofie"));
    flow.window.Text4->setText(QStringLiteral("3"));
    flow.window.Check1->setChecked(true);
    QTest::mouseClick(flow.window.Label6, Qt::LeftButton);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].host, QStringLiteral("pc"));
    if (!host.isEmpty()) {
        QVERIFY(!flow.window.isVisible());
        // The boxes make the hello.
        std::optional<Message> hello;
        QVERIFY(QTest::qWaitFor([&] {
            network.Advance();
            while (const std::optional<TransportEvent> event = hostEnd.Poll())
                hello = event->data.isEmpty() ? hello : Decode(event->data);
            return hello.has_value();
        }));
        QCOMPARE(*hello, Message(Hello{QStringLiteral(KLIKVAR_VERSION), 42, QStringLiteral("Žofie"), 3, true}));
        for (const Message& message : host)
            QVERIFY(hostEnd.Send(1, Channel::Reliable, Encode(message)));
        QVERIFY(QTest::qWaitFor([&] {
            network.Advance();
            return flow.window.isVisible();
        }));
    }
    QVERIFY(flow.window.isVisible());
    QTEST(flow.window.Label7->text(), "line");
    QTRY_VERIFY(!flow.guest); // the session goes once the window is back
    QVERIFY(!closed);
    flow.window.close();
    QVERIFY(closed);
}

QTEST_MAIN(JoinFlowTest)
#include "tst_join_flow.moc"
