// The command line of ciframer-cli: its options read by getopt_long into
// the settings of a run, with the same meanings, forms and error texts as
// before the program left its window toolkit behind.
#pragma once

#include <optional>
#include <string>

#include "eval/nastroyki.h"
#include <vector>

struct TParametri {
    std::string oshibka;             // the usage error ("Unknown option 'x'."); empty when read
    std::string programma;           // argv[0], as the help text names the program
    bool spravka = false;            // -h, --help
    bool versiya = false;            // --version
    bool zhurnal = false;            // --log
    bool sessiya = false;            // -i, --interactive
    bool bezPreduprezhdeniy = false; // -w, --no-warnings
    bool strogo = false;             // --strict: a warning leaves no result
    bool vse = false;                // --all: every defined name
    // The last value of each option, as given (UTF-8), or its default.
    std::string osnovanie = "10", razryadi = "100", ugol = "deg", imya = "y";
    std::vector<std::string> viragheniya; // every -e, in order
    std::vector<std::string> imena;       // every -n, in order (imya is the last)
    std::vector<std::string> fayli;       // the positional arguments
    std::optional<std::string> kesh;      // --cache DIR: its bytes as given
};

// Reads the arguments. Every text in the result is well-formed UTF-8 (a byte
// that starts no character became U+FFFD). Options may be anywhere, "--"
// ends them, "-" is a file name; short options combine ("-hr16"), a value
// follows its short option directly, after "=" or as the next argument, and
// a long one after "=" or as the next argument; a long option is written in
// full or as its one-letter name ("--r 16"), never shortened otherwise. With
// an error, oshibka holds its text: the last missing or unexpected value, or
// else every unknown option. Not thread-safe (getopt_long).
TParametri RazobratParametri(int argc, char** argv);

// The help text for --help.
std::string TekstSpravki(const std::string& programma);

// Reads an option's number: blanks (Unicode white space) around it
// ignored, an optional sign, decimal digits. False when that is not what it
// is or the number lies outside ot..do_.
bool CeloeVDiapazone(const std::string& tekst, int ot, int do_, int& znachenie);

// The angle units by their names on the command line and in the session:
// "rad", "deg", "grad". False for any other name.
bool EdinicaUglaPoImeni(const std::string& imya, TEdinicaUgla& edinica);
const char* ImyaEdiniciUgla(TEdinicaUgla edinica);
