// Routines on byte strings (Windows-1251, one byte per character; no case, no
// multi-byte characters). Lengths are byte counts; a negative count counts as
// 0. None of them allocates; any thread may call them on its own buffers.
#pragma once

// Number of bytes before the NUL; 0 for null.
int DlinaStroki(const char* s);

// Replaces every byte staryy among the first n bytes of s by novyy; nothing
// for null s.
void ZamenitSimvol(char* s, char novyy, char staryy, int n);

// First occurrence of c among the first n bytes of s; null if none or for
// null s.
const char* NaytiSimvol(const char* s, char c, int n);
inline char* NaytiSimvol(char* s, char c, int n) {
    return const_cast<char*>(NaytiSimvol(static_cast<const char*>(s), c, n));
}

// First of the n bytes of s that occurs among the m bytes of nabor; null if
// none, if either pointer is null or if n or m is 0.
const char* NaytiSimvolIzNabora(const char* s, const char* nabor, int n, int m);
inline char* NaytiSimvolIzNabora(char* s, const char* nabor, int n, int m) {
    return const_cast<char*>(NaytiSimvolIzNabora(static_cast<const char*>(s), nabor, n, m));
}

// How many of the n bytes of s occur among the m bytes of nabor; 0 if a
// pointer is null or n or m is 0.
int PodschitatSimvoliIzNabora(const char* s, const char* nabor, int n, int m);

// How many leading bytes of s (at most n) occur among the m bytes of nabor;
// 0 if a pointer is null or n or m is 0.
int DlinaNachalaIzNabora(const char* s, const char* nabor, int n, int m);

// Removes a run of the byte c from the buffer bufer of dlina bytes. vpered:
// the run that starts at poziciya; otherwise the run that ends at poziciya.
// The bytes behind the run move down to close the gap. Returns the new
// length and writes a NUL there when the length shrank. Returns dlina
// unchanged when poziciya lies outside [bufer, bufer + dlina), or when the
// byte at poziciya is not c. poziciya must point into bufer (no other alias).
int UdalitPovtoreniya(char* bufer, char* poziciya, char c, bool vpered, int dlina);
