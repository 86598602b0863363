#include "text/kodirovka.h"

namespace {
// Unicode code points of the Windows-1251 bytes 0x80..0xFF; 0 marks 0x98,
// which the code page leaves unassigned.
constexpr char16_t TablicaCp1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // F8
};
} // namespace

void DobavitUtf8(std::string& r, char32_t u) {
    if (u < 0x80) {
        r += char(u);
    } else if (u < 0x800) {
        r += char(0xC0 | (u >> 6));
        r += char(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        r += char(0xE0 | (u >> 12));
        r += char(0x80 | ((u >> 6) & 0x3F));
        r += char(0x80 | (u & 0x3F));
    } else {
        r += char(0xF0 | (u >> 18));
        r += char(0x80 | ((u >> 12) & 0x3F));
        r += char(0x80 | ((u >> 6) & 0x3F));
        r += char(0x80 | (u & 0x3F));
    }
}

std::string Cp1251VUtf8(const std::string& bytes) {
    std::string r;
    r.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        if (b < 0x80) {
            r += char(b);
            continue;
        }
        const char32_t u = TablicaCp1251[b - 0x80];
        if (u == 0)
            r += '?';
        else
            DobavitUtf8(r, u);
    }
    return r;
}

std::size_t DekodirovatUtf8(const std::string& s, std::size_t i, char32_t* u) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t dlina;
    char32_t kod;
    char32_t minimum;
    if (b0 < 0x80) {
        *u = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        dlina = 2, kod = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        dlina = 3, kod = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        dlina = 4, kod = b0 & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + dlina > s.size()) return 0;
    for (std::size_t k = 1; k < dlina; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        kod = (kod << 6) | (b & 0x3F);
    }
    if (kod < minimum || kod > 0x10FFFF || (kod >= 0xD800 && kod <= 0xDFFF)) return 0;
    *u = kod;
    return dlina;
}

std::string Utf8VCp1251(const std::string& utf8) {
    return Utf8VCp1251(utf8, '?');
}

bool EstChuzhoySimvol(std::string_view s) {
    return s.find(CHUZHOY_SIMVOL) != std::string_view::npos;
}

std::string Utf8VCp1251(const std::string& utf8, char zamena) {
    std::string r;
    r.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t u = 0;
        const std::size_t n = DekodirovatUtf8(utf8, i, &u);
        if (n == 0) {
            r += '?'; // one mark per byte that starts no valid character
            ++i;
            continue;
        }
        i += n;
        if (u < 0x80) {
            r += char(u);
            continue;
        }
        char b = zamena;
        for (int k = 0; k < 128; ++k) {
            if (TablicaCp1251[k] != 0 && TablicaCp1251[k] == u) {
                b = char(0x80 + k);
                break;
            }
        }
        r += b;
    }
    return r;
}

std::string IspravitUtf8(const std::string& s) {
    std::string r;
    r.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t u = 0;
        const std::size_t n = DekodirovatUtf8(s, i, &u);
        if (n == 0) {
            DobavitUtf8(r, 0xFFFD);
            ++i;
        } else {
            r.append(s, i, n);
            i += n;
        }
    }
    return r;
}
