#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Two network namespaces joined by a virtual Ethernet pair, made for one
// test and removed with it: 192.0.2.1/24 on the first side, 192.0.2.2/24 on
// the second, documentation addresses that never leave the pair. Making it
// needs root and iproute2's "ip netns".
class PrivateNetwork
{
public:
    static constexpr const char* Addresses[] = {"192.0.2.1", "192.0.2.2"};

    PrivateNetwork() = default;
    PrivateNetwork(const PrivateNetwork&) = delete;
    PrivateNetwork& operator=(const PrivateNetwork&) = delete;
    ~PrivateNetwork();

    // Makes both sides; on failure says why and leaves nothing behind.
    bool Make(QString* error);
    // The arguments to "ip" that run program on side 0 or 1.
    QStringList Inside(int side, const QString& program, const QStringList& arguments) const;

private:
    void Remove();

    QStringList namespaces;
};
