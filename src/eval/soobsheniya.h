// Texts that the evaluator shows or logs. They are written in this source as
// UTF-8 and converted to Windows-1251 when used; they are used only on error
// paths and in log endings, so the conversion costs nothing that matters.
// Any thread.
#pragma once

#include "text/tansistring.h"

// The Windows-1251 text of a UTF-8 string.
TAnsiString T1251(const char* utf8);

// Shows (ShowError) the Windows-1251 form of a UTF-8 message with a tail
// (already Windows-1251, e.g. a name from the definitions) appended.
void PokazatOshibku(const char* utf8, const TAnsiString& hvost = TAnsiString());

// The next message shown is about fragment (a name, an operator, or with
// vizov a function name): the run takes its place in the line of the
// definition under evaluation as the place of the failure.
void OtmetitFragment(const TAnsiString& fragment, bool vizov = false);

// The log endings of a failed and of a stopped evaluation.
TAnsiString OshibkaVichisleniy(); // " ошибка вычислений"
TAnsiString OtmenaVichisleniy();  // " отмена вычислений"

// Write that ending to the log and return false, for `return Neudacha();`
// on the evaluator's failure paths.
bool Neudacha();
bool Otmena();
