// The variables of one calculation run: the table filled from the
// definitions text, evaluation of one definition by bracket reduction, and
// lookup by name. Everything here runs on the calculation thread only; the
// table and its records are shared with the run body (zapusk.cpp) and are not
// guarded.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

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

// Evaluations begun since the program started; calculation thread only.
extern std::uint64_t SchetchikNachal;

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
extern TTablicaPeremennih VariableTable;
// Lookups search records 0 .. VariableCount - 1 (skipping refused ones). The
// run body sets it to the number of lines of the run after parsing them.
extern std::uint32_t VariableCount;

// Empties name and definition, clears the flags; Znachenie is left as it is.
void OchistitPeremennuyu(TPeremennaya& p);

// Parses one line into p: separators unified to the locale's, name left of
// the first "=" (the whole line defines "y" when there is none), both sides
// trimmed of bytes 0..32. Shows "Неправильное имя переменной" or
// "Неправильное значение переменной" and returns false (marking p refused)
// for an empty name or expression.
bool RazobratStroku(TPeremennaya& p, TAnsiString stroka);

// Computes p's value into p.Znachenie (cached: a computed record returns at
// once). Resolves brackets innermost first, evaluates arguments, functions and
// the remaining operators, writes the steps to the log. False on any error
// (shown already, except operator syntax errors, which go to the log only),
// on a cycle ("Обнаружена циклическая связь") and on a stop request; the run
// must then end.
bool VichislitOpredelenie(TPeremennaya& p);

// After a run that failed in the evaluation of a definition: the index of
// the record (= line) whose evaluation failed first, the innermost of those
// still evaluating; -1 when none is (the run succeeded, or failed before or
// after evaluating). Reads the table: call on the calculation thread, or on
// any thread once the calculation thread has ended.
std::int32_t IndeksNeudachnoyZapisi();

// Index of the first record below VariableCount, not refused, whose name
// equals imya byte for byte; -1 when there is none.
std::int32_t NaitiPeremennuyu(const TAnsiString& imya);

// Finds imya (as NaitiPeremennuyu), computes it and copies its value into
// znachenie. Shows "Не удаётся найти переменную <imya>" when it is not defined.
bool ZnacheniePeremennoy(vmChislo& znachenie, const TAnsiString& imya);

// Finds imya (as NaitiPeremennuyu) and computes it; the record, whose
// Virazhenie is then the value text of its Znachenie. Null after the same
// messages as ZnacheniePeremennoy.
const TPeremennaya* VichislennayaPeremennaya(const TAnsiString& imya);

// Builds a name index over records 0 .. VariableCount - 1 so that lookups do
// not scan the table; valid until VariableCount or a name changes (the run
// body builds it after parsing and drops it before clearing). Lookups without
// a valid index scan the table from the top; both give the same record.
void PostroitIndeksImen();
// The same, calling povtor(i, first) for each record i whose name an earlier
// record first already has.
void PostroitIndeksImen(const std::function<void(std::uint32_t, std::uint32_t)>& povtor);
void SbrositIndeksImen();

// The value text of x: 1 integer digit, 100 fraction digits, exponent form,
// trailing zeros dropped, and always a radix mark ("r10" added in radix 10),
// so that reading it back gives the number in its own radix. A number in a
// radix above 36, which has no digit characters, is written converted to
// CurrentRadix (vmPerevestiVOsnovanie), so it reads back as its value in the
// run's radix. Calculation thread.
TAnsiString TekstZnacheniya(const vmChislo& x);
// Its bytes, in a buffer of the calling thread that the next call reuses.
std::string_view TekstZnacheniyaBaiti(const vmChislo& x);
// The same with 6 fraction digits, for the log only.
TAnsiString KratkiyTekstZnacheniya(const vmChislo& x);
