// The main window "Цифрамер" and the calculation run it drives.
//
// Threads: the window and every widget belong to the main thread. The one
// calculation thread (TCalcThread) reaches the window only through
// IOknoVichisleniya, whose calls the window carries out on the main thread
// while the calculation thread waits, and through the log, to which it hands
// texts without waiting. The main thread never waits for the calculation
// thread without serving those calls (OstanovitVichisleniya).
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>
#include <QThread>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "eval/zapusk.h"
#include "number/vmchislo.h"
#include "ui/tfrmistoriya.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTimer;
class TfrmMain;
class TfrmSostoyanie;

// The window message "the run is over, or must be stopped": a custom event
// type posted by the calculation thread and sent by the window itself.
constexpr int WM_OSTANOVIT = 33168;

// The calculation thread: created not started ("suspended"), started once,
// deleted by the main window's stop handler after it has ended.
class TCalcThread : public QThread {
  public:
    explicit TCalcThread(TfrmMain* okno);

  protected:
    void run() override { Execute(); }

  private:
    // Runs the run body on the window, then posts WM_OSTANOVIT to it.
    void Execute();
    TfrmMain* okno_;
};

// The one main window of the process (null when none exists).
extern TfrmMain* frmMain;

class TfrmMain : public QMainWindow, public IOknoVichisleniya {
  public:
    explicit TfrmMain(QWidget* parent = nullptr);
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

    // The stop handler of WM_OSTANOVIT (main thread): stops and deletes the
    // worker, serving its requests while it waits. Nothing when idle.
    void OstanovitVichisleniya();
    // Stops a run in progress and destroys the progress window. Runs once,
    // when the window closes (or the application quits).
    void FormDestroy();

    // True while a calculation thread exists (a run is in progress).
    bool IdetVichislenie() const { return CalcThread != nullptr; }

    // Appends a text (Windows-1251 bytes) to the log of the current progress
    // window, or drops it when there is none. Any thread; never waits for
    // the main thread.
    void DobavitVZhurnal(const std::string& tekst);

    // Replaces the progress window by a fresh, empty one (hidden unless
    // "Промежуточные расчёты" is checked) and gives the focus back to the
    // definitions. Texts handed over for the old window are dropped.
    // Main thread.
    void ZamenitOknoSostoyaniya();

    // Controls, by their names in the window (also their objectName). The
    // client area pnKlient lies in the scroll area sbKlient, which scrolls
    // only on a screen too small for the client area's minimum size.
    QScrollArea* sbKlient = nullptr;
    QWidget* pnKlient = nullptr;
    QPlainTextEdit* mPeremennie = nullptr;
    QLineEdit* ebPeremennaya = nullptr;
    QLabel* lbRavno = nullptr;
    QLineEdit* ebZnachenie = nullptr;
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
    QTimer* tmrPokazatOperacii = nullptr;

    // The progress window of the current (or last) run; null before the
    // first run and after FormDestroy. Main thread.
    TfrmSostoyanie* frmSostoyanie = nullptr;
    TCalcThread* CalcThread = nullptr;
    // The finished runs of this session (created with the window, hidden).
    TfrmIstoriya* frmIstoriya = nullptr;

