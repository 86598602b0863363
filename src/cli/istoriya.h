// The session's lines kept across sessions, in the user's state folder:
// $XDG_STATE_HOME/ciframer/history, or ~/.local/state/ciframer/history. One
// line a line (UTF-8), the oldest first, at most IstoriyaStrok of them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr std::size_t IstoriyaStrok = 1000;

// The history file's path; empty when neither XDG_STATE_HOME (an absolute
// path) nor HOME is set.
std::string PutIstorii();

class TIstoriya {
  public:
    explicit TIstoriya(std::string put) : put_(std::move(put)) {}
    // The lines kept so far (none when there is no file).
    std::vector<std::string> Prochitat() const;
    // Adds a line at once: the file as it is now (another session may have
    // added to it) with the line after it, the oldest lines beyond
    // IstoriyaStrok dropped, written whole to a temporary file that then
    // replaces it. The first failure is reported on stderr; after it the
    // history is no longer written.
    void Dobavit(const std::string& stroka);

  private:
    std::string put_;
    bool otkaz_ = false;
};
