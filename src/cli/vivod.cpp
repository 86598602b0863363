#include "cli/vivod.h"

#include <poll.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// True when potok is the write end of a pipe or socket that no one reads
// any more (poll tells it as POLLERR or POLLHUP without waiting).
bool ChitatelUshel(std::FILE* potok) {
    pollfd p{fileno(potok), POLLOUT, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLERR | POLLHUP)) != 0;
}

// 0 when every write to potok succeeded; else the errno of the failure, or
// -1 when a write failed earlier for a reason no longer known (EPIPE when
// its reader is gone).
int OshibkaPotoka(std::FILE* potok) {
    const bool ranshe = std::ferror(potok) != 0;
    errno = 0;
    if (std::fflush(potok) != 0) return errno != 0 ? errno : -1;
    if (!ranshe) return 0;
    return ChitatelUshel(potok) ? EPIPE : -1;
}

} // namespace

int ZavershitVivod(int kod) {
    constexpr int KOD_OSHIBKA_ZAPISI = 1;
    const int vivod = OshibkaPotoka(stdout);
    if (vivod == EPIPE) return KOD_OSHIBKA_ZAPISI;
    if (vivod != 0) {
        std::fprintf(stderr, "ciframer-cli: write error%s%s\n", vivod > 0 ? ": " : "",
                     vivod > 0 ? std::strerror(vivod) : "");
        kod = KOD_OSHIBKA_ZAPISI;
    }
    // stderr is unbuffered: its failures are already in its error flag.
    if (OshibkaPotoka(stderr) != 0) kod = KOD_OSHIBKA_ZAPISI;
    return kod;
}
