#include "NetworkOptions.h"

#include <QCommandLineParser>

namespace {

std::optional<std::uint16_t> Number(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return std::uint16_t(value);
}

ParsedOptions Wrong(const QString& line)
{
    return {std::nullopt, line};
}

// What the desktop's join action starts with: --join and no host after it,
// which asks for the join window. A host never starts with a dash.
constexpr auto JoinWindowFlag = "--join-window";

bool BareJoin(const QString& argument, const std::optional<QString>& next)
{
    return argument == QLatin1String("--join") && (!next || next->startsWith(u'-'));
}

} // namespace

QStringList TakeNetworkArguments(int& argc, char** argv)
{
    static const QStringList Flags = {QStringLiteral("--host"), QStringLiteral("--watch")};
    static const QStringList WithValue = {QStringLiteral("--port"), QStringLiteral("--join"),
                                          QStringLiteral("--code"), QStringLiteral("--name"),
                                          QStringLiteral("--players")};
    QStringList taken;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const QString option = argument.section(u'=', 0, 0);
        if (Flags.contains(argument) || (WithValue.contains(option) && argument.contains(u'='))) {
            taken << argument;
        } else if (WithValue.contains(argument)) {
            taken << argument;
            const std::optional<QString> next =
                i + 1 < argc ? std::optional(QString::fromLocal8Bit(argv[i + 1])) : std::nullopt;
            if (next && !BareJoin(argument, next))
                taken << QString::fromLocal8Bit(argv[++i]);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return taken;
}

ParsedOptions ParseNetworkOptions(const QStringList& given)
{
    QStringList arguments = given;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (BareJoin(arguments[i], i + 1 < arguments.size() ? std::optional(arguments[i + 1]) : std::nullopt))
            arguments[i] = QLatin1String(JoinWindowFlag);
    }
    QCommandLineParser parser;
    const QCommandLineOption host(QStringLiteral("host"));
    const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("N"));
    const QCommandLineOption join(QStringLiteral("join"), {}, QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption code(QStringLiteral("code"), {}, QStringLiteral("NNNN"));
    const QCommandLineOption name(QStringLiteral("name"), {}, QStringLiteral("NAME"));
    const QCommandLineOption players(QStringLiteral("players"), {}, QStringLiteral("K"));
    const QCommandLineOption watch(QStringLiteral("watch"));
    const QCommandLineOption joinWindow(QLatin1String(JoinWindowFlag + 2));
    parser.addOptions({host, port, join, code, name, players, watch, joinWindow});
    if (!parser.parse(arguments))
        return Wrong(QStringLiteral("Neznámá volba: %1").arg(parser.errorText()));
    if (!parser.positionalArguments().isEmpty())
        return Wrong(QStringLiteral("Nečekaný argument: %1").arg(parser.positionalArguments().first()));

    NetworkOptions options;
    const bool hosting = parser.isSet(host);
    const bool choosing = parser.isSet(joinWindow);
    if (choosing && parser.isSet(join))
        return Wrong(QStringLiteral("Volba --join je jen jednou."));
    const bool joining = parser.isSet(join) || choosing;
    if (hosting && joining)
        return Wrong(QStringLiteral("Volby --host a --join nejdou spolu."));
    if (!hosting && !joining) {
        if (parser.isSet(port) || parser.isSet(code) || parser.isSet(name) || parser.isSet(players)
            || parser.isSet(watch))
            return Wrong(QStringLiteral("Volby sítě platí jen s --host nebo --join."));
        return {options, {}};
    }
    if (hosting) {
        if (parser.isSet(code) || parser.isSet(name) || parser.isSet(players) || parser.isSet(watch))
            return Wrong(QStringLiteral("Volby --code, --name, --players a --watch patří k --join."));
        options.role = NetworkOptions::Role::Host;
        if (parser.isSet(port)) {
            const auto number = Number(parser.value(port), 1, 65535);
            if (!number)
                return Wrong(QStringLiteral("Port musí být číslo od 1 do 65535."));
            options.port = *number;
        }
        return {options, {}};
    }
    options.role = choosing ? NetworkOptions::Role::JoinWindow : NetworkOptions::Role::Join;
    if (parser.isSet(port))
        return Wrong(QStringLiteral("Port hostitele se píše za dvojtečku: --join HOST:PORT."));
    if (!choosing) {
        const std::optional<QString> error = TakeHostAndPort(parser.value(join), options);
        if (error)
            return Wrong(*error);
    }
    // The join window starts with what was given and asks for the rest.
    const QString codeText = parser.value(code);
    const auto joinCode = Number(codeText, 0, 9999);
    if ((parser.isSet(code) || !choosing) && (codeText.size() != 4 || !joinCode))
        return Wrong(QStringLiteral("Kód hry jsou čtyři číslice: --code NNNN."));
    options.code = joinCode.value_or(0);
    options.codeGiven = joinCode.has_value();
    options.name = parser.value(name);
    if (options.name.size() > 8)
        return Wrong(QStringLiteral("Jméno má nejvýš 8 znaků."));
    if (parser.isSet(players)) {
        const auto count = Number(parser.value(players), 1, 4);
        if (!count)
            return Wrong(QStringLiteral("Počet hráčů je 1 až 4."));
        options.players = *count;
    }
    options.watch = parser.isSet(watch);
    return {options, {}};
}

std::optional<QString> TakeHostAndPort(QString address, NetworkOptions& options)
{
    if (const qsizetype colon = address.lastIndexOf(u':'); colon >= 0) {
        const auto number = Number(address.mid(colon + 1), 1, 65535);
        if (!number)
            return QStringLiteral("Port musí být číslo od 1 do 65535.");
        options.port = *number;
        address.truncate(colon);
    }
    if (address.isEmpty())
        return QStringLiteral("Chybí adresa hostitele: --join HOST[:PORT].");
    options.host = address;
    return std::nullopt;
}
