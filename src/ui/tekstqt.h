// Conversions between the core's Windows-1251 texts and Qt's QString.
//
// Every function works on its arguments only and may be called from any
// thread; TAnsiString bodies are not shared across threads, so a text meant
// for another thread travels as std::string bytes (VBaiti) and becomes a
// TAnsiString on the receiving side.
#pragma once

#include <QString>
#include <string>

#include "platform/platforma.h"
#include "text/kodirovka.h"
#include "text/tansistring.h"

// Windows-1251 bytes -> QString.
inline QString VQString(const std::string& cp1251) {
    return QString::fromStdString(Cp1251VUtf8(cp1251));
}
inline QString VQString(const TAnsiString& cp1251) {
    return VQString(cp1251.ToStd());
}

// QString -> Windows-1251 bytes; characters that code page lacks become '?'.
inline std::string VBaiti(const QString& s) {
    return Utf8VCp1251(s.toStdString());
}
// QString -> Windows-1251 bytes for the texts a run reads (definitions, the
// name to compute): one byte per UTF-16 unit, so that a position in a line
// is the same in both, and a character that code page lacks becomes
// CHUZHOY_SIMVOL, which the core refuses in names instead of reading it as
// '?' (each half of a surrogate pair is one such byte).
inline std::string VBaitiPoZnakam(const QString& s) {
    for (QChar c : s)
        if (c.isSurrogate()) {
            QString zamena = s;
            for (QChar& z : zamena)
                if (z.isSurrogate()) z = QChar(0xFFFD);
            return Utf8VCp1251(zamena.toStdString(), CHUZHOY_SIMVOL);
        }
    return Utf8VCp1251(s.toStdString(), CHUZHOY_SIMVOL);
}
inline TAnsiString VAnsi(const QString& s) {
    const std::string b = VBaiti(s);
    return TAnsiString(b.data(), int(b.size()));
}
