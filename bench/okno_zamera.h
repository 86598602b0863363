// The front end of a measured run: fixed definitions, the variable y, radix
// 10, 100 digits; keeps the result text.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "eval/zapusk.h"

class TOknoZamera : public IOknoVichisleniya {
  public:
    explicit TOknoZamera(std::vector<TAnsiString> stroki) : stroki_(std::move(stroki)) {}
    explicit TOknoZamera(const std::vector<std::string>& stroki) {
        for (const auto& s : stroki) stroki_.emplace_back(s.c_str());
    }
    std::vector<TAnsiString> StrokiOpredeleniy() override { return stroki_; }
    TAnsiString ImyaPeremennoy() override { return TAnsiString("y"); }
    std::int32_t PoluchitOsnovanie() override { return 10; }
    std::int32_t PoluchitRazryadi() override { return 100; }
    void UstanovitZnachenie(const TAnsiString& text) override { rezultat = text; }
    TAnsiString rezultat;

  private:
    std::vector<TAnsiString> stroki_;
};
