#include "cli/istoriya.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The folders of put up to its last "/", made (0700) where missing; errno
// tells why when false.
bool SozdatPapki(const std::string& put) {
    for (std::size_t i = put.find('/', 1); i != std::string::npos; i = put.find('/', i + 1)) {
        const std::string papka = put.substr(0, i);
        if (::mkdir(papka.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

bool Zapisat(const std::string& put, const std::vector<std::string>& stroki) {
    if (!SozdatPapki(put)) return false;
    const std::string vremenniy = put + "." + std::to_string(::getpid()) + ".tmp";
    std::FILE* f = std::fopen(vremenniy.c_str(), "w");
    if (f == nullptr) return false;
    for (const std::string& s : stroki) {
        std::fwrite(s.data(), 1, s.size(), f);
        std::fputc('\n', f);
    }
    bool gotovo = std::fflush(f) == 0 && ::fsync(fileno(f)) == 0;
    const int oshibka = errno;
    gotovo = std::fclose(f) == 0 && gotovo;
    if (gotovo && std::rename(vremenniy.c_str(), put.c_str()) == 0) return true;
    const int prichina = gotovo ? errno : oshibka;
    std::remove(vremenniy.c_str());
    errno = prichina;
    return false;
}

} // namespace

std::string PutIstorii() {
    const char* sostoyanie = std::getenv("XDG_STATE_HOME");
    if (sostoyanie != nullptr && sostoyanie[0] == '/')
        return std::string(sostoyanie) + "/ciframer/history";
    const char* dom = std::getenv("HOME");
    if (dom != nullptr && dom[0] != '\0')
        return std::string(dom) + "/.local/state/ciframer/history";
    return {};
}

std::vector<std::string> TIstoriya::Prochitat() const {
    std::vector<std::string> stroki;
    std::FILE* f = put_.empty() ? nullptr : std::fopen(put_.c_str(), "r");
    if (f == nullptr) return stroki;
    std::string stroka;
    for (int c; (c = std::fgetc(f)) != EOF;) {
        if (c != '\n') {
            stroka.push_back(char(c));
            continue;
        }
        if (!stroka.empty()) stroki.push_back(stroka);
        stroka.clear();
    }
    if (!stroka.empty()) stroki.push_back(stroka);
    std::fclose(f);
    if (stroki.size() > IstoriyaStrok)
        stroki.erase(stroki.begin(), stroki.end() - std::ptrdiff_t(IstoriyaStrok));
    return stroki;
}

void TIstoriya::Dobavit(const std::string& stroka) {
    if (put_.empty() || otkaz_) return;
    std::vector<std::string> stroki = Prochitat();
    stroki.push_back(stroka);
    if (stroki.size() > IstoriyaStrok) stroki.erase(stroki.begin());
    if (Zapisat(put_, stroki)) return;
    otkaz_ = true;
    std::fprintf(stderr, "ciframer-cli: cannot keep the history in %s: %s\n", put_.c_str(),
                 std::strerror(errno));
    std::fflush(stderr);
}
