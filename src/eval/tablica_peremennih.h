// The record of one variable and the table that holds one per line of the
// definitions text. The run's own table lives in the run state
// (eval/sostoyanie.h); its operations are in eval/peremennie.h.
#pragma once

#include <cstdint>

#include "number/vm_chislo.h"
#include "text/tansistring.h"

// One variable: one line of the definitions text.
struct TPeremennaya {
    TAnsiString Imya;                // name, left of the first "=", trimmed
    TAnsiString Virazhenie;          // definition text; rewritten during evaluation,
                                     // the value text of Znachenie once computed
    vmChislo Znachenie;              // valid only while Vichislena is 1
    std::uint8_t Vichislena = 0;     // value computed in this run
    std::uint8_t Vichislyaetsya = 0; // evaluation started and not finished
    // 1 when RazobratStroku refused the line. Lookups by name pass over such
    // a record, so a refused line that kept a name is never found.
    std::uint8_t Otvergnuta = 0;
    // When its evaluation last began, as a count of all evaluations begun
    // (SchetchikNachal): of records still evaluating after a failure, the
    // latest began innermost.
    std::uint64_t NomerNachala = 0;
};

constexpr std::uint32_t VM_PREDEL_PEREMENNIH = 65536;

// The static table of VM_PREDEL_PEREMENNIH records: record i holds line i of
// the definitions text. A record is constructed (as a new record: empty
// texts, default value, flags 0) the first time it is asked for, together
// with every record before it, so a start-up does not pay for the records a
// run never uses; records live until the program ends. Indexes must be below
// VM_PREDEL_PEREMENNIH. Calculation thread (or any thread once it has ended).
class TTablicaPeremennih {
  public:
    constexpr TTablicaPeremennih() {}
    ~TTablicaPeremennih();
    TTablicaPeremennih(const TTablicaPeremennih&) = delete;
    TTablicaPeremennih& operator=(const TTablicaPeremennih&) = delete;

    TPeremennaya& operator[](std::uint32_t i) {
        if (i >= postroeno_) Postroit(i + 1);
        return zapisi_[i].p;
    }
    // The index of a record of this table (= its line), or -1 for a record
    // that is not one of them.
    std::int32_t Indeks(const TPeremennaya& p) const {
        const auto* m = reinterpret_cast<const TMesto*>(&p);
        if (m < zapisi_ || m >= zapisi_ + postroeno_) return -1;
        return static_cast<std::int32_t>(m - zapisi_);
    }

  private:
    void Postroit(std::uint32_t n);
    // Storage without a constructor of its own: zero-filled by the loader.
    union TMesto {
        TPeremennaya p;
        constexpr TMesto() {}
        ~TMesto() {}
    };
    TMesto zapisi_[VM_PREDEL_PEREMENNIH];
    std::uint32_t postroeno_ = 0; // records 0 .. postroeno_ - 1 exist
};
