// Files and folders for the layers above: checks, the reading of a small
// file, the writing of a new file that appears whole or not at all, and the
// listing of a folder. Paths are the system's bytes; none of these changes
// the current directory of the process (other threads rely on it) or shows
// a message.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when put names a folder that can be entered.
bool PapkaDostupna(const std::string& put);
// True when put names a regular file that can be opened for reading. Opens
// without blocking, so a FIFO under that name does not hang the caller.
bool FaylChitaetsya(const std::string& put);
// True when put names a folder (entering it is not checked).
bool EtoPapka(const std::string& put);
// The home folder in the user database for the process's user, or empty.
std::string DomashnyayaPapkaIzBazi();
// True when anything stands at put (a dangling link too).
bool PutZanyat(const std::string& put);

// Creates the folder `papka` (a trailing slash allowed) and the missing
// folders above it. Those above are the user's own: 0700; the folder itself
// 0777 less the umask. Another thread or process creating one meanwhile is
// no failure. True when the folder can be entered afterwards.
bool SozdatPapku(const std::string& papka);

enum class Chtenie { Net, Oshibka, Prochitano };
// Reads at most razmer bytes of the regular file at put into bayti and sets
// *prochitano. Net: missing or not a regular file; Oshibka: a read failed.
Chtenie ProchitatFayl(const std::string& put, unsigned char* bayti, int razmer, int* prochitano);

// Removes the name put; a failure is not reported (a read-only folder keeps
// its files).
void UdalitFayl(const std::string& put);

// The names in the folder papka, "." and ".." left out, in the order the
// system gives them; empty when it cannot be read. Collected before the
// caller acts on them, so deleting one does not disturb the scan.
std::vector<std::string> ImenaVPapke(const std::string& papka);

// Writes n bytes as the new file papka + imya (papka with its trailing
// slash): under a temporary name beside it, synced, then linked into place,
// so the file is either complete or absent, and an existing file is never
// replaced. The temporary name is "." imya "." PID "." N ".tmp", with PID the
// writing process. True when the file stands there afterwards (also when a
// readable file of that name appeared meanwhile).
bool ZapisatNoviyFayl(const std::string& papka, const std::string& imya, const unsigned char* bayti,
                      int n);

// True when imya is a temporary name of ZapisatNoviyFayl for a name longer
// than and ending in rasshirenie, and the process that wrote it no longer
// runs: a leftover of a killed process, which may be removed. A process of
// another user counts as running; a reused pid keeps a stale file, which is
// the safe side. In a folder shared between machines a pid of another one
// may look gone: its write then fails quietly.
bool VremenniyBroshen(const std::string& imya, std::string_view rasshirenie);
