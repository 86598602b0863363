// What the window keeps between starts: the settings (radix, angle unit,
// digits, "Промежуточные расчёты", window geometry, recent files) in the
// XDG configuration folder, $XDG_CONFIG_HOME/ciframer/ciframer.ini, and the
// session (the definitions with their file, the name to compute, the
// history) in the XDG state folder, $XDG_STATE_HOME/ciframer/sessiya.json.
// Both are written atomically (a temporary file renamed over the old one).
// A file that cannot be read or is damaged is ignored, with one warning on
// stderr; the window then starts as at the very first start.
// Main thread only.
#pragma once

#include <QString>
#include <memory>

class QSettings;
class TfrmMain;

// The settings file, opened. A damaged one (a warning, once per process) is
// removed and an empty one opened; an unreadable one (a warning too) is
// opened empty. Either is replaced when the settings are written.
std::unique_ptr<QSettings> OtkritNastroyki();

// The session file's path: sessiya.json in the program's folder under
// $XDG_STATE_HOME (~/.local/state where it is unset or not absolute).
QString PutSessii();

class TSohranenie {
  public:
    explicit TSohranenie(TfrmMain& okno) : okno_(okno) {}
    // Applies what the files hold to the window, before it is shown;
    // nothing where there are no files.
    void Vosstanovit();
    // Writes the window's state into both files.
    void Zapisat();

  private:
    void VosstanovitNastroyki();
    void VosstanovitSessiyu();
    void ZapisatNastroyki();
    void ZapisatSessiyu();
    TfrmMain& okno_;
};
