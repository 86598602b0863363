#include "common/test_support.h"

#include <mutex>

#include "platform/platforma.h"
#include "text/kodirovka.h"

namespace {
std::mutex zamok;
std::vector<std::string> sobrannye;
ObrabotchikOshibki prezhniy = nullptr;

void Sobrat(const TAnsiString& text) {
    std::lock_guard<std::mutex> l(zamok);
    sobrannye.push_back(Cp1251VUtf8(text.ToStd()));
}
} // namespace

SborSoobsheniy::SborSoobsheniy() {
    Ochistit();
    prezhniy = UstanovitObrabotchikOshibki(&Sobrat);
}

SborSoobsheniy::~SborSoobsheniy() {
    UstanovitObrabotchikOshibki(prezhniy);
}

std::vector<std::string> SborSoobsheniy::Soobsheniya() const {
    std::lock_guard<std::mutex> l(zamok);
    return sobrannye;
}

void SborSoobsheniy::Ochistit() {
    std::lock_guard<std::mutex> l(zamok);
    sobrannye.clear();
}

TAnsiString Cp(const std::string& utf8) {
    // NUL bytes kept; a character the code page lacks becomes the mark that
    // front ends give it.
    const std::string b = Utf8VCp1251(utf8, CHUZHOY_SIMVOL);
    return TAnsiString(b.data(), int(b.size()));
}

std::string Utf(const TAnsiString& cp1251) {
    return Cp1251VUtf8(cp1251.ToStd());
}
