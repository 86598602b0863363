// The calculation run of the main window: start, the calculation thread, the
// stop handler, the timer of the progress window, the window's side of the
// run body's interface and the log hand-over.
//
// Threads. The calculation thread touches no widget. Its reads of the
// controls and its write of the result are queued to the main thread as
// blocking calls; its log texts go into a buffer under the window's lock and
// the main thread moves them into the log later, so a log write never waits
// for the main thread. Whenever the main thread waits for the calculation
// thread (OstanovitVichisleniya) it keeps running its event loop, with user
// input held back from everything but message boxes, so the queued calls
// and the calculation thread's error boxes are served.
#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTimer>

#include "number/mashinnye.h"
#include "ui/soobsheniya.h"
#include "ui/tekstqt.h"
#include "ui/tfrmmain.h"
#include "ui/tfrmsostoyanie.h"
#include "ui/zavershenie.h"

TCalcThread::TCalcThread(TfrmMain* okno) : okno_(okno) {
    setObjectName(QStringLiteral("CalcThread"));
    setStackSize(VM_STEK_POTOKA_VICHISLENIY);
}

void TCalcThread::Execute() {
    if (frmMain == nullptr) return;
    VipolnitZashishenno([this] { VichislitPeremennuyu(*okno_); });
    QCoreApplication::postEvent(okno_, new QEvent(static_cast<QEvent::Type>(WM_OSTANOVIT)));
}

template <class F> void TfrmMain::NaGlavnomPotoke(F&& f) {
    if (QThread::currentThread() == thread()) {
        f();
        return;
    }
    auto z = std::make_shared<TZavershenie>();
    auto metka = std::make_shared<TMetkaZaversheniya>(z);
    QMetaObject::invokeMethod(
        this, [&f, metka] { f(); }, Qt::QueuedConnection);
    metka.reset(); // from now on only the queued task holds it
    z->Zhdat();
}

// --- The run body's interface ---------------------------------------------

std::vector<TAnsiString> TfrmMain::StrokiOpredeleniy() {
    std::vector<std::string> stroki;
    NaGlavnomPotoke([this, &stroki] {
        // Lines as a text field counts them: none when empty, and a final
        // line break opens no further line.
        const QString tekst = mPeremennie->toPlainText();
        if (tekst.isEmpty()) return;
        QStringList spisok = tekst.split(QLatin1Char('\n'));
        if (tekst.endsWith(QLatin1Char('\n'))) spisok.removeLast();
        for (const QString& s : spisok) stroki.push_back(VBaiti(s));
    });
    std::vector<TAnsiString> rezultat;
    rezultat.reserve(stroki.size());
    for (const std::string& s : stroki) rezultat.emplace_back(s.data(), int(s.size()));
    return rezultat;
}

TAnsiString TfrmMain::ImyaPeremennoy() {
    std::string imya;
    NaGlavnomPotoke([this, &imya] { imya = VBaiti(ebPeremennaya->text()); });
    return TAnsiString(imya.data(), int(imya.size()));
}

std::int32_t TfrmMain::PoluchitOsnovanie() {
    std::int32_t r = 10;
    NaGlavnomPotoke([this, &r] {
        if (rbOsnovanie16->isChecked())
            r = 16;
        else if (rbOsnovanie10->isChecked())
            r = 10;
        else if (rbOsnovanie3->isChecked())
            r = 3;
        else if (rbOsnovanie2->isChecked())
            r = 2;
        else if (rbProizvolnoeOsnovanie->isChecked())
            r = ebOsnovanieTag;
    });
    return r;
}

std::int32_t TfrmMain::PoluchitRazryadi() {
    // The field is read on the main thread but parsed on the calling one: a
    // message about a text that is not a number then comes from the thread
    // that asked, so a calculation thread's box leaves the window usable
    // instead of holding the main thread in a modal loop.
    std::string b;
    NaGlavnomPotoke([this, &b] { b = VBaiti(ebKolichestvoRasryadov->text()); });
    double znachenie = 0;
    const bool prochitano = TekstVChislo(&znachenie, b.data(), int(b.size()), true) == TVCH_USPEH;
    std::int32_t n = 100;
    NaGlavnomPotoke([this, &n, prochitano, znachenie] {
        if (prochitano) ebKolichestvoRasryadovTag = std::clamp(Okruglit(znachenie), 0, 100);
        n = ebKolichestvoRasryadovTag;
    });
    return n;
}

void TfrmMain::UstanovitZnachenie(const TAnsiString& text) {
    const QString t = VQString(text);
    NaGlavnomPotoke([this, &t] { ebZnachenie->setText(t); });
}

// --- The log ----------------------------------------------------------------

void TfrmMain::DobavitVZhurnal(const std::string& tekst) {
    bool poslat = false;
    {
        std::lock_guard<std::mutex> l(Zamok);
        if (!zhurnalEst_) return;
        zhurnalBufer_.push_back(tekst);
        if (!zhurnalZaprosPoslan_) zhurnalZaprosPoslan_ = poslat = true;
    }
    if (poslat)
        QMetaObject::invokeMethod(
            this, [this] { VipustitZhurnal(); }, Qt::QueuedConnection);
}

