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

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include "eval/dvigatel.h"
#include "eval/peremennie.h"
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
    // This thread is the calculation thread; the "=" handler cleared the
    // stop request before it started.
    TDvigatel::VichislitZdes(*okno_);
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
    NaGlavnomPotoke([this, &imya] {
        imya = VBaiti(ebPeremennaya->text());
        zapusk_.imya = ebPeremennaya->text().trimmed();
    });
    return TAnsiString(imya.data(), int(imya.size()));
}

std::int32_t TfrmMain::PoluchitOsnovanie() {
    // The number buttons ask on the main thread too; only the run's own
    // reads tell the history which radix the run used.
    const bool izZapuska = QThread::currentThread() != thread();
    std::int32_t r = 10;
    NaGlavnomPotoke([this, &r, izZapuska] {
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
        if (izZapuska) zapusk_.osnovanie = r;
    });
    return r;
}

std::int32_t TfrmMain::PoluchitRazryadi() {
    // The field is read on the main thread but parsed on the calling one: a
    // message about a text that is not a number then comes from the thread
    // that asked, so a calculation thread's box leaves the window usable
    // instead of holding the main thread in a modal loop.
    const bool izZapuska = QThread::currentThread() != thread();
    std::string b;
    NaGlavnomPotoke([this, &b] { b = VBaiti(ebKolichestvoRasryadov->text()); });
    double znachenie = 0;
    const bool prochitano = TekstVChislo(&znachenie, b.data(), int(b.size()), true) == TVCH_USPEH;
    std::int32_t n = 100;
    NaGlavnomPotoke([this, &n, prochitano, znachenie, izZapuska] {
        if (prochitano) ebKolichestvoRasryadovTag = std::clamp(Okruglit(znachenie), 0, 100);
        n = ebKolichestvoRasryadovTag;
        if (izZapuska) {
            zapusk_.razryadov = n;
            razryadiProchitani_ = true;
        }
    });
    return n;
}

void TfrmMain::UstanovitZnachenie(const TAnsiString& text) {
    const QString t = VQString(text);
    NaGlavnomPotoke([this, &t] {
        ebZnachenie->setText(t);
        // setText leaves the caret at the end, scrolling a long result so
        // that its leading digits are out of sight: show it from the first.
        ebZnachenie->setCursorPosition(0);
        zapusk_.uspeh = true;
        zapusk_.tekst = t;
    });
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
    pokazOtlozhen_ = false;
    // Out of sight means hidden here: a window manager may refuse a place
    // above the screen.
    frmSostoyanie = new TfrmSostoyanie(this);
    {
        std::lock_guard<std::mutex> l(Zamok);
        zhurnalEst_ = true;
    }
    mPeremennie->setFocus();
    if (miPromegutochnieRascheti->isChecked()) PokazatSostoyanieKogdaMozhno();
}

void TfrmMain::PokazatSostoyanieKogdaMozhno() {
    if (frmSostoyanie == nullptr) return;
    QList<QMessageBox*> otkritie;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b != nullptr && b->isVisible())
            otkritie.append(b);
    pokazOtlozhen_ = !otkritie.isEmpty();
    if (!pokazOtlozhen_) {
        frmSostoyanie->PokazatNaEkrane();
        return;
    }
    for (QMessageBox* b : otkritie) {
        connect(b, &QDialog::finished, this, &TfrmMain::PovtoritOtlozhenniyPokaz,
                Qt::UniqueConnection);
        connect(b, &QObject::destroyed, this, &TfrmMain::PovtoritOtlozhenniyPokaz,
                Qt::UniqueConnection);
    }
}

void TfrmMain::PovtoritOtlozhenniyPokaz() {
    // Queued: a box is finished before it is gone from the screen, and the
    // run may open its next box at once.
    if (pokazOtlozhen_)
        QTimer::singleShot(0, this, [this] {
            if (pokazOtlozhen_) PokazatSostoyanieKogdaMozhno();
        });
}

// --- The record of a run: history and failing line ---------------------------

