// The window's side of a calculation run: the run body's interface, the
// progress window and its log, the "="/"Стоп" button, the timer of the
// progress window and closing. The lifecycle itself (the engine's thread, the
// stop, the log buffer) is the driver's (voditel_progona.cpp); what the
// window shows of an outcome is in tfrmmainishod.cpp.
//
// Threads. The calculation thread touches no widget. Its reads of the
// controls and its write of the result are queued to the main thread as
// blocking calls; its log texts go into the driver's buffer and the main
// thread moves them into the log later, so a log write never waits for the
// main thread.
#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
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
        voditel_->ZapomnitImya(ebPeremennaya->text().trimmed());
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
        if (izZapuska) voditel_->ZapomnitOsnovanie(r);
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
        if (izZapuska) voditel_->ZapomnitRazryadi(n);
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
    voditel_->DobavitVZhurnal(tekst);
}

void TfrmMain::VipustitZhurnal(std::vector<std::string>&& teksti) {
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
    voditel_->ZakritZhurnal();
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
    voditel_->OtkritZhurnal();
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
        if (!voditel_->Idyot() || voditel_->IshodGotov()) return;
        frmSostoyanie->PokazatNaEkrane();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b != nullptr && b->isVisible()) b->raise();
    });
}

// --- Start, stop, timer, close ------------------------------------------------

void TfrmMain::bnVichislitClick() {
    if (voditel_->Idyot()) {
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
    const bool novyy = !voditel_->Idyot();
    if (novyy) NachatZapisZapuska();
    ZamenitOknoSostoyaniya();
    bnVichislit->setText(QStringLiteral("Стоп"));
    // Enabling the timer: one already counting (a "No" to the stop question)
    // keeps its time; start() would begin the 3000 ms again.
    if (!miPromegutochnieRascheti->isChecked() && !tmrPokazatOperacii->isActive())
        tmrPokazatOperacii->start();
    if (!novyy) return;
    if (!voditel_->Nachat(*this)) {
        // The thread could not be created: no run, the button says "=".
        tmrPokazatOperacii->stop();
        bnVichislit->setText(QStringLiteral("="));
    }
}

void TfrmMain::SozdatVoditelya(TDvigatel& dvigatel) {
    TSobitiyaProgona sobitiya;
    sobitiya.ostanovkaNachata = [this] { tmrPokazatOperacii->stop(); };
    sobitiya.zhurnal = [this](std::vector<std::string>&& teksti) {
        VipustitZhurnal(std::move(teksti));
    };
    sobitiya.zavershen = [this](const TIshodOkna& ishod) {
        bnVichislit->setText(QStringLiteral("="));
        pokazOtlozhen_ = false; // the run is over: its window is not brought up any more
        ZavershitZapisZapuska(ishod);
        VernutFokus();
    };
    voditel_ = std::make_unique<TVoditelProgona>(dvigatel, *this, std::move(sobitiya));
}

void TfrmMain::OstanovitVichisleniya() {
    voditel_->Ostanovit();
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
    if (voditel_->VOstanovke()) {
        // The window cannot go while it waits for the calculation thread.
        e->ignore();
        return;
    }
    FormDestroy();
    ZapisatSohranenie();
    e->accept();
}
