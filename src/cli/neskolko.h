// Several variables of one definitions text in one run of the program
// (-n given more than once, or --all): each computed by a run of its own,
// printed on stdout as "name = value" in the order asked.
#pragma once

#include <string>
#include <vector>

class TDvigatel;

// The names the lines define (UTF-8), each once, in the order first
// defined; blank lines define none.
std::vector<std::string> ImenaOpredeleniy(const std::vector<std::string>& stroki);

struct TZadanieNeskolkih {
    std::vector<std::string> stroki; // the definitions (UTF-8)
    std::vector<std::string> imena;  // what to compute (UTF-8)
    int osnovanie = 10, razryadi = 100;
    std::string mesto; // where the definitions came from, as messages name it
    bool preduprezhdeniya = true;
    bool strogo = false; // a run with a warning prints no value
};

// Computes every name; a message or warning that an earlier run already
// printed is not printed again. Returns 0 when every name printed a value,
// 130 when Ctrl+C stopped a run (the names after it are not computed), else
// 1. Main thread.
int VichislitNeskolko(TDvigatel& dvigatel, const TZadanieNeskolkih& z);
