#include "PrivateNetwork.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

// Runs ip with these arguments; what it said when it failed.
std::optional<QString> Ip(const QStringList& arguments)
{
    QProcess ip;
    ip.setProcessChannelMode(QProcess::MergedChannels);
    ip.start(QStringLiteral("ip"), arguments);
    if (!ip.waitForFinished(10000) || ip.exitStatus() != QProcess::NormalExit || ip.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(ip.readAll()).trimmed();
        return QStringLiteral("ip %1: %2").arg(arguments.join(u' '), said.isEmpty() ? ip.errorString() : said);
    }
    return std::nullopt;
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
    const QStringList names = {QStringLiteral("klikvar-a-") + tag, QStringLiteral("klikvar-b-") + tag};
    const QStringList links = {QStringLiteral("kva") + tag.right(8), QStringLiteral("kvb") + tag.right(8)};
    for (const QString& name : names) {
        if (const auto failed = Ip({QStringLiteral("netns"), QStringLiteral("add"), name})) {
            *error = *failed;
            Remove();
            return false;
        }
        namespaces << name;
    }
    // Made inside the namespaces, so no end of the pair is ever left outside.
    QList<QStringList> steps = {{QStringLiteral("link"), QStringLiteral("add"), links[0], QStringLiteral("netns"),
                                 names[0], QStringLiteral("type"), QStringLiteral("veth"), QStringLiteral("peer"),
                                 QStringLiteral("name"), links[1], QStringLiteral("netns"), names[1]}};
    for (int side = 0; side < 2; ++side) {
        const QStringList in = {QStringLiteral("-n"), names[side]};
        steps << in + QStringList{QStringLiteral("addr"), QStringLiteral("add"),
                                  QLatin1String(Addresses[side]) + QStringLiteral("/24"), QStringLiteral("broadcast"),
                                  QStringLiteral("+"), QStringLiteral("dev"), links[side]};
        steps << in + QStringList{QStringLiteral("link"), QStringLiteral("set"), links[side], QStringLiteral("up")};
        steps << in + QStringList{QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"), QStringLiteral("up")};
    }
    for (const QStringList& step : steps) {
        if (const auto failed = Ip(step)) {
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
    // The pair goes with either namespace.
    for (const QString& name : namespaces)
        Ip({QStringLiteral("netns"), QStringLiteral("delete"), name});
    namespaces.clear();
}
