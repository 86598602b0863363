// The driver of the main window's calculation runs: hands a run to the
// engine's calculation thread, takes its outcome back, carries out the stop,
// buffers the log texts the run writes for the progress window and keeps the
// record the history gets of each run. It owns no widget: the window reads
// and shows, the driver tells it when (TSobitiyaProgona).
//
// Threads. Everything here is for the main thread but DobavitVZhurnal (any
// thread, never waits for the main thread) and what the calculation thread
// does inside (the outcome handed over under the lock). Whenever the main
// thread waits for the calculation thread (Ostanovit) it keeps running its
// event loop, with user input held back from everything but message boxes,
// so the run's blocking calls to the window and its error boxes are served.
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "eval/ishod.h"
#include "eval/zapusk.h"
#include "ui/tfrmistoriya.h"

class QObject;
class TDvigatel;

// The window message "the run is over, or must be stopped": a custom event
// type posted when the run body has ended and sent by the window itself.
constexpr int WM_OSTANOVIT = 33168;

// The outcome of a run as the window keeps it: the engine's TIshod turned
// into Qt texts on the calculation thread, so that nothing of the core's
// (whose texts are not to be shared between threads) crosses over. Lines
// are 1-based lines of the definitions (0: none); a span is a start and a
// length in characters within its line (start -1: not known).
struct TPreduprezhdenieOkna {
    int stroka = 0;
    int nachalo = -1;
    int dlina = 0;
    QString tekst;
};
struct TSoobshenieOkna {
    QString tekst;
    int stroka = 0;
};
struct TIshodOkna {
    TSostoyanieProgona sostoyanie = TSostoyanieProgona::Oshibka;
    QString tekst; // the value as shown, with Gotovo
    int stroka = 0;
    int nachalo = -1;
    int dlina = 0;
    QList<TSoobshenieOkna> soobsheniya;
    QList<TPreduprezhdenieOkna> preduprezhdeniya;
};
TIshodOkna VIshodOkna(const TIshod& ishod);

// What the driver tells the window, each on the main thread.
struct TSobitiyaProgona {
    // A stop has begun (before any waiting for the calculation thread).
    std::function<void()> ostanovkaNachata;
    // Texts (Windows-1251 bytes) handed over for the progress window, in
    // order, all written since the window last took texts.
    std::function<void(std::vector<std::string>&&)> zhurnal;
    // The run is over and its thread joined; Idyot() is false again.
    std::function<void(const TIshodOkna&)> zavershen;
};

class TVoditelProgona {
  public:
    // Runs on `dvigatel`; WM_OSTANOVIT and the log's hand-over go to
    // `poluchatel` (the main window, on the main thread). Both outlive the
    // driver.
    TVoditelProgona(TDvigatel& dvigatel, QObject& poluchatel, TSobitiyaProgona sobitiya);
    TVoditelProgona(const TVoditelProgona&) = delete;
    TVoditelProgona& operator=(const TVoditelProgona&) = delete;

    // --- The run ---------------------------------------------------------
    // Starts a run of the body on `okno` (which must outlive it) on the
    // engine's thread: false, with nothing running, when the thread could
    // not be created. When the body has ended, WM_OSTANOVIT is posted.
    bool Nachat(IOknoVichisleniya& okno);
    // The stop handler: asks a run still going to stop, waits for its
    // outcome while serving the event loop, joins the thread and hands the
    // outcome to `zavershen`. Nothing when idle or already stopping.
    void Ostanovit();
    // True from the start of a run until its outcome has been handed on.
    bool Idyot() const { return idyot_; }
    // True while Ostanovit waits for the calculation thread.
    bool VOstanovke() const { return vOstanovke_; }
    // Counts the runs started: the same number before and after an event
    // means the same run.
    int Nomer() const { return nomer_; }
    // The run body has ended (its outcome is handed over, not yet taken).
    bool IshodGotov();

    // --- The log -----------------------------------------------------------
    // Keeps `tekst` for the progress window, or drops it while there is none;
    // the window gets the kept texts through `zhurnal` soon after. Any thread.
    void DobavitVZhurnal(const std::string& tekst);
    // A progress window takes texts from now on / no more (texts kept for
    // the old one are dropped).
    void OtkritZhurnal();
    void ZakritZhurnal();

    // --- The record for the history ---------------------------------------
    // Begins the record of a new run (the name and radix as shown now).
    void NachatZapis(const QString& imya, int osnovanie);
    // What the run itself read of the window.
    void ZapomnitImya(const QString& imya) { zapis_.imya = imya; }
    void ZapomnitOsnovanie(int osnovanie) { zapis_.osnovanie = osnovanie; }
    void ZapomnitRazryadi(int razryadov);
    // A box of the run opened / closed: its time is not the calculation's.
    void OknoOtkrito();
    void OknoZakrito();
    // Ends the record with the outcome: the duration, the angle unit, the
    // result or the reason there is none, the warnings. `razryadov` is the
    // digit count recorded when the run never read it.
    const TZapisIstorii& ZavershitZapis(const TIshodOkna& ishod, int razryadov);
    // The record of the run in progress, or of the last one.
    const TZapisIstorii& Zapis() const { return zapis_; }

  private:
    // Calculation thread: hands the outcome over and posts WM_OSTANOVIT.
    void PrinyatIshod(const TIshod& ishod);
    // Waits up to `ms` for the outcome; true once it is there.
    bool ZhdatIshod(int ms);
    void VipustitZhurnal();
    // Milliseconds of the run without the time its boxes were open.
    qint64 VremyaVichisleniya() const;
    // The message that says why the run ended without a result: the first
    // message about the definition that failed, else the one that ended it.
    QString PrichinaNeudachi(const TIshodOkna& ishod) const;

    TDvigatel& dvigatel_;
    QObject& poluchatel_;
    TSobitiyaProgona sobitiya_;
    bool idyot_ = false;
    bool vOstanovke_ = false;
    int nomer_ = 0;

    TZapisIstorii zapis_;
    bool razryadiProchitani_ = false; // the run read the digit count
    QElapsedTimer nachalo_;
    int otkritoOkon_ = 0;          // boxes of the run open now
    qint64 vremyaOkon_ = 0;        // ms they were open, this run, before now
    QElapsedTimer okonSekundomer_; // since the first of the open ones came up

    // Guards whether a progress window takes texts, the texts handed over
    // for it, and the outcome handed over. Held only briefly; nobody waits
    // for another thread while holding it.
    std::mutex zamok_;
    std::condition_variable ishodPeredan_;  // signalled when ishodGotov_ is set
    bool ishodGotov_ = false;               // the run body has ended
    TIshodOkna ishodPotoka_;                // its outcome, until taken
    bool zhurnalEst_ = false;               // a progress window takes texts
    std::vector<std::string> zhurnalBufer_; // handed over, not yet taken
    bool zhurnalZaprosPoslan_ = false;      // a VipustitZhurnal call is pending
};
