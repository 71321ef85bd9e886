#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// How this run takes part in a match over the network, from the command
// line: not at all, as the host, joining one, or choosing one to join in the
// join window (--join with no host).
struct NetworkOptions
{
    enum class Role { Alone, Host, Join, JoinWindow };
    static constexpr std::uint16_t DefaultPort = 24724;

    Role role = Role::Alone;
    std::uint16_t port = DefaultPort;
    QString host;         // to join
    std::uint16_t code = 0;
    bool codeGiven = false; // the join window's box stays empty without it
    QString name;
    int players = 1;
    bool watch = false;
};

// The options, or the Czech line that says what is wrong with them.
struct ParsedOptions
{
    std::optional<NetworkOptions> options;
    QString error;
};

// arguments: the program's, its name first, as Qt left them.
ParsedOptions ParseNetworkOptions(const QStringList& arguments);

// A host's name or IPv4 address with an optional ":PORT", into options'
// host and port; the Czech line that says what is wrong with it, if anything.
std::optional<QString> TakeHostAndPort(QString address, NetworkOptions& options);

// Takes the network options out of the command line before Qt reads it:
// Qt would take --name as the X11 program name. The rest stays for Qt.
QStringList TakeNetworkArguments(int& argc, char** argv);
