#include "text/kodirovka_ansi.h"

#include "text/kodirovka.h"

TAnsiString Utf8VAnsi(const std::string& utf8) {
    const std::string b = Utf8VCp1251(utf8, CHUZHOY_SIMVOL);
    return TAnsiString(b.data(), static_cast<int>(b.size()));
}
