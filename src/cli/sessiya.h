// The interactive session of ciframer-cli: a prompt with line editing
// (libedit), one definition a line, each computed at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TDvigatel;

// False when this build has no line editing (no session is possible).
bool SessiyaDostupna();

// Runs the session on the terminal until :quit or Ctrl+D, computing with
// the engine. stroki are definitions given before it (UTF-8, not computed);
// the settings start from the options. Messages go to stderr without a
// location; with preduprezhdeniya, each result line is followed there by the
// warnings of its run ("предупреждение: text"). Ctrl+C stops a calculation,
// or clears the line at the prompt. Returns the exit status (0). Main thread.
int ZapustitSessiyu(TDvigatel& dvigatel, const std::vector<std::string>& stroki,
                    std::int32_t osnovanie, std::int32_t razryadi, bool zhurnal,
                    bool preduprezhdeniya);
