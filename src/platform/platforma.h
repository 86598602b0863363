// The thin layer between the core and the operating system / front end:
// error messages, the locale decimal separator, the stop flag. Files and
// folders are in platform/fayli.h, the calculation thread's own stack in
// platform/potok.h.
#pragma once

#include <cstdint>

class TAnsiString;

// Shows an error text (Windows-1251) to the user and returns when the user has
// dismissed it. Goes to the handler installed by the front end; the default
// handler writes the text, converted to UTF-8, and a line feed to stderr.
// May be called from any thread; the handler decides how to show it.
void ShowError(const TAnsiString& text);

using ObrabotchikOshibki = void (*)(const TAnsiString& text);
// Installs a handler (null restores the default). Returns the previous one.
// Call at start-up or from tests, not while a calculation runs.
ObrabotchikOshibki UstanovitObrabotchikOshibki(ObrabotchikOshibki handler);

// A per-thread interception of ShowError: while one is set on a thread,
// ShowError on that thread calls f(kontekst, text) instead of the handler; a
// ShowError made inside f goes to the handler. A calculation run sets one to
// record its messages. Returns the previous one of the calling thread.
struct TPerehvatOshibok {
    void (*f)(void* kontekst, const TAnsiString& text) = nullptr;
    void* kontekst = nullptr;
};
TPerehvatOshibok UstanovitPerehvatOshibok(TPerehvatOshibok perehvat);

// The C locale's decimal separator after setlocale(LC_ALL, ""): the first
// byte of localeconv()->decimal_point, or '.' (the C library's own) when
// the user's locale cannot be set or read.
// Leaves the process in the user's locale except LC_NUMERIC, which it sets
// back to "C". setlocale is process-wide: call once at start-up, before any
// other thread runs.
char LokalniyRazdelitel();

// A stop of the calculation has been requested. Set by the main thread (or a
// signal handler), polled by the calculation thread and by every long loop of
// the number module; cleared in one place only, by the engine as it starts a
// run (TDvigatel in eval/dvigatel.cpp).
#include <atomic>
extern std::atomic<std::uint8_t> CalcCancelled;

// True when a stop has been requested and the calling thread obeys it. The
// long loops of the number module poll this, not CalcCancelled itself: the
// flag belongs to the calculation run, and stays set after a stopped run
// until the next one starts, so work the main thread does for itself (the
// buttons "e" and "pi") must not see it. Any thread.
bool OtmenaZaproshena();

// While one lives, the constructing thread ignores stop requests (RAII;
// nests). Main thread, around computations that are no part of a run.
class TBezOtmeny {
  public:
    TBezOtmeny();
    ~TBezOtmeny();
    TBezOtmeny(const TBezOtmeny&) = delete;
    TBezOtmeny& operator=(const TBezOtmeny&) = delete;

  private:
    bool prezhnee_;
};
