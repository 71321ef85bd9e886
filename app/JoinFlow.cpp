#include "JoinFlow.h"

#include "NetworkStart.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>

JoinFlow::JoinFlow(const NetworkOptions& given, std::function<void()> closed,
                   std::unique_ptr<net::DiscoverySearch> search, Connector connect)
    : search(std::move(search))
    , connector(std::move(connect))
{
    window.Text1->setText(given.host.isEmpty() ? QString() : QStringLiteral("%1:%2").arg(given.host).arg(given.port));
    if (given.codeGiven)
        window.Text2->setText(QStringLiteral("%1").arg(given.code, 4, 10, QLatin1Char('0')));
    window.Text3->setText(given.name);
    window.Text4->setText(QString::number(given.players));
    window.Check1->setChecked(given.watch);
    QObject::connect(&window, &QDialog::finished, &window, [closed = std::move(closed)] { closed(); });
    QObject::connect(&window, &JoinWindow::ConnectChosen, &window, [this] { Connect(); });
    QObject::connect(&askTimer, &QTimer::timeout, &window, [this] { Refresh(); });
    askTimer.start(AskEveryMs);
    Refresh();
    window.show();
}

void JoinFlow::Refresh()
{
    QList<JoinWindow::Game> rows;
    for (const net::FoundGame& game : search->Games())
        rows << GameRow(game, QStringLiteral(KLIKVAR_VERSION));
    window.ShowGames(rows);
    search->Ask();
}

std::variant<NetworkOptions, QString> JoinFlow::Chosen() const
{
    NetworkOptions options;
    options.role = NetworkOptions::Role::Join;
    const QString address = window.Text1->text().trimmed();
    if (address.isEmpty())
        return QStringLiteral("Vyberte hru ze seznamu, nebo napište adresu hostitele.");
    if (const std::optional<QString> wrong = TakeHostAndPort(address, options))
        return *wrong;
    if (window.Text2->text().size() != 4)
        return QStringLiteral("Kód hry jsou čtyři číslice, jak je ukazuje hostitel.");
    options.code = std::uint16_t(window.Text2->text().toUInt());
    options.name = window.Text3->text();
    options.players = window.Text4->text().isEmpty() ? 1 : window.Text4->text().toInt();
    options.watch = window.Check1->isChecked();
    if (net::Encode(HelloFor(options)).isEmpty())
        return BadNameLine();
    return options;
}

void JoinFlow::Connect()
{
    const std::variant<NetworkOptions, QString> chosen = Chosen();
    if (const QString* wrong = std::get_if<QString>(&chosen)) {
        window.ShowAnswer(*wrong);
        return;
    }
    const NetworkOptions& options = std::get<NetworkOptions>(chosen);
    window.SetConnecting(true);
    // The window keeps drawing while the host is waited for; Connect and
    // the close box wait their turn.
    std::optional<Connection> connection = connector(options, [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    window.SetConnecting(false);
    if (!connection) {
        window.ShowAnswer(NoAnswerLine(options));
        return;
    }
    window.ShowAnswer(QString());
    askTimer.stop();
    window.hide();
    transport = std::move(connection->transport);
    guest = std::make_unique<GuestSession>(*transport, connection->host, HelloFor(options),
                                           [this](const QString& line, int) { Ended(line); });
}

std::optional<JoinFlow::Connection> JoinFlow::ConnectOverEnet(const NetworkOptions& options,
                                                              const std::function<void()>& whileWaiting)
{
    std::unique_ptr<net::EnetTransport> enet;
    const std::optional<net::PeerId> host = ConnectToHost(options, enet, whileWaiting);
    if (!host)
        return std::nullopt;
    return Connection{std::move(enet), *host};
}

void JoinFlow::Ended(const QString& line)
{
    // Called from inside the session: it goes once its call has returned.
    QTimer::singleShot(0, &window, [this] {
        guest.reset();
        transport.reset();
    });
    window.ShowAnswer(line);
    window.show();
    window.activateWindow();
    Refresh();
    askTimer.start(AskEveryMs);
}

JoinWindow::Game GameRow(const net::FoundGame& game, const QString& ownVersion)
{
    const net::DiscoveryAnswer& answer = game.answer;
    QString row = QStringLiteral("%1 (%2): hráčů %3, volných míst %4")
                      .arg(answer.hostName.isEmpty() ? QStringLiteral("?") : answer.hostName,
                           game.address.toString())
                      .arg(answer.players)
                      .arg(answer.freeSeats);
    if (answer.version != ownVersion)
        row += QStringLiteral(", jiná verze %1").arg(answer.version);
    return {row, QStringLiteral("%1:%2").arg(game.address.toString()).arg(answer.port)};
}
