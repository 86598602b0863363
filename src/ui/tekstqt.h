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
inline TAnsiString VAnsi(const QString& s) {
    const std::string b = VBaiti(s);
    return TAnsiString(b.data(), int(b.size()));
}
