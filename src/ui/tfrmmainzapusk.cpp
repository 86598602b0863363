// The calculation run of the main window: start, the outcome handed over by
// the engine's calculation thread, the stop handler, the timer of the
// progress window, the window's side of the run body's interface and the log
// hand-over. What the window shows of an outcome is in tfrmmainishod.cpp.
//
// Threads. The calculation thread touches no widget. Its reads of the
// controls and its write of the result are queued to the main thread as
// blocking calls; its log texts go into a buffer under the window's lock and
// the main thread moves them into the log later, so a log write never waits
// for the main thread. Whenever the main thread waits for the calculation
// thread (OstanovitVichisleniya) it keeps running its event loop, with user
// input held back from everything but message boxes, so the queued calls
// and the calculation thread's error boxes are served. The outcome comes
// over as Qt texts under the window's lock.
#include <algorithm>
#include <chrono>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>

#include "eval/dvigatel.h"
#include "number/vm_mashinnye.h"
#include "ui/podsvetka.h"
#include "ui/soobsheniya.h"
#include "ui/tekstqt.h"
#include "ui/tfrmmain.h"
#include "ui/tfrmsostoyanie.h"
#include "ui/zavershenie.h"

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
        for (const QString& s : spisok) stroki.push_back(VBaitiPoZnakam(s));
    });
    std::vector<TAnsiString> rezultat;
    rezultat.reserve(stroki.size());
    for (const std::string& s : stroki) rezultat.emplace_back(s.data(), int(s.size()));
    return rezultat;
}

TAnsiString TfrmMain::ImyaPeremennoy() {
    std::string imya;
    NaGlavnomPotoke([this, &imya] {
        imya = VBaitiPoZnakam(ebPeremennaya->text());
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
    RazmestitOknoSostoyaniya();
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
    // A box is often the run's last word: the run is given a moment to end
    // after it, and a run that has ended (or was stopped, which clears the
    // wait) brings up no window. A run that goes on gets its window under
    // the boxes it may have opened meanwhile.
    if (!pokazOtlozhen_) return;
    QTimer::singleShot(ZHDAT_POSLE_OKNA_MS, this, [this] {
        if (!pokazOtlozhen_ || frmSostoyanie == nullptr) return;
        pokazOtlozhen_ = false;
        if (!idyot_ || IshodGotov()) return;
        frmSostoyanie->PokazatNaEkrane();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b != nullptr && b->isVisible()) b->raise();
    });
}

bool TfrmMain::IshodGotov() {
    std::lock_guard<std::mutex> l(Zamok);
    return ishodGotov_;
}

// --- Start, stop, timer, close ------------------------------------------------

void TfrmMain::bnVichislitClick() {
    if (idyot_) {
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
        // and the timer starts again. If the run ended meanwhile (its outcome
        // was recorded while the question was open), a new run starts.
    }
    if (zakrit_) return;
    const bool novyy = !idyot_;
    if (novyy) NachatZapisZapuska();
    ZamenitOknoSostoyaniya();
    bnVichislit->setText(QStringLiteral("Стоп"));
    // Enabling the timer: one already counting (a "No" to the stop question)
    // keeps its time; start() would begin the 3000 ms again.
    if (!miPromegutochnieRascheti->isChecked() && !tmrPokazatOperacii->isActive())
        tmrPokazatOperacii->start();
    if (!novyy) return;
    {
        std::lock_guard<std::mutex> l(Zamok);
        ishodGotov_ = false;
    }
    ++nomerZapuska_;
    // The engine clears the stop request and starts the calculation thread.
    idyot_ = dvigatel_.Nachat(*this, [this](const TIshod& ishod) { PrinyatIshod(ishod); });
    if (!idyot_) {
        // The thread could not be created: no run, the button says "=".
        tmrPokazatOperacii->stop();
        bnVichislit->setText(QStringLiteral("="));
    }
}

void TfrmMain::PrinyatIshod(const TIshod& ishod) {
    // Calculation thread: the run body has made its last call into the
    // window. The outcome becomes Qt texts here, on the thread that owns
    // the core's texts.
    TIshodOkna ishodOkna = VIshodOkna(ishod);
    {
        std::lock_guard<std::mutex> l(Zamok);
        ishodPotoka_ = std::move(ishodOkna);
        ishodGotov_ = true;
    }
    ishodPeredan_.notify_all();
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(WM_OSTANOVIT)));
}

void TfrmMain::OstanovitVichisleniya() {
    // Also reached by the run's own message while this handler waits (or
    // after it has finished): then there is nothing left to do here.
    if (!idyot_ || vOstanovke_) return;
    vOstanovke_ = true;
    tmrPokazatOperacii->stop();
    // Waits up to `ms` for the outcome; true once it is there.
    auto gotov = [this](int ms) {
        std::unique_lock<std::mutex> l(Zamok);
        return ishodPeredan_.wait_for(l, std::chrono::milliseconds(ms),
                                      [this] { return ishodGotov_; });
    };
    if (!gotov(0)) {
        CalcCancelled = 1;
        TBezVvodaPokaOgidaem bezVvoda;
        while (!gotov(10)) QCoreApplication::processEvents();
    }
    // The run body has ended: the thread makes no more calls into the
    // window, and joining it takes no time.
    dvigatel_.Dozhdatsya();
    TIshodOkna ishod;
    {
        std::lock_guard<std::mutex> l(Zamok);
        ishod = std::move(ishodPotoka_);
        ishodPotoka_ = TIshodOkna();
    }
    idyot_ = false;
    // The run's own WM_OSTANOVIT may still wait in the queue (it is posted
    // after the outcome). It means nothing now, and delivered later it
    // would stop the next run.
    QCoreApplication::removePostedEvents(this, WM_OSTANOVIT);
    bnVichislit->setText(QStringLiteral("="));
    vOstanovke_ = false;
    pokazOtlozhen_ = false; // the run is over: its window is not brought up any more
    ZavershitZapisZapuska(ishod);
    VernutFokus();
}

void TfrmMain::tmrPokazatOperaciiTimer() {
    tmrPokazatOperacii->stop();
    PokazatSostoyanieKogdaMozhno();
}

void TfrmMain::FormDestroy() {
    if (zakrit_) return;
    zakrit_ = true;
    // The user closed the window: the run ends without boxes (its open ones
    // are answered, no new ones come).
    ZakritOknaZapuska();
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
    ZapisatSohranenie();
    e->accept();
}