void TfrmMain::NachatZapisZapuska() {
    zapusk_ = TZapisIstorii();
    zapusk_.imya = ebPeremennaya->text().trimmed();
    zapusk_.osnovanie = PoluchitOsnovanie();
    soobsheniyaZapuska_.clear();
    razryadiProchitani_ = false;
    ostanovlenPolzovatelem_ = false;
    opredeleniyaZapuska_ = mPeremennie->toPlainText();
    nachaloZapuska_.start();
}

QString TfrmMain::PrichinaNeudachi() const {
    // The closing message names only the target; the message before it,
    // from the evaluator or the run body, says why. The line parser's
    // messages are about lines left out, not about the failure.
    const QString zakritie = QStringLiteral("Не удаётся вычислить значение переменной ");
    for (const QString& t : soobsheniyaZapuska_)
        if (!t.startsWith(zakritie) && t != QStringLiteral("Неправильное имя переменной") &&
            t != QStringLiteral("Неправильное значение переменной"))
            return t;
    // Only the closing message: a syntax error of an operator expression or
    // a stop, which the log records with these words.
    return zakritie + zapusk_.imya +
           (ostanovlenPolzovatelem_ ? QStringLiteral(": отмена вычислений")
                                    : QStringLiteral(": ошибка вычислений"));
}

void TfrmMain::ZavershitZapisZapuska() {
    zapusk_.ms = nachaloZapuska_.elapsed();
    zapusk_.edinicaUgla = AngleUnit;
    if (!razryadiProchitani_) zapusk_.razryadov = ebKolichestvoRasryadovTag;
    if (!zapusk_.uspeh) zapusk_.tekst = PrichinaNeudachi();
    frmIstoriya->Dobavit(zapusk_);
    if (!zapusk_.uspeh) VydelitNeudachnuyuStroku();
}

void TfrmMain::VydelitNeudachnuyuStroku() {
    if (ostanovlenPolzovatelem_ || zakrit_) return;
    // The calculation thread has ended: its table may be read here.
    const std::int32_t stroka = IndeksNeudachnoyZapisi();
    if (stroka < 0 || mPeremennie->toPlainText() != opredeleniyaZapuska_) return;
    const QTextBlock blok = mPeremennie->document()->findBlockByNumber(stroka);
    if (!blok.isValid()) return;
    QTextCursor k(blok);
    k.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    mPeremennie->setTextCursor(k);
    videlenieNeudachi_ = {k.selectionStart(), k.selectionEnd()};
    mPeremennie->ensureCursorVisible();
    mPeremennie->setFocus();
}

void TfrmMain::VstavitIzIstorii(const QString& tekst) {
    // The selection that marks a failed line is the program's, not the
    // user's: a result from the history goes in after it, not over it.
    QTextCursor k = mPeremennie->textCursor();
    if (k.hasSelection() && k.selectionStart() == videlenieNeudachi_.first &&
        k.selectionEnd() == videlenieNeudachi_.second) {
        k.setPosition(k.selectionEnd());
        mPeremennie->setTextCursor(k);
    }
    Vstavit(tekst);
    activateWindow();
    mPeremennie->setFocus();
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
            ostanovlenPolzovatelem_ = true;
            QEvent stop(static_cast<QEvent::Type>(WM_OSTANOVIT));
            QCoreApplication::sendEvent(this, &stop);
            return;
        }
        // No: the run goes on; a fresh progress window replaces the old one
        // and the timer starts again. The thread, if still running, is left
        // alone; if it ended meanwhile, a new run starts.
    }
    if (zakrit_) return;
    if (CalcThread == nullptr) {
        CalcThread = new TCalcThread(this);
        NachatZapisZapuska();
    }
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
    ZavershitZapisZapuska();
}

void TfrmMain::tmrPokazatOperaciiTimer() {
    tmrPokazatOperacii->stop();
    PokazatSostoyanieKogdaMozhno();
}

void TfrmMain::FormDestroy() {
    if (zakrit_) return;
    zakrit_ = true;
    ostanovlenPolzovatelem_ = true;
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
