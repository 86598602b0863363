// The operator evaluator and its scanners, and the search for the innermost
// bracket group. The evaluator consumes its text from the front and puts the
// text of every intermediate value back in front of the rest, so values travel
// as value texts (peremennie.h) between steps. Calculation thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "eval/peremennie.h"
#include "eval/yazik.h"
#include "number/vm_chislo.h"
#include "text/tansistring.h"

// Innermost bracket group of p.Virazhenie into gruppa: the function name
// (possibly empty, made of name characters), "(", the contents and the first
// ")". True with an empty gruppa when the text holds no bracket. False after
// showing "Не найдена открывающая скобка", "Не найдена закрывающая скобка" or
// "Закрывающая скобка идёт перед открывающей".
bool NaitiSkobki(const TPeremennaya& p, TAnsiString& gruppa);

// The rest of a text consumed from the front, with room in front of it for
// the texts put back there. Cutting n bytes off the front costs nothing and
// putting m bytes back in front costs O(m): the bytes behind never move
// (unless the room runs out, which makes it larger than half the text, so
// the moves cost O(1) per byte put back). Calculation thread only.
class TOstatok {
  public:
    // Room kept in front of a text for the value texts put back there (a
    // value text is some 110 bytes).
    static constexpr std::size_t ZAPAS = 256;

    TOstatok(const char* s, std::size_t n);
    // Takes over bufer, whose text starts at nachalo (the bytes before it
    // are the room in front).
    TOstatok(std::string&& bufer, std::size_t nachalo);
    const unsigned char* Dannye() const {
        return reinterpret_cast<const unsigned char*>(bufer_.data()) + nachalo_;
    }
    std::size_t Dlina() const { return bufer_.size() - nachalo_; }
    bool Pust() const { return nachalo_ == bufer_.size(); }
    unsigned char operator[](std::size_t i) const { return Dannye()[i]; }
    // Cuts n <= Dlina() bytes off the front.
    void Otrezat(std::size_t n) { nachalo_ += n; }
    // Cuts the blanks (space, tab) off the front.
    void UdalitProbeli();
    // Puts n bytes back in front.
    void VstavitVperedi(const char* s, std::size_t n);

  private:
    std::string bufer_;
    std::size_t nachalo_;
};

// The bracket reduction of a definition text: finds the innermost group as
// NaitiSkobki does, cuts it out, and takes the text of its value in its
// place; then the next one. The text left of the place of the last group
// holds no ")" (that group ended at the first one), so the search goes on
// from that place with a stack of the "(" before it: every byte of the
// definition and of the values put back is scanned once, and a whole
// reduction is linear in the length of the text. Calculation thread only.
class TSvertkaSkobok {
  public:
    // oprashivatOtmenu: poll the stop request every 4096 scanned bytes.
    explicit TSvertkaSkobok(const TAnsiString& tekst, bool oprashivatOtmenu = true);

    enum class Itog {
        Net,     // no bracket left
        Gruppa,  // the next group (name, "(", contents, ")") is cut out into gruppa
        Oshibka, // a bracket error has been shown; the text keeps the bracket
        Otmena,  // a stop request seen during the scan
    };
    Itog Sleduyushaya(std::string& gruppa);
    // Puts the text of the value of the group cut out last in its place.
    void Vstavit(const std::string& znachenie);
    // The text as it stands: the definition with the values of the groups
    // in place of the groups (and without the group cut out last when no
    // value was put in its place).
    TAnsiString Tekst() const;

  private:
    // The part of the rest that comes first: what is left of the value put
    // back last, else the definition from poziciya_ on.
    struct Kusok {
        const char* d;
        std::size_t n;
    };
    Kusok Tekushiy() const;
    void Otrezat(std::size_t k); // from the front of that part

    TAnsiString ishodniy_; // the definition, holding its bytes
    const char* s_;
    std::size_t n_;
    std::size_t poziciya_ = 0; // the definition is scanned up to here
    std::string vstavka_;      // the value put back, scanned from vNachalo_
    std::size_t vNachalo_ = 0;
    std::string levo_;                  // scanned: holds no ")"
    std::vector<std::size_t> otkritie_; // positions of every "(" in levo_
    bool oprashivatOtmenu_;
    bool izmenen_ = false;
};

// Length of the run of blanks / operator characters / name characters at the
// very start of tekst; nachalo is always 0. True when the run is not empty.
bool ProbeliVNachale(TAnsiString tekst, int& nachalo, int& dlina);
bool OperatoriVNachale(TAnsiString tekst, int& nachalo, int& dlina);
bool ImyaVNachale(TAnsiString tekst, int& nachalo, int& dlina);

// Skips the leading blanks (nachalo = their count) and reads a literal
// [-]D+[S D+][e[-]d+][r d+] (D one of the 36 digit characters, S the decimal
// separator, d a decimal digit); a part whose marker is present must be
// complete. dlina is the literal's length. True when a literal was read,
// whatever follows it.
bool ChisloVNachale(TAnsiString tekst, int& nachalo, int& dlina);

// Evaluates a bracket-free expression of literals, names and the operators
// ^ * / % << >> (upper level, left to right) and + - (lower level) into
// rezultat. Literals without a radix mark are read in CurrentRadix; names are
// computed through ZnacheniePeremennoy. Writes one log entry ending in the
// short value text and ";", or in " ошибка вычислений" / " отмена вычислений"
// on failure (then false; a message box is shown only for an unknown
// operator and by the lookups). p is the record being evaluated; it plays no
// part in the result. rezultat may be p.Znachenie.
bool VichislitOperatori(TPeremennaya& p, vmChislo& rezultat, TAnsiString tekst);
