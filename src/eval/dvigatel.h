// The engine of one process: what every front end (the window, the command
// line, the picture tool, the tests) sets up before its first calculation
// and tears down after its last, and the one way it runs a calculation.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "eval/ishod.h"
#include "eval/sostoyanie.h"
#include "eval/zapusk.h"

// While it lives, the process can calculate. Construction builds the literal
// tables (vmSimvoli, SimvoliChisla) for a decimal separator and reads the
// constant cache folder; destruction writes every constant computed since
// that has no file yet. One at a time per process (the tables and the cache
// are process-wide); construct and destroy it on the main thread while no
// calculation runs.
class TDvigatel {
  public:
    // The separator of the user's locale (LokalniyRazdelitel: call before
    // other threads run), and the cache folder of the current directory.
    TDvigatel();
    // The same with the cache in papkaKesha (created with the folders above
    // it when first written); an empty path keeps the constants in memory
    // only. A folder that cannot be written is only read, without a word.
    explicit TDvigatel(const std::string& papkaKesha);
    // A given separator; with sPapkoy false the cache starts empty and the
    // folder is neither read nor written (tests).
    TDvigatel(char razdelitel, bool sPapkoy);
    ~TDvigatel();
    TDvigatel(const TDvigatel&) = delete;
    TDvigatel& operator=(const TDvigatel&) = delete;

    // One calculation run: clears the stop request (CalcCancelled), runs the
    // run body (VichislitPeremennuyu) on a new thread with a stack of
    // VM_STEK_POTOKA_VICHISLENIY bytes and waits for it. True when the body
    // showed a result; false after its messages, after a stop, after an
    // exception turned into a message, or when the thread cannot be created
    // (then nothing ran and ZapuskNeSostoyalsya tells so). A stop asked from
    // another thread or a signal handler while it runs is obeyed. Any thread
    // but a calculation thread; one run at a time. Ishod() then holds its
    // outcome.
    bool Vichislit(IOknoVichisleniya& okno);
    // True when the last Vichislit (or Nachat) could not start its thread.
    bool ZapuskNeSostoyalsya() const { return neZapushen_; }
    // The outcome of the last run that has ended (of Vichislit, or of Nachat
    // once Dozhdatsya has returned). Not while a run started by Nachat goes on.
    const TIshod& Ishod() const { return ishod_; }

    // The same run started on its own thread without waiting: clears the
    // stop request and returns at once. When the run body has made its last
    // call into okno, poZavershenii is called on the calculation thread with
    // the outcome (a front end posts it to its own thread from there). False
    // when the thread cannot be created: nothing ran, poZavershenii is not
    // called. okno must outlive the run. Call Dozhdatsya before the next run;
    // the destructor waits too.
    bool Nachat(IOknoVichisleniya& okno, std::function<void(const TIshod&)> poZavershenii);
    // True from a successful Nachat until Dozhdatsya has returned.
    bool Idyot() const;
    // Waits until the thread of Nachat has ended (at once when none runs).
    // Whoever waits must not be the thread that okno's calls need to run on.
    void Dozhdatsya();

    // The run body on the calling thread, for a front end whose own thread
    // is the calculation thread (its stack at least VM_STEK_POTOKA_VICHISLENIY
    // bytes). The stop request is left as it is: that front end clears it
    // when it starts the thread, so that a stop asked between the start and
    // this call still holds. True when a result was shown; ishod is filled.
    static bool VichislitZdes(IOknoVichisleniya& okno, TIshod& ishod);
    static bool VichislitZdes(IOknoVichisleniya& okno);

    // The state of its runs: the variables, the name index, the run radix and
    // the counters (eval/sostoyanie.h: one per process, as the engine is, so
    // static like VichislitZdes). Only between runs, or from the calculation
    // thread of a run.
    static TSostoyanieVichisleniya& Sostoyanie() { return SostoyanieVichisleniya; }

  private:
    // Waits for a run of Nachat still going, then clears the stop request
    // (CalcCancelled): the only place it is cleared. Called by Vichislit and
    // Nachat before their thread starts.
    void NachatProgon();

    bool sPapkoy_;
    bool neZapushen_ = false;
    TIshod ishod_;
    std::unique_ptr<TPotokVichisleniy> fon_; // the thread of Nachat
};
