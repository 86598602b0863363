// The intermediate-results log: the evaluator hands its step texts to the
// sink a front end installs (the progress window, or stderr on the command
// line).
#pragma once

#include <functional>

#include "text/tansistring.h"

// Appends a text to the intermediate-results log: hands it to the installed
// sink, drops it when none is installed. Always true. Any thread.
bool DobavitSostoyanie(TAnsiString text);
// True when a log sink is installed, so that a log text is worth making
// (the evaluator skips texts as long as a definition when nobody reads
// them). Any thread.
bool ZhurnalVedyotsya();
// Installs the log sink (an empty function removes it). The sink is called on
// the thread that writes the log. Not while a run is in progress.
void UstanovitPriemnikSostoyaniya(std::function<void(const TAnsiString&)> priemnik);
