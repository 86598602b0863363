// The variables of one calculation run: the table filled from the
// definitions text, evaluation of one definition by bracket reduction, and
// lookup by name. Everything here runs on the calculation thread only; the
// table and its records are shared with the run body (zapusk.cpp) and are not
// guarded. The table, the count of its records that lookups search and the
// name index are part of the run state (eval/sostoyanie.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "eval/sostoyanie.h"
#include "number/vm_chislo.h"
#include "text/tansistring.h"

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
