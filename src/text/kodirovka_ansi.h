// Texts from outside (terminals, files, command lines: UTF-8) as the
// core's own texts (TAnsiString, Windows-1251). Any thread.
#pragma once

#include <string>

#include "text/tansistring.h"

// The UTF-8 text in Windows-1251, every byte kept (a NUL too, so that the
// core can refuse its line). A character that Windows-1251 lacks becomes
// CHUZHOY_SIMVOL rather than '?', so that two such names never read as one
// and the core refuses a name that holds one.
TAnsiString Utf8VAnsi(const std::string& utf8);
