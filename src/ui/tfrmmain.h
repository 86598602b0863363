// The main window "Цифрамер": its controls and what they do. The run
// lifecycle is its driver's (TVoditelProgona, voditel_progona.h).
//
// Threads: the window and every widget belong to the main thread. The
// engine (TDvigatel) runs each calculation on a thread of its own, which
// reaches the window only through IOknoVichisleniya, whose calls the window
// carries out on the main thread while the calculation thread waits, through
// the log, to which it hands texts without waiting, and through the outcome
// it hands the driver once the run body has ended. The main thread never
// waits for the calculation thread without serving those calls
// (OstanovitVichisleniya).
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QThread>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "eval/ishod.h"
#include "eval/zapusk.h"
#include "number/vm_chislo.h"
#include "ui/tfrmistoriya.h"
#include "ui/voditel_progona.h"

class QAction;
class QFont;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTimer;
class QVBoxLayout;
class TDvigatel;
class TFayli;
class TfrmMain;
class TfrmSostoyanie;
class TPodsvetka;
struct TKnopkaPaneli;
class TSohranenie;

// The one main window of the process (null when none exists).
extern TfrmMain* frmMain;

class TfrmMain : public QMainWindow, public IOknoVichisleniya {
  public:
    // Runs its calculations on `dvigatel`, which must outlive it.
    explicit TfrmMain(TDvigatel& dvigatel, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // --- IOknoVichisleniya: callable from the calculation thread (carried
    // out on the main thread, the caller waiting) and from the main thread.
    std::vector<TAnsiString> StrokiOpredeleniy() override;
    TAnsiString ImyaPeremennoy() override;
    // The selected radix: the radio buttons tested in the order 16, 10, 3,
    // 2, then "Другое:" (the Tag of ebOsnovanie); 10 if none is checked.
    std::int32_t PoluchitOsnovanie() override;
    // The digit count from ebKolichestvoRasryadov: parsed (with a message
    // when it is not a number), rounded half to even, clamped to 0..100 and
    // remembered; an unreadable field gives the last accepted count.
    std::int32_t PoluchitRazryadi() override;
    void UstanovitZnachenie(const TAnsiString& text) override;

    // Radix above 36 or below 2 (compared unsigned): message, false.
    // Otherwise enables the digit buttons below the radix, disables the
    // others, true. Main thread.
    bool UstanovitOsnovanie(std::int32_t osnovanie);

    // The handler of WM_OSTANOVIT (main thread): asks a run still going to
    // stop, waits for its outcome while serving its requests, and records
    // it. Nothing when idle.
    void OstanovitVichisleniya();
    // Stops a run in progress and destroys the progress window. Runs once,
    // when the window closes (or the application quits).
    void FormDestroy();

    // From now on the window keeps its settings and session between starts:
    // restores what the last start left (nothing at the very first start)
    // and writes it when it closes. Before the window is shown. A window
    // that is never told so starts as at the first start and keeps nothing.
    void VklyuchitSohranenie();
    // Writes the settings and session, once; nothing unless kept.
    void ZapisatSohranenie();

    // True from the start of a run until its outcome has been recorded.
    bool IdetVichislenie() const { return voditel_->Idyot(); }
    // Counts the runs started: the same number before and after an event
    // means the same run.
    int NomerZapuska() const { return voditel_->Nomer(); }
    // How long, in ms, a run is given to end after one of its boxes closes
    // before its postponed progress window comes up.
    static constexpr int ZHDAT_POSLE_OKNA_MS = 250;

    // Appends a text (Windows-1251 bytes) to the log of the current progress
    // window, or drops it when there is none. Any thread; never waits for
    // the main thread.
    void DobavitVZhurnal(const std::string& tekst);

    // Replaces the progress window by a fresh, empty one (hidden unless
    // "Промежуточные расчёты" is checked) and gives the focus back to the
    // definitions. Texts handed over for the old window are dropped.
    // Main thread.
    void ZamenitOknoSostoyaniya();

    // Where the user last put a progress window this session (its frame's
    // top-left corner and its size), null until then: the next run's window
    // comes there. Main thread.
    QRect MestoOknaSostoyaniya() const { return mestoOknaSostoyaniya_; }
    void UstanovitMestoOknaSostoyaniya(const QRect& mesto) { mestoOknaSostoyaniya_ = mesto; }

    // Controls, by their names in the window (also their objectName). The
    // client area pnKlient lies in the scroll area sbKlient, which scrolls
    // only on a screen too small for the client area's minimum size.
    QScrollArea* sbKlient = nullptr;
    QWidget* pnKlient = nullptr;
    QPlainTextEdit* mPeremennie = nullptr;
    QLineEdit* ebPeremennaya = nullptr;
    QLabel* lbRavno = nullptr;
    QLineEdit* ebZnachenie = nullptr;
    // Under the result: the first warning of the last run and how many more
    // there are, all of them in its tooltip; blank when there are none.
    QWidget* pnPreduprezhdenie = nullptr;
    QLabel* lbPreduprezhdenie = nullptr;
    QWidget* pnPeremennie = nullptr;
    QWidget* pnPeremennayaIZnachenie = nullptr;
    QWidget* pnPeremennaya = nullptr;
    QWidget* pnZnachenie = nullptr;
    QWidget* pnVichislit = nullptr;
    QWidget* pnKnopki = nullptr;
    QGroupBox* gbSistemaIschisleniya = nullptr;
    QRadioButton* rbOsnovanie16 = nullptr;
    QRadioButton* rbOsnovanie10 = nullptr;
    QRadioButton* rbOsnovanie3 = nullptr;
    QRadioButton* rbOsnovanie2 = nullptr;
    QRadioButton* rbProizvolnoeOsnovanie = nullptr;
    QLineEdit* ebOsnovanie = nullptr;
    int ebOsnovanieTag = 8;
    QGroupBox* gbEdiniciIzmereniyaUgla = nullptr;
    QRadioButton* rbGradusi = nullptr;
    QRadioButton* rbRadiani = nullptr;
    QRadioButton* rbGradi = nullptr;
    QGroupBox* gbOkruglenie = nullptr;
    QLabel* lbKolichestvoRazryadov = nullptr;
    QLineEdit* ebKolichestvoRasryadov = nullptr;
    int ebKolichestvoRasryadovTag = 100; // DigitCount
    QPushButton* bnVichislit = nullptr;
    QPushButton* bnCifri[16] = {}; // bn0 .. bn9, bnA .. bnF
    QAction* miPromegutochnieRascheti = nullptr;
    QAction* miIstoriya = nullptr; // "История вычислений": shows frmIstoriya
    // "Показать процесс вычислений": brings the progress window of the
    // current (or last) run back on screen with its log.
    QAction* miPokazatSostoyanie = nullptr;
    QTimer* tmrPokazatOperacii = nullptr;

    // The progress window of the current (or last) run; null before the
    // first run and after FormDestroy. Main thread.
    TfrmSostoyanie* frmSostoyanie = nullptr;
    // The finished runs of this session (created with the window, hidden).
    TfrmIstoriya* frmIstoriya = nullptr;
    // The menu "Файл" and the file the definitions belong to.
    TFayli* fayli = nullptr;

    // Handlers, by the names of their controls.
    void bnVichislitClick();
    void tmrPokazatOperaciiTimer();
    void rbProizvolnoeOsnovanieClick();
    void ebOsnovanieExit();
    void ebKolichestvoRasryadovExit();
    void pnZnachenieResize();
    // Button handlers (main thread); each ends with the focus in mPeremennie.
    // A button of the pad does what its row of the pad's table says.
    void bnKnopkaClick(const TKnopkaPaneli& knopka);
    void bnCifraClick(int cifra); // bn0 .. bn9, bnA .. bnF
    void rbOsnovanie16Click();
    void rbOsnovanie10Click();
    void rbOsnovanie3Click();
    void rbOsnovanie2Click();
    void rbGradusiClick();
    void rbRadianiClick();
    void rbGradiClick();

    // Replaces the selection of mPeremennie (or inserts at the caret) by
    // `tekst`; afterwards the caret follows the text and nothing is selected.
    void Vstavit(const QString& tekst);
    // Template insertion: `shablon` with no selection, otherwise
    // `sVydeleniem` with every %1 replaced by the selection.
    void VstavitShablon(const QString& shablon, const QString& sVydeleniem);

  protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    friend class TSohranenie;
    std::unique_ptr<TSohranenie> sohranenie_;
    void FormCreate();
    void SozdatElementy();
    // The steps of SozdatElementy, in this order: the menu, the history
    // window and the operations timer; the client area with the definitions
    // and the name and result row; the group boxes; the radio handlers; the
    // keyboard shortcuts.
    void SozdatMenu();
    void SozdatKlient();
    void SozdatPoleOpredeleniy(QWidget* klient, QVBoxLayout* vertikal);
    void SozdatStrokuZnacheniya(QWidget* klient, QVBoxLayout* vertikal);
    void SozdatStrokuPreduprezhdeniya(QWidget* klient, QVBoxLayout* vertikal);
    void SozdatGruppi();
    void SoedinitPereklyuchateli();
    void SozdatKlavishi();
    void SozdatKnopki();
    // The fonts, the group boxes' style, the keypad's places and the menu
    // item of the progress window (tfrmmainraskladka.cpp).
    void NastroitOformlenie();
    void NastroitShrifti();
    // Lays the keypad out for the width of pnKnopki: its places as built
    // where that width allows them (centred when maximised), otherwise
    // narrower buttons and the groups in rows, in the largest font that
    // fits every caption.
    void RazlozhitKnopki();
    // The window's font, made smaller (not below a third of it) until every
    // caption of the keypad fits its control as now placed.
    QFont ShriftKnopok() const;
    bool KnopkiVlezayut(const QFont& shrift) const;
    QList<QPair<QWidget*, QRect>> mestaKnopok_; // as built, in pnKnopki
    // The narrowest keypad, in device-independent pixels: its buttons at
    // about 0.7 of their width, the widest group whole.
    static constexpr int MIN_SHIRINA_KNOPOK = 480;
    // The progress window beside this one where the work area has room, or
    // where the user last put one.
    void RazmestitOknoSostoyaniya();
    QRect mestoOknaSostoyaniya_;
    // Keyboard and accessibility (tfrmmainklaviatura.cpp): a short tab chain
    // (definitions, name, result, "=", radix, angle unit, digits, one stop
    // for the keypad, whose buttons the arrow keys walk), mnemonics, F10,
    // accessible names, and the Return and click handlers of the fields.
    void UstanovitPoryadokTab();
    void UstanovitDostupnost();
    // Arrow keys on a keypad button: the focus to the nearest enabled button
    // that way. False for any other key.
    bool PereytiPoKnopkam(QWidget* ot, int klavisha);
    // A field of the settings left with the focus going to `prichina`: a
    // valid text applies at once; the box about a wrong one waits until the
    // click that moved the focus has been handled, so that the click is
    // never lost to the box.
    void PriVihodeIzPolya(QLineEdit* pole, Qt::FocusReason prichina);
    // Where the caret goes once a run has ended: the name field after a
    // run refused for its empty name, the definitions otherwise.
    void VernutFokus();
    // The work area of the window's screen.
    QRect RabochayaOblast() const;
    // Size, minimum size, and their cuts to the work area.
    void UstanovitRazmeri();
    // Moves the window so that, with a frame `ramka` larger than the window,
    // it lies inside the work area (its top-left corner first).
    void VmestitVOblast(QSize ramka);
    // Once on screen: size and place by the window manager's real frame.
    void PodognatPoRamke();
    // What a window manager's frame adds at most, in device-independent
    // pixels, before the real frame is known.
    static constexpr QSize RAMKA_S_ZAPASOM{12, 40};
    QSize nuzhniyRazmer_;    // the window's size at the client area's 680 by 398
    QSize minimalniyRazmer_; // the smallest that shows every control whole
    bool podognan_ = false;
    // Formats a number for insertion as a run formats its result.
    QString TekstChisla(const vmChislo& x);
    // The texts of the number buttons: e or pi in the radix selected now,
    // and the result shown read back as a number.
    QString TekstKonstanti(TVidKonstanti vid);
    QString TekstRezultata();
    void UnichtogitOknoSostoyaniya();
    // Brings the progress window on screen, or, while a message box is
    // open, once the open boxes are closed: it never comes up over a box
    // waiting for an answer.
    void PokazatSostoyanieKogdaMozhno();
    void PovtoritOtlozhenniyPokaz();
    bool pokazOtlozhen_ = false; // the progress window waits for boxes to close

    // The boxes the calculation thread has shown: a run waits for them, so
    // the time they are open is not the calculation's. Returns false (the
    // box is dropped, the run goes on) once the window is closing.
    bool PriPokazeOshibki(QMessageBox* box);
    // Closes every box of the run still open (as OK): the run goes on.
    void ZakritOknaZapuska();
    QList<QPointer<QMessageBox>> oknaZapuska_;
    // Main thread: puts the texts handed over into the log.
    void VipustitZhurnal(std::vector<std::string>&& teksti);

    // The history record of a run, kept by the driver: begun when a run
    // starts (the last run's warnings go), ended with the run's outcome,
    // which the window then shows.
    void NachatZapisZapuska();
    void ZavershitZapisZapuska(const TIshodOkna& ishod);
    // Selects the offending text of the definition that failed (its whole
    // line where the span is not known), if the text is the one the run
    // read and the run was not stopped.
    void VydelitNeudachu(const TIshodOkna& ishod);
    // The selection VydelitNeudachu made, as long as it stands unchanged
    // ({-1, -1} otherwise).
    std::pair<int, int> videlenieNeudachi_{-1, -1};
    // The warnings of a run: the line under the result and, when the
    // definitions are still the text the run read, a wavy underline under
    // each warning's span (a warning without span underlines nothing).
    void PokazatPreduprezhdeniya(const QList<TPreduprezhdenieOkna>& preduprezhdeniya);
    void UbratPreduprezhdeniya();
    void UbratPodcherkivaniya();
    // lbPreduprezhdenie shows tekstPreduprezhdeniya_ cut to its width.
    void PodognatPreduprezhdenie();
    QString tekstPreduprezhdeniya_;
    // The underlined spans, as positions in the document, with their texts.
    struct TPodcherkivanie {
        int nachalo, konec;
        QString tekst;
    };
    QList<TPodcherkivanie> podcherkivaniya_;
    // The warning under the point `tochka` of the definitions' viewport,
    // or an empty text.
    QString PreduprezhdenieV(const QPoint& tochka) const;
    TPodsvetka* podsvetka_ = nullptr;
    // A result chosen in the history, put in as "x=y" puts one, but after
    // the marked failed line rather than over it.
    void VstavitIzIstorii(const QString& tekst);
    QString opredeleniyaZapuska_; // the definitions text when the run began
    // Runs `f` on the main thread; from another thread the caller waits.
    template <class F> void NaGlavnomPotoke(F&& f);

    // The run lifecycle: the engine's thread, the stop, the log buffer and
    // the history record.
    std::unique_ptr<TVoditelProgona> voditel_;
    void SozdatVoditelya(TDvigatel& dvigatel);
    bool zakrit_ = false; // FormDestroy has run
};
