#include "NetworkOptions.h"
#include "NetworkStart.h"

#include <QtTest>

// What each command line means, and which ones are refused before any
// socket is opened.
class NetworkOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void takenFromQtsCommandLine();
    void triesEachAddressInTurn();
};

using Role = NetworkOptions::Role;

void NetworkOptionsTest::accepted_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("players");
    QTest::addColumn<bool>("watch");
    const int port = NetworkOptions::DefaultPort;
    QTest::newRow("nothing: alone") << QStringList{} << int(Role::Alone) << port << "" << 0 << "" << 1 << false;
    QTest::newRow("host") << QStringList{"--host"} << int(Role::Host) << port << "" << 0 << "" << 1 << false;
    QTest::newRow("host on a port") << QStringList{"--host", "--port", "5000"} << int(Role::Host) << 5000 << "" << 0 << "" << 1 << false;
    QTest::newRow("join") << QStringList{"--join", "10.0.0.5", "--code", "0042"} << int(Role::Join) << port << "10.0.0.5" << 42 << "" << 1 << false;
    QTest::newRow("join a port, named, two players") << QStringList{"--join", "pc:6000", "--code", "9999", "--name", "Eva", "--players", "2"}
        << int(Role::Join) << 6000 << "pc" << 9999 << "Eva" << 2 << false;
    QTest::newRow("watch") << QStringList{"--join=h", "--code=1234", "--watch"} << int(Role::Join) << port << "h" << 1234 << "" << 1 << true;
    QTest::newRow("join with no host: the window") << QStringList{"--join"} << int(Role::JoinWindow) << port << "" << 0 << "" << 1 << false;
    QTest::newRow("the window, filled in") << QStringList{"--join", "--name", "Eva", "--code", "0042", "--players", "3", "--watch"}
        << int(Role::JoinWindow) << port << "" << 42 << "Eva" << 3 << true;
}

void NetworkOptionsTest::accepted()
{
    QFETCH(QStringList, arguments);
    arguments.prepend(QStringLiteral("klikvar"));
    const ParsedOptions parsed = ParseNetworkOptions(arguments);
    QVERIFY2(parsed.options, qPrintable(parsed.error));
    QTEST(int(parsed.options->role), "role");
    QTEST(int(parsed.options->port), "port");
    QTEST(parsed.options->host, "host");
    QTEST(int(parsed.options->code), "code");
    QTEST(parsed.options->name, "name");
    QTEST(parsed.options->players, "players");
    QTEST(parsed.options->watch, "watch");
}

void NetworkOptionsTest::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{"--server"};
    QTest::newRow("a stray argument") << QStringList{"extra"};
    QTest::newRow("both roles") << QStringList{"--host", "--join", "h", "--code", "1234"};
    QTest::newRow("a port alone") << QStringList{"--port", "5000"};
    QTest::newRow("a code to the host") << QStringList{"--host", "--code", "1234"};
    QTest::newRow("port 0") << QStringList{"--host", "--port", "0"};
    QTest::newRow("port too high") << QStringList{"--host", "--port", "65536"};
    QTest::newRow("no code") << QStringList{"--join", "h"};
    QTest::newRow("three-digit code") << QStringList{"--join", "h", "--code", "123"};
    QTest::newRow("code with a letter") << QStringList{"--join", "h", "--code", "12a4"};
    QTest::newRow("empty host") << QStringList{"--join", ":5000", "--code", "1234"};
    QTest::newRow("bad port after the colon") << QStringList{"--join", "h:x", "--code", "1234"};
    QTest::newRow("port as an option to join") << QStringList{"--join", "h", "--port", "5", "--code", "1234"};
    QTest::newRow("nine letters") << QStringList{"--join", "h", "--code", "1234", "--name", "Ludmilka9"};
    QTest::newRow("no players") << QStringList{"--join", "h", "--code", "1234", "--players", "0"};
    QTest::newRow("five players") << QStringList{"--join", "h", "--code", "1234", "--players", "5"};
    QTest::newRow("the window with a short code") << QStringList{"--join", "--code", "12"};
    QTest::newRow("the window and a host") << QStringList{"--join", "--join", "h", "--code", "1234"};
}

void NetworkOptionsTest::refused()
{
    QFETCH(QStringList, arguments);
    arguments.prepend(QStringLiteral("klikvar"));
    const ParsedOptions parsed = ParseNetworkOptions(arguments);
    QVERIFY(!parsed.options);
    QVERIFY(!parsed.error.isEmpty());
}

// Qt would take --name as the X11 program name: the game's options leave
// before Qt sees them, whichever way their values are written, and Qt's
// own stay.
void NetworkOptionsTest::takenFromQtsCommandLine()
{
    QList<QByteArray> words = {"klikvar", "-platform", "xcb", "--join", "h:5", "--code=1234",
                               "--name", "Eva", "--watch", "-style", "fusion"};
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int argc = int(words.size());
    const QStringList taken = TakeNetworkArguments(argc, argv.data());
    QCOMPARE(taken, QStringList({"--join", "h:5", "--code=1234", "--name", "Eva", "--watch"}));
    QCOMPARE(argc, 5);
    QCOMPARE(QByteArray(argv[1]), QByteArray("-platform"));
    QCOMPARE(QByteArray(argv[4]), QByteArray("fusion"));
    QCOMPARE(argv[5], nullptr);
    const ParsedOptions parsed = ParseNetworkOptions(QStringList{"klikvar"} + taken);
    QVERIFY(parsed.options);
    QCOMPARE(parsed.options->name, QStringLiteral("Eva"));

    // A bare --join takes no option after it for its host.
    QList<QByteArray> window = {"klikvar", "--join", "--name", "Eva"};
    std::vector<char*> windowArgv;
    for (QByteArray& word : window)
        windowArgv.push_back(word.data());
    windowArgv.push_back(nullptr);
    argc = int(window.size());
    QCOMPARE(TakeNetworkArguments(argc, windowArgv.data()), QStringList({"--join", "--name", "Eva"}));
}

// The first address does not answer (nothing listens there); the second does.
void NetworkOptionsTest::triesEachAddressInTurn()
{
    const std::unique_ptr<net::EnetTransport> host = net::EnetTransport::Listen(QHostAddress::LocalHost, 0, 1);
    QVERIFY(host);
    std::unique_ptr<net::EnetTransport> guest;
    QVERIFY(ResolveIPv4(QStringLiteral("::1")).isEmpty()); // ENet carries IPv4 only
    const QList<QHostAddress> addresses = {QHostAddress(QStringLiteral("127.0.0.2")), QHostAddress(QHostAddress::LocalHost)};
    QVERIFY(ConnectToAny(addresses, host->Port(), guest, 500, [&] { while (host->Poll()) {} }));
    QVERIFY(guest);

    // None answers: no transport is left over.
    QVERIFY(!ConnectToAny({QHostAddress(QStringLiteral("127.0.0.2"))}, host->Port(), guest, 200));
    QVERIFY(!guest);
}

QTEST_GUILESS_MAIN(NetworkOptionsTest)
#include "tst_network_options.moc"
