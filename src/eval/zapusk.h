// One calculation run: the run body that both front ends execute on their
// calculation thread, and the thread that carries it. The settings it reads
// are in nastroyki.h, the log sink in zhurnal.h.
//
// The run body reaches the window (or the command line) only through
// IOknoVichisleniya; a window implements each call by having its main thread
// carry it out and waiting for it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/platforma.h" // CalcCancelled
#include "eval/ishod.h"
#include "eval/nastroyki.h"
#include "eval/zhurnal.h"
#include "platform/potok.h"
#include "text/tansistring.h"

// What the run body reads from and writes to its front end. Every call comes
// from the calculation thread.
class IOknoVichisleniya {
  public:
    virtual ~IOknoVichisleniya() = default;
    // The lines of the definitions text, in order (Windows-1251).
    virtual std::vector<TAnsiString> StrokiOpredeleniy() = 0;
    // The text of the field naming the variable to compute (not trimmed).
    virtual TAnsiString ImyaPeremennoy() = 0;
    // The radix selected now (2..36).
    virtual std::int32_t PoluchitOsnovanie() = 0;
    // The digit count set now (0..100); may show a message on a bad field.
    virtual std::int32_t PoluchitRazryadi() = 0;
    // Shows the result text.
    virtual void UstanovitZnachenie(const TAnsiString& text) = 0;
    // Shows one message of the run as it is found (its line tells which
    // definition it is about). By default ShowError, the one way errors
    // reach the user; a front end that prints locations overrides it.
    virtual void Soobshit(const TSoobshenie& soobshenie);
};

// The run body: parses the definitions, evaluates the named variable and
// shows it converted and formatted. True when a result was shown; false after
// an error message (or a stop). Fills ishod: the messages go both to it and
// to okno.Soobshit, the warnings to it only. Calculation thread only.
bool VichislitPeremennuyu(IOknoVichisleniya& okno, TIshod& ishod);
// The same, the outcome dropped (benchmarks and tests of the body).
bool VichislitPeremennuyu(IOknoVichisleniya& okno);

// Stack size the calculation thread needs for the deepest chain of
// references the variable table allows (65536 variables).
constexpr std::size_t VM_STEK_POTOKA_VICHISLENIY = std::size_t(1) << 30;

// Runs zadacha and turns an exception it throws (std::bad_alloc from a huge
// text, or any other) into a message by ShowError ("Недостаточно памяти для
// вычисления" or "Внутренняя ошибка вычисления"), so that a run ends with a
// word instead of ending the process. False after such a message. Any thread;
// the calculation threads of both front ends run their body through it.
bool VipolnitZashishenno(const std::function<void()>& zadacha);

// Runs zadacha on a new thread with a stack of VM_STEK_POTOKA_VICHISLENIY
// bytes and waits until it has ended (for front ends without a thread class
// of their own, tests and benchmarks). False, zadacha not run, when the
// thread cannot be created. Any thread.
bool VipolnitNaPotokeVichisleniy(const std::function<void()>& zadacha);

// A calculation thread that is not waited for at once: Zapustit starts
// zadacha (through VipolnitZashishenno) on a new thread with a stack of
// VM_STEK_POTOKA_VICHISLENIY bytes, Dozhdatsya (or the destructor) joins it.
// One task per object. Owner's thread only.
class TPotokVichisleniy {
  public:
    explicit TPotokVichisleniy(std::function<void()> zadacha);
    ~TPotokVichisleniy();
    TPotokVichisleniy(const TPotokVichisleniy&) = delete;
    TPotokVichisleniy& operator=(const TPotokVichisleniy&) = delete;
    // False, zadacha not run, when the thread cannot be created.
    bool Zapustit();
    void Dozhdatsya();
    bool Zapushen() const { return potok_.Zapushen(); }

  private:
    std::function<void()> zadacha_;
    TPotokSoStekom potok_;
};
