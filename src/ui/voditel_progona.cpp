// The run driver of the main window: start, the outcome handed over by the
// calculation thread, the stop, the log hand-over and the history record.
#include "ui/voditel_progona.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <chrono>
#include <utility>

#include "eval/dvigatel.h"
#include "eval/nastroyki.h"
#include "platform/platforma.h"
#include "ui/soobsheniya.h"
#include "ui/tekstqt.h"

TIshodOkna VIshodOkna(const TIshod& ishod) {
    TIshodOkna r;
    r.sostoyanie = ishod.Sostoyanie;
    r.tekst = VQString(ishod.Tekst);
    r.stroka = ishod.Stroka;
    r.nachalo = ishod.Nachalo;
    r.dlina = ishod.Dlina;
    for (const TSoobshenie& s : ishod.Soobsheniya)
        r.soobsheniya.append({VQString(s.Tekst), s.Stroka});
    for (const TPreduprezhdenie& p : ishod.Preduprezhdeniya)
        r.preduprezhdeniya.append({p.Stroka, p.Nachalo, p.Dlina, VQString(p.Tekst)});
    return r;
}

TVoditelProgona::TVoditelProgona(TDvigatel& dvigatel, QObject& poluchatel,
                                 TSobitiyaProgona sobitiya)
    : dvigatel_(dvigatel), poluchatel_(poluchatel), sobitiya_(std::move(sobitiya)) {}

// --- The run --------------------------------------------------------------------

bool TVoditelProgona::Nachat(IOknoVichisleniya& okno) {
    {
        std::lock_guard<std::mutex> l(zamok_);
        ishodGotov_ = false;
    }
    ++nomer_;
    // The engine clears the stop request and starts the calculation thread.
    idyot_ = dvigatel_.Nachat(okno, [this](const TIshod& ishod) { PrinyatIshod(ishod); });
    return idyot_;
}

void TVoditelProgona::PrinyatIshod(const TIshod& ishod) {
    // Calculation thread: the run body has made its last call into the
    // window. The outcome becomes Qt texts here, on the thread that owns
    // the core's texts.
    TIshodOkna ishodOkna = VIshodOkna(ishod);
    {
        std::lock_guard<std::mutex> l(zamok_);
        ishodPotoka_ = std::move(ishodOkna);
        ishodGotov_ = true;
    }
    ishodPeredan_.notify_all();
    QCoreApplication::postEvent(&poluchatel_, new QEvent(static_cast<QEvent::Type>(WM_OSTANOVIT)));
}

bool TVoditelProgona::ZhdatIshod(int ms) {
    std::unique_lock<std::mutex> l(zamok_);
    return ishodPeredan_.wait_for(l, std::chrono::milliseconds(ms), [this] { return ishodGotov_; });
}

bool TVoditelProgona::IshodGotov() {
    std::lock_guard<std::mutex> l(zamok_);
    return ishodGotov_;
}

void TVoditelProgona::Ostanovit() {
    // Also reached by the run's own message while this waits (or after it
    // has finished): then there is nothing left to do here.
    if (!idyot_ || vOstanovke_) return;
    vOstanovke_ = true;
    if (sobitiya_.ostanovkaNachata) sobitiya_.ostanovkaNachata();
    if (!ZhdatIshod(0)) {
        CalcCancelled = 1;
        TBezVvodaPokaOgidaem bezVvoda;
        while (!ZhdatIshod(10)) QCoreApplication::processEvents();
    }
    // The run body has ended: the thread makes no more calls into the
    // window, and joining it takes no time.
    dvigatel_.Dozhdatsya();
    TIshodOkna ishod;
    {
        std::lock_guard<std::mutex> l(zamok_);
        ishod = std::exchange(ishodPotoka_, TIshodOkna());
    }
    idyot_ = false;
    // The run's own WM_OSTANOVIT may still wait in the queue (it is posted
    // after the outcome). It means nothing now, and delivered later it
    // would stop the next run.
    QCoreApplication::removePostedEvents(&poluchatel_, WM_OSTANOVIT);
    vOstanovke_ = false;
    if (sobitiya_.zavershen) sobitiya_.zavershen(ishod);
}

// --- The log ----------------------------------------------------------------------

