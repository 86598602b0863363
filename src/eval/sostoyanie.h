// The state of calculation runs in one object: the variable table, the count
// of its records that lookups search, the name index over them, the run's
// radix and the count of evaluations begun. The stop request stays in
// platform/platforma.h (CalcCancelled), where the number module can poll it;
// the engine (TDvigatel, eval/dvigatel.h) is the one that clears it.
//
// Ownership: the state belongs to the engine, and a process has one engine at
// a time, so there is exactly one state, SostoyanieVichisleniya, in static
// storage (its table is 65536 records, zero-filled by the loader and built
// lazily). TDvigatel::Sostoyanie() hands it out; the names kept from the
// original design (VariableTable, VariableCount, CurrentRadix,
// SchetchikNachal) are references into it, so the code that reads them
// reads this object.
//
// Threads: only the calculation thread of a run reads or writes the state
// while the run goes on, without a lock; any other thread may touch it only
// while no run goes on (before the engine starts one, or after it has waited
// for its end).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "eval/tablica_peremennih.h"

// Name -> first record with that name, over the records counted when it was
// built (eval/peremennie.h: PostroitIndeksImen). Filled by the run body; the
// evaluator only reads it.
struct TIndeksImen {
    std::unordered_map<std::string, std::int32_t> pervaya;
    bool gotov = false;     // built and not dropped since
    std::uint32_t dlya = 0; // the VariableCount it was built for
};

class TSostoyanieVichisleniya {
  public:
    TSostoyanieVichisleniya() = default;
    TSostoyanieVichisleniya(const TSostoyanieVichisleniya&) = delete;
    TSostoyanieVichisleniya& operator=(const TSostoyanieVichisleniya&) = delete;

    // Record i holds line i of the definitions text of the run.
    TTablicaPeremennih Peremennie;
    // Lookups search records 0 .. KolichestvoPeremennih - 1 (skipping
    // refused ones). The run body sets it to the number of lines of the run
    // after parsing them, and clears that many records at the start of the
    // next run.
    std::uint32_t KolichestvoPeremennih = 0;
    TIndeksImen IndeksImen;
    // Radix of the run in progress (2..36): the run body sets it first, from
    // the window; literals without a radix mark and the constants the
    // evaluator makes are in it.
    std::int32_t Osnovanie = 10;
    // Evaluations begun since the program started (TPeremennaya::NomerNachala
    // orders the records still evaluating after a failure). Never reset: a
    // number is only compared with the numbers of the same run.
    std::uint64_t SchetchikNachal = 0;
};

// The state of the process's engine (see above).
extern TSostoyanieVichisleniya SostoyanieVichisleniya;

// The names kept from the original design, as references into the state.
inline constexpr TTablicaPeremennih& VariableTable = SostoyanieVichisleniya.Peremennie;
inline constexpr std::uint32_t& VariableCount = SostoyanieVichisleniya.KolichestvoPeremennih;
inline constexpr std::int32_t& CurrentRadix = SostoyanieVichisleniya.Osnovanie;
inline constexpr std::uint64_t& SchetchikNachal = SostoyanieVichisleniya.SchetchikNachal;
