// The session's state and what it does with each line: the definitions as
// kept, the settings, the last results. Main thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TDvigatel;

// One definition of the session, in the order first defined.
struct TOpredelenie {
    std::string imya;   // trimmed, UTF-8
    std::string stroka; // as kept: literals bound to their radix
};

class TSessiya {
  public:
    TSessiya(TDvigatel& d, std::int32_t osnovanie, std::int32_t razryadi, bool zhurnal,
             bool preduprezhdeniya)
        : dvigatel_(d), osnovanie_(osnovanie), razryadi_(razryadi), zhurnal_(zhurnal),
          preduprezhdeniya_(preduprezhdeniya) {}
    // A definition given before the session: kept, not computed.
    void Dobavit(const std::string& s);
    // One line entered; false after :quit.
    bool Stroka(const std::string& s);
    const std::vector<TOpredelenie>& Opredeleniya() const { return opredeleniya_; }
    bool EstOtvet() const { return !otvet_.empty(); }

  private:
    void Opredelenie(const std::string& s);
    // The line with the names that stand for earlier results replaced;
    // false after saying why it cannot be.
    bool PodstavitRezultati(std::string& s, bool bezImeni) const;
    // Computes imya from these definitions and prints it; true with a value
    // (then kept as the last result).
    bool Vichislit(const std::vector<TOpredelenie>& opredeleniya, const std::string& imya);
    bool Komanda(const std::string& s);
    void Ustanovit(const std::string& komanda, const std::string& arg);
    std::string Nastroyki() const;

    TDvigatel& dvigatel_;
    std::vector<TOpredelenie> opredeleniya_;
    std::int32_t osnovanie_, razryadi_;
    bool zhurnal_;
    bool preduprezhdeniya_;
    std::string otvet_;      // the value text of the last result (UTF-8); empty before one
    std::string poslednyiY_; // the value text of the last value of y shown
};

// The session's commands in the order a shortened one is looked up (":l" is
// :list), each with ":".
const std::vector<std::string>& KomandiSessii();
