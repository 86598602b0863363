// Helpers shared by the test programs.
#pragma once

#include <string>
#include <vector>

#include "text/tansistring.h"

// Collects every ShowError text (as UTF-8) while it lives; installs itself as
// the error handler and restores the previous one on destruction.
class SborSoobsheniy {
  public:
    SborSoobsheniy();
    ~SborSoobsheniy();
    SborSoobsheniy(const SborSoobsheniy&) = delete;
    SborSoobsheniy& operator=(const SborSoobsheniy&) = delete;
    std::vector<std::string> Soobsheniya() const;
    void Ochistit();
};

// UTF-8 text of the test source -> Windows-1251 TAnsiString and back.
TAnsiString Cp(const std::string& utf8);
std::string Utf(const TAnsiString& cp1251);