void TVoditelProgona::DobavitVZhurnal(const std::string& tekst) {
    bool poslat = false;
    {
        std::lock_guard<std::mutex> l(zamok_);
        if (!zhurnalEst_) return;
        zhurnalBufer_.push_back(tekst);
        if (!zhurnalZaprosPoslan_) zhurnalZaprosPoslan_ = poslat = true;
    }
    if (poslat)
        QMetaObject::invokeMethod(
            &poluchatel_, [this] { VipustitZhurnal(); }, Qt::QueuedConnection);
}

void TVoditelProgona::VipustitZhurnal() {
    std::vector<std::string> teksti;
    {
        std::lock_guard<std::mutex> l(zamok_);
        teksti.swap(zhurnalBufer_);
        zhurnalZaprosPoslan_ = false;
    }
    // The buffer is emptied whenever the progress window goes, so these
    // texts were all written for the window that exists now (if any).
    if (!teksti.empty() && sobitiya_.zhurnal) sobitiya_.zhurnal(std::move(teksti));
}

void TVoditelProgona::OtkritZhurnal() {
    std::lock_guard<std::mutex> l(zamok_);
    zhurnalEst_ = true;
}

void TVoditelProgona::ZakritZhurnal() {
    std::lock_guard<std::mutex> l(zamok_);
    zhurnalEst_ = false;
    zhurnalBufer_.clear();
}

// --- The record for the history ------------------------------------------------------

void TVoditelProgona::NachatZapis(const QString& imya, int osnovanie) {
    zapis_ = TZapisIstorii();
    zapis_.imya = imya;
    zapis_.osnovanie = osnovanie;
    razryadiProchitani_ = false;
    nachalo_.start();
    vremyaOkon_ = 0;
    if (otkritoOkon_ > 0) okonSekundomer_.start();
}

void TVoditelProgona::ZapomnitRazryadi(int razryadov) {
    zapis_.razryadov = razryadov;
    razryadiProchitani_ = true;
}

void TVoditelProgona::OknoOtkrito() {
    if (otkritoOkon_++ == 0) okonSekundomer_.start();
}

void TVoditelProgona::OknoZakrito() {
    if (otkritoOkon_ > 0 && --otkritoOkon_ == 0) vremyaOkon_ += okonSekundomer_.elapsed();
}

qint64 TVoditelProgona::VremyaVichisleniya() const {
    const qint64 okon = vremyaOkon_ + (otkritoOkon_ > 0 ? okonSekundomer_.elapsed() : 0);
    return std::max<qint64>(0, nachalo_.elapsed() - okon);
}

QString TVoditelProgona::PrichinaNeudachi(const TIshodOkna& ishod) const {
    const QString zakritie =
        QStringLiteral("Не удаётся вычислить значение переменной ") + zapis_.imya;
    if (ishod.sostoyanie == TSostoyanieProgona::Ostanovlen)
        return zakritie + QStringLiteral(": отмена вычислений");
    if (ishod.stroka > 0) {
        // A definition failed: the last message only names the target; an
        // earlier one about the failed line says why. A syntax error of an
        // operator expression has none, and the log records these words.
        for (qsizetype i = 0; i + 1 < ishod.soobsheniya.size(); ++i)
            if (ishod.soobsheniya[i].stroka == ishod.stroka) return ishod.soobsheniya[i].tekst;
        return zakritie + QStringLiteral(": ошибка вычислений");
    }
    // Nothing was evaluated: the message that ended the run says why.
    if (!ishod.soobsheniya.isEmpty()) return ishod.soobsheniya.last().tekst;
    return zakritie + QStringLiteral(": ошибка вычислений");
}

const TZapisIstorii& TVoditelProgona::ZavershitZapis(const TIshodOkna& ishod, int razryadov) {
    zapis_.ms = VremyaVichisleniya();
    zapis_.edinicaUgla = AngleUnit;
    if (!razryadiProchitani_) zapis_.razryadov = razryadov;
    zapis_.uspeh = ishod.sostoyanie == TSostoyanieProgona::Gotovo;
    zapis_.tekst = zapis_.uspeh ? ishod.tekst : PrichinaNeudachi(ishod);
    for (const TPreduprezhdenieOkna& p : ishod.preduprezhdeniya)
        zapis_.preduprezhdeniya.append(TekstPreduprezhdeniya(p.stroka, p.tekst));
    return zapis_;
}
