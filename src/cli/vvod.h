// The characters the line editor reads, filtered: whatever bytes come from
// the terminal or a pipe, the editor gets only characters it can hold.
#pragma once

#include <cstdio>

// One character of the input (for rl_getc_function): in a UTF-8 locale the
// code point of the next well-formed character, U+FFFD for each byte that
// starts none (a stray continuation byte, a sequence cut short or over-long,
// the obsolete 5- and 6-byte forms, a surrogate, a code point above
// U+10FFFF); in a single-byte locale the byte's character, a byte the locale
// does not define skipped. -1 at the end of the input, on a read error, and
// when a signal interrupts the read (so that Ctrl+C gives up the line).
int ProchitatSimvol(std::FILE* vhod);
