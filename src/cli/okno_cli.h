// The command line's side of a calculation run: the definitions, settings
// and result of one run, and the stderr writers for messages, warnings and
// the log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "eval/ishod.h"
#include "eval/zapusk.h"
#include "text/tansistring.h"

// The run's window for the command line: fixed settings from the options,
// the result kept for the main thread to print. Built on the main thread,
// used by the calculation thread while the main thread waits for it.
//
// mesto names where the definitions came from, as a compiler names its
// input (a file's path, "<stdin>", "-e"): a message about line N is printed
// as "mesto:N: text". With an empty mesto, or for a message about no line,
// the text stands alone.
class TOknoKomandnoyStroki : public IOknoVichisleniya {
  public:
    TOknoKomandnoyStroki(std::vector<TAnsiString> stroki, TAnsiString imya, std::int32_t osnovanie,
                         std::int32_t razryadi, std::string mesto = {});
    std::vector<TAnsiString> StrokiOpredeleniy() override { return stroki_; }
    TAnsiString ImyaPeremennoy() override { return imya_; }
    std::int32_t PoluchitOsnovanie() override { return osnovanie_; }
    std::int32_t PoluchitRazryadi() override { return razryadi_; }
    void UstanovitZnachenie(const TAnsiString& text) override;
    // Prints the message on stderr at once, with its location.
    void Soobshit(const TSoobshenie& soobshenie) override;

    bool EstZnachenie() const { return estZnachenie_; }
    const TAnsiString& Znachenie() const { return znachenie_; }

  private:
    std::vector<TAnsiString> stroki_;
    TAnsiString imya_;
    std::int32_t osnovanie_;
    std::int32_t razryadi_;
    std::string mesto_;
    TAnsiString znachenie_;
    bool estZnachenie_ = false;
};

// Splits a text (UTF-8 or Windows-1251: only LF and CR are looked at) into
// lines as a multi-line edit field holds them: on LF, a CR before the LF
// dropped, no extra empty line after a final line break, no line at all for
// an empty text.
std::vector<std::string> RazbitNaStroki(const std::string& tekst);

// Prints the run's warnings on stderr, one a line, after the run has ended:
// "mesto:N: предупреждение: text", the location left out as for messages.
void NapisatPreduprezhdeniya(const TIshod& ishod, const std::string& mesto);

// Installs the stderr writers: every message on a line of its own (UTF-8);
// with sZhurnalom the intermediate-results log too, one entry per line. The
// two never share a line.
void PodklyuchitStderr(bool sZhurnalom);
// Ends an open log line (call after the run).
void ZavershitZhurnal();
