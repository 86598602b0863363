// The command line's side of a calculation run: the definitions, settings
// and result of one run, and the stderr writers for messages and the log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "eval/zapusk.h"
#include "text/tansistring.h"

// The run's window for the command line: fixed settings from the options,
// the result kept for the main thread to print. Built on the main thread,
// used by the calculation thread while the main thread waits for it.
class TOknoKomandnoyStroki : public IOknoVichisleniya {
  public:
    TOknoKomandnoyStroki(std::vector<TAnsiString> stroki, TAnsiString imya, std::int32_t osnovanie,
                         std::int32_t razryadi);
    std::vector<TAnsiString> StrokiOpredeleniy() override { return stroki_; }
    TAnsiString ImyaPeremennoy() override { return imya_; }
    std::int32_t PoluchitOsnovanie() override { return osnovanie_; }
    std::int32_t PoluchitRazryadi() override { return razryadi_; }
    void UstanovitZnachenie(const TAnsiString& text) override;

    bool EstZnachenie() const { return estZnachenie_; }
    const TAnsiString& Znachenie() const { return znachenie_; }

  private:
    std::vector<TAnsiString> stroki_;
    TAnsiString imya_;
    std::int32_t osnovanie_;
    std::int32_t razryadi_;
    TAnsiString znachenie_;
    bool estZnachenie_ = false;
};

// Splits a Windows-1251 text into lines as a multi-line edit field holds
// them: on LF, a CR before the LF dropped, no extra empty line after a final
// line break, no line at all for an empty text.
std::vector<TAnsiString> RazbitNaStroki(const std::string& tekst);

// Installs the stderr writers: every message on a line of its own (UTF-8);
// with sZhurnalom the intermediate-results log too, one entry per line. The
// two never share a line.
void PodklyuchitStderr(bool sZhurnalom);
// Ends an open log line (call after the run).
void ZavershitZhurnal();
