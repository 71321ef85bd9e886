#include "Admission.h"

namespace net {

std::variant<Welcome, Refusal> Admit(const Hello& hello, const HostFacts& host, Seats& seats, SeatSet back)
{
    const auto refuse = [&](RefusalReason reason) { return Refusal{reason, host.version, hello.version}; };
    // The version first: another build may word its hello differently, and
    // its player should learn that rather than a wrong code.
    if (hello.version != host.version)
        return refuse(RefusalReason::OtherVersion);
    if (hello.code != host.code)
        return refuse(RefusalReason::WrongCode);
    const std::optional<Seats::Joined> joined = seats.Join(hello.seatsWanted, hello.watch, back);
    if (!joined)
        return refuse(RefusalReason::Full);
    return Welcome{joined->computer, joined->seats};
}

QString RefusalLine(const Refusal& refusal)
{
    switch (refusal.reason) {
    case RefusalReason::WrongCode:
        return QStringLiteral("Hostitel odmítl připojení: špatný kód hry.");
    case RefusalReason::OtherVersion:
        return QStringLiteral("Hostitel odmítl připojení: hostitel má verzi %1, tento počítač verzi %2.")
            .arg(refusal.hostVersion, refusal.guestVersion);
    case RefusalReason::Full:
        // Only then: one that finds no player to steer watches.
        return QStringLiteral("Hostitel odmítl připojení: hra je plná a dívá se už %1 počítačů.").arg(MaxWatchers);
    case RefusalReason::BadHello:
        break;
    }
    return QStringLiteral("Hostitel odmítl připojení: nesrozumitelná žádost.");
}

} // namespace net
