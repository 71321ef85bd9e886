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
            if (i + 1 < argc)
                taken << QString::fromLocal8Bit(argv[++i]);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return taken;
}

ParsedOptions ParseNetworkOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption host(QStringLiteral("host"));
    const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("N"));
    const QCommandLineOption join(QStringLiteral("join"), {}, QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption code(QStringLiteral("code"), {}, QStringLiteral("NNNN"));
    const QCommandLineOption name(QStringLiteral("name"), {}, QStringLiteral("NAME"));
    const QCommandLineOption players(QStringLiteral("players"), {}, QStringLiteral("K"));
    const QCommandLineOption watch(QStringLiteral("watch"));
    parser.addOptions({host, port, join, code, name, players, watch});
    if (!parser.parse(arguments))
        return Wrong(QStringLiteral("Neznámá volba: %1").arg(parser.errorText()));
    if (!parser.positionalArguments().isEmpty())
        return Wrong(QStringLiteral("Nečekaný argument: %1").arg(parser.positionalArguments().first()));

    NetworkOptions options;
    const bool hosting = parser.isSet(host);
    const bool joining = parser.isSet(join);
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
    options.role = NetworkOptions::Role::Join;
    if (parser.isSet(port))
        return Wrong(QStringLiteral("Port hostitele se píše za dvojtečku: --join HOST:PORT."));
    QString address = parser.value(join);
    if (const qsizetype colon = address.lastIndexOf(u':'); colon >= 0) {
        const auto number = Number(address.mid(colon + 1), 1, 65535);
        if (!number)
            return Wrong(QStringLiteral("Port musí být číslo od 1 do 65535."));
        options.port = *number;
        address.truncate(colon);
    }
    if (address.isEmpty())
        return Wrong(QStringLiteral("Chybí adresa hostitele: --join HOST[:PORT]."));
    options.host = address;
    const QString codeText = parser.value(code);
    const auto joinCode = Number(codeText, 0, 9999);
    if (!parser.isSet(code) || codeText.size() != 4 || !joinCode)
        return Wrong(QStringLiteral("Kód hry jsou čtyři číslice: --code NNNN."));
    options.code = *joinCode;
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