    // Handlers, by the names of their controls.
    void bnVichislitClick();
    void tmrPokazatOperaciiTimer();
    void rbProizvolnoeOsnovanieClick();
    void ebOsnovanieExit();
    void ebKolichestvoRasryadovExit();
    void pnZnachenieResize();
    // Button handlers (main thread); each ends with the focus in mPeremennie.
    void bnKvadratClick();
    void bnKorenClick();
    void bnStepenClick();
    void bnEksponentaClick();
    void bnRazdelitelClick();
    void bnOkruglitDoMenshegoClick();
    void bnObratnoeClick();
    void bnFaktorialClick();
    void bnDeleniePoModulyuClick();
    void bnSdvigClick();
    void bnPoryadokClick();
    void bnOkruglitDoBligayshegoClick();
    void bnNaturalniyLogarifmClick();
    void bnDesyatichniyLogarifmClick();
    void bnLogarifmClick();
    void bnChisloEClick();
    void bnOsnovanieClick();
    void bnOkruglitDoBolshegoClick();
    void bnSinusClick();
    void bnKosinusClick();
    void bnTangensClick();
    void bnChisloPIClick();
    void bnChisloClick();
    void bnDrobnayaChastClick();
    void bnArksinusClick();
    void bnArkkosinusClick();
    void bnArktangensClick();
    void bnArktangens2Click();
    void bnOtkritSkobkuClick();
    void bnZakritSkobkuClick();
    void bnPribavitClick();
    void bnOtnyatClick();
    void bnUmnogitClick();
    void bnRazdelitClick();
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
    // Template insertion: `shablon` with no selection, otherwise prefix,
    // selection and suffix; bnArktangens2 repeats the selection.
    void VstavitShablon(const QString& shablon, const QString& prefiks, const QString& suffiks);

  protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    void FormCreate();
    void SozdatElementy();
    // The steps of SozdatElementy, in this order: the menu, the history
    // window and the operations timer; the client area with the definitions
    // and the name and result row; the group boxes; the radio handlers; the
    // keyboard shortcuts.
    void SozdatMenu();
    void SozdatKlient();
    void SozdatGruppi();
    void SoedinitPereklyuchateli();
    void SozdatKlavishi();
    void SozdatKnopki();
    void PodobratShrift();
    void UstanovitPoryadokTab();
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
    void UnichtogitOknoSostoyaniya();
    // Brings the progress window on screen, or, while a message box is
    // open, once the open boxes are closed: it never comes up over a box
    // waiting for an answer.
    void PokazatSostoyanieKogdaMozhno();
    void PovtoritOtlozhenniyPokaz();
    bool pokazOtlozhen_ = false; // the progress window waits for boxes to close
    void VipustitZhurnal();      // main thread: moves the handed-over texts into the log

    // What the history and the failing line need to know of the run in
    // progress, gathered on the main thread as the run reads and writes the
    // window. Begun when a calculation thread is created, ended by the stop
    // handler once it has gone.
    void NachatZapisZapuska();
    void ZavershitZapisZapuska();
    // The message that says why the run ended without a result.
    QString PrichinaNeudachi() const;
    // Selects the line whose definition failed first, if the text is the
    // one the run read and the run was not stopped.
    void VydelitNeudachnuyuStroku();
    // The selection VydelitNeudachnuyuStroku made, as long as it stands
    // unchanged ({-1, -1} otherwise).
    std::pair<int, int> videlenieNeudachi_{-1, -1};
    // A result chosen in the history, put in as "x=y" puts one, but after
    // the marked failed line rather than over it.
    void VstavitIzIstorii(const QString& tekst);
    TZapisIstorii zapusk_;
    QElapsedTimer nachaloZapuska_;
    QString opredeleniyaZapuska_;     // the definitions text when the run began
    QStringList soobsheniyaZapuska_;  // the run's message boxes, in order
    bool razryadiProchitani_ = false; // the run read the digit count
    bool ostanovlenPolzovatelem_ = false;
    // Runs `f` on the main thread; from another thread the caller waits.
    template <class F> void NaGlavnomPotoke(F&& f);

    // The window's lock: guards whether a progress window exists and the
    // texts handed over for it. Held only briefly; nobody waits for another
    // thread while holding it.
    std::mutex Zamok;
    bool zhurnalEst_ = false;               // a progress window takes texts
    std::vector<std::string> zhurnalBufer_; // handed over, not yet in the log
    bool zhurnalZaprosPoslan_ = false;      // a VipustitZhurnal call is pending
    bool vOstanovke_ = false;               // OstanovitVichisleniya is waiting
    bool zakrit_ = false;                   // FormDestroy has run
};
