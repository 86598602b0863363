// The constant cache: ln n and e^n (n = 0..255) and pi, per radix row
// (0..126), remembered for the whole process and kept as 110-byte files in
// the cache folder: "VelimathData/" of the current directory unless the
// front end names another (UstanovitPapkuKesha).
//
// Threads: the calculation thread and the main thread (buttons "e", "pi")
// may look up and fill entries at the same time. A flag is published (release)
// only after its whole value is stored, and readers load it with acquire, so
// no torn value is ever read; filling takes one lock and never replaces a
// known entry. ZagruzitKesh/SohranitKesh run only when no calculation runs.
#pragma once

#include <cstdint>
#include <string>

#include "number/vm_chislo.h"
#include "text/tansistring.h"

constexpr int VM_KESH_OSNOVANIY = 127;
constexpr int VM_KESH_CHISEL = 256;

// One value slot. It holds a vmChislo only while its flag is set (the value
// is stored before the flag); until then its bytes are never read. The slot
// has no constructor to run, so the 7 MB table is zero-filled by the loader
// and its pages are touched only where entries are filled.
union TYacheykaKesha {
    vmChislo v;
    constexpr TYacheykaKesha() {}
};

struct VM_KESH_KONSTANT {
    TYacheykaKesha lnValue[VM_KESH_OSNOVANIY][VM_KESH_CHISEL];
    std::uint8_t lnKnown[VM_KESH_OSNOVANIY][VM_KESH_CHISEL];
    TYacheykaKesha expValue[VM_KESH_OSNOVANIY][VM_KESH_CHISEL];
    std::uint8_t expKnown[VM_KESH_OSNOVANIY][VM_KESH_CHISEL];
    TYacheykaKesha piValue[VM_KESH_OSNOVANIY];
    std::uint8_t piKnown[VM_KESH_OSNOVANIY];
};
extern VM_KESH_KONSTANT KeshKonstant;

enum class VidKonstanti { Ln, Exp, Pi };

// Looks up entry [r][n] (n ignored for Pi). True and *out = the value when
// it is known. r outside 0..126 or n outside 0..255 is never known.
bool KeshNayti(VidKonstanti vid, int r, int n, vmChislo* out);
// Stores v in entry [r][n] unless it is known already; returns the entry's
// value afterwards (the first stored value wins, so every caller gets the
// same bytes). Out-of-range indexes store nothing and return v.
vmChislo KeshZapolnit(VidKonstanti vid, int r, int n, const vmChislo& v);

// Clears every flag (a table never filled since start-up, or since the last
// clearing, is not touched) and reads the cache folder. Temporary files of
// SohranitKonstantu left there by a process that no longer runs (killed
// while it saved) are removed; those of a running process are left alone.
// Start-up only.
void ZagruzitKesh();
// Writes a file for every known entry that has none yet. Exit only.
void SohranitKesh();
// Empties the in-memory cache (every flag 0) without touching the folder.
// Costs nothing when no entry was filled since the last clearing.
void OchistitKesh();

// The file name of entry [r][n] (n ignored for Pi), e.g.
// "int3frac100radix10ln(2).vmChislo", "int3frac100radix10_exp(1).vmChislo",
// "int3frac100radix16pi(1).vmChislo". Any thread.
TAnsiString ImyaFaylaKonstanti(VidKonstanti vid, int r, int n);

// Writes *slot as the 110-byte file `name` in the cache folder, creating the
// folder when needed. The bytes go to a temporary file that is linked into
// place, so no partial file is ever left; an existing file is never
// replaced (true without writing). False when the folder or the file cannot
// be made. Never shows a message.
bool SohranitKonstantu(const TAnsiString& name, const vmChislo* slot);
// Reads the file `name` of the cache folder into *slot. The name must be
// one of the scan ("int" 3, "frac" 100, "radix" r, then "ln(" n, "exp(" n or
// "pi(" 1); the file is taken only when it is exactly 110 bytes of a record
// the program could have written for that name: radix byte r in 2..126,
// sign and inexact flag 0 or 1, every digit below r, normal form (or the
// exact zero or infinity record), and a value within 10^-12 (relative) of
// the constant in machine precision (ln n for n >= 1, ln 1 being the exact
// zero; e^n; pi). Otherwise false and *slot untouched; the file is deleted
// when its read fails, and when it is rejected and its name is exactly the
// one SohranitKonstantu writes for that entry (so the value computed in its
// place is saved at exit). Other files are left alone. Never shows a
// message.
bool ZagruzitKonstantu(const TAnsiString& name, vmChislo* slot);
// Rounds the first well-formed decimal number after the first `key` in
// `name` to an integer (ties to even). False if key or number is missing.
bool ChisloPosleKlyucha(const TAnsiString& name, const TAnsiString& key, std::int32_t* value);
// True when path names a folder that can be entered. The current directory
// of the process is not changed.
bool PapkaSushestvuet(const TAnsiString& path);
// True when path names an existing regular file that can be opened for
// reading.
bool FaylSushestvuet(const TAnsiString& path);

// The default cache folder, with its trailing slash: "VelimathData/" (of the
// current directory).
extern const char* const VM_PAPKA_KESHA;
// The cache folder in use, with its trailing slash (VM_PAPKA_KESHA until
// named otherwise).
const std::string& PapkaKesha();
// Names the cache folder; a trailing slash is added when missing, an empty
// path gives the default. A folder that does not exist is created with the
// folders above it on the first save that needs it. Only while no
// calculation runs and no save or load goes on (start-up).
void UstanovitPapkuKesha(const std::string& papka);
