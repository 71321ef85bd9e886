// Feeds the packet decoder anything at all, as a stranger on the network
// could. Built by net/fuzz/run.sh with libFuzzer and the address and
// undefined-behaviour sanitizers; not part of the normal build.
#include "Packet.h"
#include "Repair.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<net::Message> message = net::Decode(bytes);
    if (!message)
        return 0;
    // What is accepted is exactly one message in its one spelling: written
    // again, it gives the same bytes back. Anything else would let two
    // computers read one packet two ways.
    if (net::Encode(*message) != bytes.toByteArray()) {
        std::fprintf(stderr, "accepted bytes do not encode back to themselves\n");
        std::abort();
    }
    // Repair chunks go on to be put together and decompressed, as a joined
    // computer does with what a host sends.
    static net::RepairAssembler assembler;
    if (const auto* chunk = std::get_if<net::RepairChunk>(&*message))
        assembler.Add(*chunk);
    return 0;
}