void TfrmMain::VipustitZhurnal() {
    std::vector<std::string> teksti;
    {
        std::lock_guard<std::mutex> l(Zamok);
        teksti.swap(zhurnalBufer_);
        zhurnalZaprosPoslan_ = false;
    }
    // The buffer is emptied whenever the progress window is replaced, so
    // these texts were all written for the window that exists now.
    if (frmSostoyanie == nullptr) return;
    // While the log is empty each text goes in on its own, so that each one
    // loses its leading line break; the rest go in as one text.
    std::size_t i = 0;
    for (; i < teksti.size() && frmSostoyanie->mSostoyanie->document()->isEmpty(); ++i)
        frmSostoyanie->Dobavit(VQString(teksti[i]));
    std::string ostatok;
    for (; i < teksti.size(); ++i) ostatok += teksti[i];
    if (!ostatok.empty()) frmSostoyanie->Dobavit(VQString(ostatok));
}

void TfrmMain::UnichtogitOknoSostoyaniya() {
    {
        std::lock_guard<std::mutex> l(Zamok);
        zhurnalEst_ = false;
        zhurnalBufer_.clear();
    }
    delete frmSostoyanie;
    frmSostoyanie = nullptr;
}

void TfrmMain::ZamenitOknoSostoyaniya() {
    UnichtogitOknoSostoyaniya();
    // Out of sight means hidden here: a window manager may refuse a place
    // above the screen.
    frmSostoyanie = new TfrmSostoyanie(this);
    {
        std::lock_guard<std::mutex> l(Zamok);
        zhurnalEst_ = true;
    }
    mPeremennie->setFocus();
    if (miPromegutochnieRascheti->isChecked()) frmSostoyanie->PokazatNaEkrane();
}

// --- Start, stop, timer, close ------------------------------------------------

void TfrmMain::bnVichislitClick() {
    if (CalcThread != nullptr) {
        QMessageBox* vopros =
            SozdatSoobshenie(QMessageBox::Question, QStringLiteral("Вопрос"),
                             QStringLiteral("Вычисления производятся. Остановить?"),
                             QMessageBox::Yes | QMessageBox::No, this);
        const int otvet = vopros->exec();
        delete vopros;
        if (otvet == QMessageBox::Yes) {
            QEvent stop(static_cast<QEvent::Type>(WM_OSTANOVIT));
            QCoreApplication::sendEvent(this, &stop);
            return;
        }
        // No: the run goes on; a fresh progress window replaces the old one
        // and the timer starts again. The thread, if still running, is left
        // alone; if it ended meanwhile, a new run starts.
    }
    if (zakrit_) return;
    if (CalcThread == nullptr) CalcThread = new TCalcThread(this);
    ZamenitOknoSostoyaniya();
    bnVichislit->setText(QStringLiteral("Стоп"));
    CalcCancelled = 0;
    // Enabling the timer: one already counting (a "No" to the stop question)
    // keeps its time; start() would begin the 3000 ms again.
    if (!miPromegutochnieRascheti->isChecked() && !tmrPokazatOperacii->isActive())
        tmrPokazatOperacii->start();
    if (!CalcThread->isRunning() && !CalcThread->isFinished()) {
        CalcThread->start();
        if (!CalcThread->isRunning() && !CalcThread->isFinished()) {
            // The thread could not be created: no run, the button says "=".
            tmrPokazatOperacii->stop();
            delete CalcThread;
            CalcThread = nullptr;
            bnVichislit->setText(QStringLiteral("="));
        }
    }
}

void TfrmMain::OstanovitVichisleniya() {
    // Also reached by the thread's own message while this handler waits (or
    // after it has finished): then there is nothing left to do here.
    if (CalcThread == nullptr || vOstanovke_) return;
    vOstanovke_ = true;
    tmrPokazatOperacii->stop();
    CalcCancelled = 1;
    CalcThread->requestInterruption();
    {
        TBezVvodaPokaOgidaem bezVvoda;
        while (!CalcThread->wait(QDeadlineTimer(10))) QCoreApplication::processEvents();
    }
    delete CalcThread;
    CalcThread = nullptr;
    // The thread's own WM_OSTANOVIT may still wait in the queue (the wait
    // can end before it is delivered). It means nothing now, and delivered
    // later it would stop the next run.
    QCoreApplication::removePostedEvents(this, WM_OSTANOVIT);
    bnVichislit->setText(QStringLiteral("="));
    vOstanovke_ = false;
}

void TfrmMain::tmrPokazatOperaciiTimer() {
    tmrPokazatOperacii->stop();
    if (frmSostoyanie != nullptr) frmSostoyanie->PokazatNaEkrane();
}

void TfrmMain::FormDestroy() {
    if (zakrit_) return;
    zakrit_ = true;
    QEvent stop(static_cast<QEvent::Type>(WM_OSTANOVIT));
    QCoreApplication::sendEvent(this, &stop);
    UnichtogitOknoSostoyaniya();
}

bool TfrmMain::event(QEvent* e) {
    if (e->type() == static_cast<QEvent::Type>(WM_OSTANOVIT)) {
        OstanovitVichisleniya();
        return true;
    }
    return QMainWindow::event(e);
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    if (vOstanovke_) {
        // The window cannot go while it waits for the calculation thread.
        e->ignore();
        return;
    }
    FormDestroy();
    e->accept();
}
