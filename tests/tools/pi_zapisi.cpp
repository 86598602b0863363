// Prints pi as computed by the full bisection, one radix a line: the radix in
// decimal, a space, and the 110 bytes of the record in lower-case hex, in
// memory order (the bytes of a cache file). The constant cache plays no part.
//
//   ciframer_pi_zapisi FIRST LAST [STEP]   radixes FIRST, FIRST+STEP, ... <= LAST
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "number/vm_pi.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s FIRST LAST [STEP]  (radixes 2..126)\n", argv[0]);
        return 2;
    }
    const int pervoe = std::atoi(argv[1]);
    const int poslednee = std::atoi(argv[2]);
    const int shag = argc == 4 ? std::atoi(argv[3]) : 1;
    if (pervoe < 2 || poslednee > 126 || pervoe > poslednee || shag < 1) {
        std::fprintf(stderr, "radixes must lie in 2..126, FIRST <= LAST, STEP >= 1\n");
        return 2;
    }
    for (int R = pervoe; R <= poslednee; R += shag) {
        const vmChislo pi = vmPiBisekciya(static_cast<std::uint8_t>(R));
        unsigned char bayti[sizeof(vmChislo)];
        std::memcpy(bayti, &pi, sizeof bayti);
        std::printf("%d ", R);
        for (unsigned char b : bayti) std::printf("%02x", b);
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}
