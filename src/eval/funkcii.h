// Function calls of the expression language: the sixteen functions, the
// angle unit conversion, the time limit of the factorial, and the time
// source. Calculation thread only (TekushcheeVremya: any thread).
#pragma once

#include "eval/peremennie.h"
#include "number/vm_chislo.h"
#include "text/tansistring.h"

// The longest time "fact" may run, in seconds.
constexpr long double PredelVremeniFunkcii = 30.0L;
// Multiplications of "fact" that are never timed.
constexpr int FACT_BEZ_KONTROLYA = 500;

// Evaluates a call text 'name(a;b)' whose arguments are value texts (or
// empty, which reads as zero) into rezultat. Angles are taken in AngleUnit
// (converted to radians for sin, cos, tg; results of the inverse functions
// converted back); literals made here (10, 180, 200, pi) are in CurrentRadix.
// False after "Неизвестная функция <name>", "Неправильное количество
// аргументов функции <name> - <count>", "На вычисление функции требуется
// слишком много времени", or on a stop request; the log entry then ends in
// " ошибка вычислений" or " отмена вычислений".
bool VichislitFunkciyu(TPeremennaya& p, vmChislo& rezultat, TAnsiString vizov);

// Seconds of a monotonic clock (steady_clock); only differences mean
// anything.
long double TekushcheeVremya();

// Time source of "fact", replaceable by tests (null restores the clock).
using IstochnikVremeni = long double (*)();
void UstanovitIstochnikVremeni(IstochnikVremeni istochnik);
