// The constant cache: the static table of remembered constants, its lookup
// and fill between two threads, and its files in the cache folder.
//
// Files are read back as untrusted input: a file is taken only when it is
// exactly one record long and the record is a value this module could have
// written for the row named in the file name (see ZapisDopustima). Files are
// written under a temporary name and linked into place, so a file of the
// cache is either complete or absent, and an existing file is never replaced.
#include "number/kesh.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "number/mashinnye.h"

VM_KESH_KONSTANT KeshKonstant;

const char* const VM_PAPKA_KESHA = "VelimathData/";

namespace {

// Serialises every store into the table; lookups go without it.
std::mutex zamokKesha;

constexpr int RAZMER_ZAPISI = static_cast<int>(sizeof(vmChislo));
constexpr const char* RASSHIRENIE = ".vmChislo";

bool IndeksDopustim(VidKonstanti vid, int r, int n) {
    if (r < 0 || r >= VM_KESH_OSNOVANIY) return false;
    return vid == VidKonstanti::Pi || (n >= 0 && n < VM_KESH_CHISEL);
}

vmChislo& Yacheyka(VidKonstanti vid, int r, int n) {
    switch (vid) {
    case VidKonstanti::Ln:
        return KeshKonstant.lnValue[r][n];
    case VidKonstanti::Exp:
        return KeshKonstant.expValue[r][n];
    default:
        return KeshKonstant.piValue[r];
    }
}

// The flag bytes stay plain bytes in the record; every access goes through
// an atomic view of the byte.
std::atomic_ref<std::uint8_t> Flag(VidKonstanti vid, int r, int n) {
    switch (vid) {
    case VidKonstanti::Ln:
        return std::atomic_ref<std::uint8_t>(KeshKonstant.lnKnown[r][n]);
    case VidKonstanti::Exp:
        return std::atomic_ref<std::uint8_t>(KeshKonstant.expKnown[r][n]);
    default:
        return std::atomic_ref<std::uint8_t>(KeshKonstant.piKnown[r]);
    }
}

std::string Std(const TAnsiString& s) {
    return s.ToStd();
}

// A record read from a file is accepted only when it is well formed for the
// radix row of its name: radix byte equal to that row and in 2..36, sign 0
// or 1, every digit below the radix, and an exponent inside the record's
// limits. Below -2^29 only the default exponent -2^31+1 is accepted (it
// counts as zero everywhere); other values there are refused because
// exponent arithmetic near INT32_MIN is not defined.
bool ZapisDopustima(const vmChislo& v, std::int32_t osnovanieImeni) {
    if (osnovanieImeni < 2 || osnovanieImeni > 36) return false;
    if (v.Osnovanie != osnovanieImeni) return false;
    if (v.Znak > 1) return false;
    for (int p = 0; p < VM_RAZRYADOV; ++p)
        if (vmCifra(v, p) >= v.Osnovanie) return false;
    if (v.Poryadok == VM_PORYADOK_PO_UMOLCHANIYU) return true;
    return v.Poryadok >= -VM_PREDEL_PORYADKA && v.Poryadok <= VM_PREDEL_PORYADKA;
}

bool ZapisatVse(int fd, const unsigned char* data, int n) {
    while (n > 0) {
        ssize_t w = ::write(fd, data, static_cast<size_t>(n));
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += w;
        n -= static_cast<int>(w);
    }
    return true;
}

bool PutSushestvuet(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// Creates a fresh temporary file beside the cache files. Its name starts
// with a dot and does not end in the cache extension, so a leftover from a
// crash is never taken for a constant.
int SozdatVremenniy(const std::string& papka, const std::string& imya, std::string* put) {
    static std::atomic<unsigned> schetchik{0};
    for (int popitka = 0; popitka < 100; ++popitka) {
        *put = papka + "." + imya + "." + std::to_string(::getpid()) + "." +
               std::to_string(schetchik.fetch_add(1)) + ".tmp";
        int fd = ::open(put->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

TAnsiString ImyaFaylaKonstanti(VidKonstanti vid, int r, int n) {
    TAnsiString s = TAnsiString("int") + CeloeVStroku(VM_CELIH_RAZRYADOV) + "frac" +
                    CeloeVStroku(VM_DROBNIH_RAZRYADOV) + "radix" + CeloeVStroku(r);
    switch (vid) {
    case VidKonstanti::Ln:
        return s + "ln(" + CeloeVStroku(n) + ").vmChislo";
    case VidKonstanti::Exp:
        return s + "_exp(" + CeloeVStroku(n) + ").vmChislo";
    default:
        return s + "pi(1).vmChislo";
    }
}

bool KeshNayti(VidKonstanti vid, int r, int n, vmChislo* out) {
    if (!IndeksDopustim(vid, r, n)) return false;
    if (Flag(vid, r, n).load(std::memory_order_acquire) == 0) return false;
    *out = Yacheyka(vid, r, n);
    return true;
}

vmChislo KeshZapolnit(VidKonstanti vid, int r, int n, const vmChislo& v) {
    if (!IndeksDopustim(vid, r, n)) return v;
    std::lock_guard<std::mutex> lock(zamokKesha);
    auto flag = Flag(vid, r, n);
    vmChislo& slot = Yacheyka(vid, r, n);
    if (flag.load(std::memory_order_relaxed) == 0) {
        slot = v;
        flag.store(1, std::memory_order_release);
    }
    return slot;
}

void OchistitKesh() {
    std::lock_guard<std::mutex> lock(zamokKesha);
    const vmChislo pustoe;
    for (int r = 0; r < VM_KESH_OSNOVANIY; ++r) {
        for (int n = 0; n < VM_KESH_CHISEL; ++n) {
            Flag(VidKonstanti::Ln, r, n).store(0, std::memory_order_relaxed);
            Flag(VidKonstanti::Exp, r, n).store(0, std::memory_order_relaxed);
            KeshKonstant.lnValue[r][n] = pustoe;
            KeshKonstant.expValue[r][n] = pustoe;
        }
        Flag(VidKonstanti::Pi, r, 0).store(0, std::memory_order_relaxed);
        KeshKonstant.piValue[r] = pustoe;
    }
}

void ZagruzitKesh() {
    OchistitKesh();

    // The names are collected first, so that deleting an unreadable file
    // does not disturb the directory scan.
    std::vector<std::string> imena;
    std::error_code ec;
    std::filesystem::directory_iterator it(VM_PAPKA_KESHA, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string imya = it->path().filename().string();
        if (imya.size() > std::strlen(RASSHIRENIE) && imya.ends_with(RASSHIRENIE))
            imena.push_back(imya);
    }

    const TAnsiString klyuchInt("int"), klyuchFrac("frac"), klyuchRadix("radix");
    const TAnsiString klyuchLn("ln("), klyuchExp("exp("), klyuchPi("pi(");
    for (const std::string& s : imena) {
        if (s.find('\0') != std::string::npos) continue;
        TAnsiString imya(s.c_str());
        std::int32_t celih = 0, drobnih = 0, r = 0, n = 0;
        if (!ChisloPosleKlyucha(imya, klyuchInt, &celih) || celih != VM_CELIH_RAZRYADOV) continue;
        if (!ChisloPosleKlyucha(imya, klyuchFrac, &drobnih) || drobnih != VM_DROBNIH_RAZRYADOV)
            continue;
        if (!ChisloPosleKlyucha(imya, klyuchRadix, &r) || r < 0 || r >= VM_KESH_OSNOVANIY) continue;
        vmChislo v;
        if (ChisloPosleKlyucha(imya, klyuchLn, &n) && n >= 0 && n < VM_KESH_CHISEL &&
            ZagruzitKonstantu(imya, &v)) {
            KeshZapolnit(VidKonstanti::Ln, r, n, v);
        } else if (ChisloPosleKlyucha(imya, klyuchExp, &n) && n >= 0 && n < VM_KESH_CHISEL &&
                   ZagruzitKonstantu(imya, &v)) {
            KeshZapolnit(VidKonstanti::Exp, r, n, v);
        } else if (ChisloPosleKlyucha(imya, klyuchPi, &n) && n == 1 &&
                   ZagruzitKonstantu(imya, &v)) {
            KeshZapolnit(VidKonstanti::Pi, r, 0, v);
        }
    }
}

void SohranitKesh() {
    vmChislo v;
    for (int r = 0; r < VM_KESH_OSNOVANIY; ++r) {
        for (int n = 0; n < VM_KESH_CHISEL; ++n) {
            if (KeshNayti(VidKonstanti::Ln, r, n, &v))
                SohranitKonstantu(ImyaFaylaKonstanti(VidKonstanti::Ln, r, n), &v);
            if (KeshNayti(VidKonstanti::Exp, r, n, &v))
                SohranitKonstantu(ImyaFaylaKonstanti(VidKonstanti::Exp, r, n), &v);
        }
        if (KeshNayti(VidKonstanti::Pi, r, 0, &v))
            SohranitKonstantu(ImyaFaylaKonstanti(VidKonstanti::Pi, r, 0), &v);
    }
}

bool SohranitKonstantu(const TAnsiString& name, const vmChislo* slot) {
    const std::string papka = VM_PAPKA_KESHA;
    if (!PapkaSushestvuet(TAnsiString(VM_PAPKA_KESHA))) {
        // Another thread or process may have created it meanwhile.
        if (::mkdir(papka.c_str(), 0777) != 0 &&
            !(errno == EEXIST && PapkaSushestvuet(TAnsiString(VM_PAPKA_KESHA))))
            return false;
    }
    const std::string imya = Std(name);
    if (imya.empty() || imya.find('/') != std::string::npos) return false;
    const std::string put = papka + imya;
    if (FaylSushestvuet(TAnsiString(put.c_str()))) return true;
    // Something that cannot be read stands there: it is not replaced.
    if (PutSushestvuet(put)) return false;

    std::string vremenniy;
    int fd = SozdatVremenniy(papka, imya, &vremenniy);
    if (fd < 0) return false;
    unsigned char bayti[RAZMER_ZAPISI];
    std::memcpy(bayti, slot, RAZMER_ZAPISI);
    bool uspeh = ZapisatVse(fd, bayti, RAZMER_ZAPISI) && ::fdatasync(fd) == 0;
    if (::close(fd) != 0) uspeh = false;
    if (!uspeh) {
        ::unlink(vremenniy.c_str());
        return false;
    }

    // link() refuses to replace an existing name, which rename() would do.
    bool gotovo;
    if (::link(vremenniy.c_str(), put.c_str()) == 0) {
        gotovo = true;
    } else if (errno == EEXIST) {
        gotovo = FaylSushestvuet(TAnsiString(put.c_str()));
    } else {
        // A file system without hard links: rename, checking first that the
        // name is still free.
        gotovo = !PutSushestvuet(put) && ::rename(vremenniy.c_str(), put.c_str()) == 0;
    }
    ::unlink(vremenniy.c_str());
    return gotovo;
}

bool ZagruzitKonstantu(const TAnsiString& name, vmChislo* slot) {
    const std::string imya = Std(name);
    if (imya.empty() || imya.find('/') != std::string::npos) return false;
    const std::string put = std::string(VM_PAPKA_KESHA) + imya;
    if (!FaylSushestvuet(TAnsiString(put.c_str()))) return false;
    int fd = ::open(put.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    // One byte more than a record is asked for, to see a longer file.
    unsigned char bayti[RAZMER_ZAPISI + 1];
    int prochitano = 0;
    bool oshibka = false;
    while (prochitano < RAZMER_ZAPISI + 1) {
        ssize_t n =
            ::read(fd, bayti + prochitano, static_cast<size_t>(RAZMER_ZAPISI + 1 - prochitano));
        if (n < 0) {
            if (errno == EINTR) continue;
            oshibka = true;
            break;
        }
        if (n == 0) break;
        prochitano += static_cast<int>(n);
    }
    ::close(fd);
    if (oshibka) {
        ::unlink(put.c_str());
        return false;
    }
    if (prochitano != RAZMER_ZAPISI) return false;

    vmChislo v;
    std::memcpy(&v, bayti, RAZMER_ZAPISI);
    std::int32_t r = 0;
    if (!ChisloPosleKlyucha(name, TAnsiString("radix"), &r) || !ZapisDopustima(v, r)) return false;
    *slot = v;
    return true;
}

bool ChisloPosleKlyucha(const TAnsiString& name, const TAnsiString& key, std::int32_t* value) {
    int pos = name.Pos(key);
    if (pos == 0) return false;
    int nachalo = pos - 1 + key.Length();
    int ostatok = name.Length() - nachalo;
    if (ostatok <= 0) return false;
    int dlina = 0;
    const char* chislo = NaytiChisloVTekste(name.Data() + nachalo, ostatok, &dlina);
    if (chislo == nullptr || dlina <= 0) return false;
    double d = 0;
    if (TekstVChislo(&d, chislo, dlina, false) != TVCH_USPEH) return false;
    *value = Okruglit(d);
    return true;
}

bool PapkaSushestvuet(const TAnsiString& path) {
    const std::string put = Std(path);
    if (put.empty()) return false;
    // Being able to enter the folder is what the cache needs; the current
    // directory of the process is not touched (other threads rely on it).
    struct stat st;
    return ::stat(put.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(put.c_str(), X_OK) == 0;
}

bool FaylSushestvuet(const TAnsiString& path) {
    const std::string put = Std(path);
    if (put.empty()) return false;
    // O_NONBLOCK: a FIFO under a cache name must not hang the start-up.
    int fd = ::open(put.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    bool fayl = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return fayl;
}
