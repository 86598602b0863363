// Files and folders on POSIX.
#include "platform/fayli.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

bool PapkaDostupna(const std::string& put) {
    if (put.empty()) return false;
    struct stat st;
    return ::stat(put.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(put.c_str(), X_OK) == 0;
}

bool FaylChitaetsya(const std::string& put) {
    if (put.empty()) return false;
    int fd = ::open(put.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    bool fayl = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return fayl;
}

bool EtoPapka(const std::string& put) {
    struct stat st;
    return ::stat(put.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string DomashnyayaPapkaIzBazi() {
    const passwd* zapis = ::getpwuid(::getuid());
    return zapis != nullptr && zapis->pw_dir != nullptr ? std::string(zapis->pw_dir)
                                                        : std::string();
}

bool PutZanyat(const std::string& put) {
    struct stat st;
    return ::lstat(put.c_str(), &st) == 0;
}

bool SozdatPapku(const std::string& papka) {
    std::string put = papka;
    while (put.size() > 1 && put.back() == '/') put.pop_back();
    for (std::size_t i = 1; i <= put.size(); ++i) {
        if (i < put.size() && (put[i] != '/' || put[i - 1] == '/')) continue;
        const std::string chast = put.substr(0, i);
        if (PapkaDostupna(chast)) continue;
        if (::mkdir(chast.c_str(), i == put.size() ? 0777 : 0700) != 0 && errno != EEXIST)
            return false;
    }
    return PapkaDostupna(papka);
}

Chtenie ProchitatFayl(const std::string& put, unsigned char* bayti, int razmer, int* prochitano) {
    *prochitano = 0;
    if (!FaylChitaetsya(put)) return Chtenie::Net;
    int fd = ::open(put.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Chtenie::Net;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Chtenie::Net;
    }
    while (*prochitano < razmer) {
        ssize_t n = ::read(fd, bayti + *prochitano, static_cast<size_t>(razmer - *prochitano));
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return Chtenie::Oshibka;
        }
        if (n == 0) break;
        *prochitano += static_cast<int>(n);
    }
    ::close(fd);
    return Chtenie::Prochitano;
}

void UdalitFayl(const std::string& put) {
    ::unlink(put.c_str());
}

std::vector<std::string> ImenaVPapke(const std::string& papka) {
    std::vector<std::string> imena;
    std::error_code ec;
    std::filesystem::directory_iterator it(papka, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        imena.push_back(it->path().filename().string());
    return imena;
}

namespace {

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

// Creates a fresh temporary file beside the final one. Its name starts with
// a dot and ends in ".tmp", so a leftover from a crash is never taken for
// the file it was to become.
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

// The process id in a temporary name of SozdatVremenniy for a name longer
// than and ending in rasshirenie; 0 for any other name.
pid_t PidVremennogo(const std::string& imya, std::string_view rasshirenie) {
    constexpr std::string_view KONEC = ".tmp";
    if (imya.size() < 2 || imya[0] != '.' || !imya.ends_with(KONEC)) return 0;
    const std::string s = imya.substr(1, imya.size() - 1 - KONEC.size());
    // Decimal digits, at most `bolshe` of them (a pid has at most 7, the
    // counter at most 10).
    auto cifri = [](const std::string& t, std::size_t bolshe) {
        return !t.empty() && t.size() <= bolshe &&
               t.find_first_not_of("0123456789") == std::string::npos;
    };
    const std::size_t tochkaN = s.rfind('.');
    if (tochkaN == std::string::npos || !cifri(s.substr(tochkaN + 1), 10)) return 0;
    const std::size_t tochkaPid = tochkaN == 0 ? std::string::npos : s.rfind('.', tochkaN - 1);
    if (tochkaPid == std::string::npos) return 0;
    const std::string pid = s.substr(tochkaPid + 1, tochkaN - tochkaPid - 1);
    const std::string osnova = s.substr(0, tochkaPid);
    if (!cifri(pid, 9) || pid[0] == '0' || osnova.size() <= rasshirenie.size() ||
        !osnova.ends_with(rasshirenie))
        return 0;
    return static_cast<pid_t>(std::stol(pid));
}

} // namespace

bool ZapisatNoviyFayl(const std::string& papka, const std::string& imya, const unsigned char* bayti,
                      int n) {
    const std::string put = papka + imya;
    std::string vremenniy;
    int fd = SozdatVremenniy(papka, imya, &vremenniy);
    if (fd < 0) return false;
    bool uspeh = ZapisatVse(fd, bayti, n) && ::fdatasync(fd) == 0;
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
        gotovo = FaylChitaetsya(put);
    } else {
        // A file system without hard links: rename, checking first that the
        // name is still free.
        gotovo = !PutZanyat(put) && ::rename(vremenniy.c_str(), put.c_str()) == 0;
    }
    ::unlink(vremenniy.c_str());
    return gotovo;
}

bool VremenniyBroshen(const std::string& imya, std::string_view rasshirenie) {
    const pid_t pid = PidVremennogo(imya, rasshirenie);
    return pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}
