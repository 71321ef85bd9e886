#include "PrivateNetwork.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

// Runs ip with these arguments; what it said when it failed.
std::optional<QString> Ip(const QString& arguments)
{
    QProcess ip;
    ip.setProcessChannelMode(QProcess::MergedChannels);
    ip.start(QStringLiteral("ip"), arguments.split(u' '));
    if (ip.waitForFinished(10000) && ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0)
        return std::nullopt;
    return QStringLiteral("ip %1: %2").arg(arguments, QString::fromLocal8Bit(ip.readAll()).trimmed() + ip.errorString());
}

} // namespace

PrivateNetwork::~PrivateNetwork()
{
    Remove();
}

bool PrivateNetwork::Make(QString* error)
{
    // Named after this process, so runs side by side do not meet.
    const QString tag = QString::number(QCoreApplication::applicationPid());
    namespaces = QStringList{QStringLiteral("klikvar-a-") + tag, QStringLiteral("klikvar-b-") + tag};
    const QStringList links = {QStringLiteral("kva") + tag.right(8), QStringLiteral("kvb") + tag.right(8)};
    QStringList steps = {QStringLiteral("netns add ") + namespaces[0], QStringLiteral("netns add ") + namespaces[1],
                         // Made inside the namespaces: no end of the pair is ever left outside.
                         QStringLiteral("link add %1 netns %2 type veth peer name %3 netns %4")
                             .arg(links[0], namespaces[0], links[1], namespaces[1])};
    for (int side = 0; side < 2; ++side) {
        const QString in = QStringLiteral("-n %1 ").arg(namespaces[side]);
        steps << in + QStringLiteral("addr add %1/24 broadcast + dev %2").arg(QLatin1String(Addresses[side]), links[side])
              << in + QStringLiteral("link set %1 up").arg(links[side]) << in + QStringLiteral("link set lo up");
    }
    for (const QString& step : steps) {
        if (const std::optional<QString> failed = Ip(step)) {
            *error = *failed;
            Remove();
            return false;
        }
    }
    return true;
}

QStringList PrivateNetwork::Inside(int side, const QString& program, const QStringList& arguments) const
{
    return QStringList{QStringLiteral("netns"), QStringLiteral("exec"), namespaces.value(side), program} + arguments;
}

void PrivateNetwork::Remove()
{
    // The pair goes with either namespace; one never made is not there to go.
    for (const QString& name : namespaces)
        Ip(QStringLiteral("netns delete ") + name);
    namespaces.clear();
}
