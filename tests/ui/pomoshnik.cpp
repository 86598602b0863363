#include "pomoshnik.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "eval/dvigatel.h"
#include "ui/soobsheniya.h"
#include "ui/tfrmmain.h"

namespace {
// Made before main, and so before any QApplication: the settings and the
// session of the window tests go to a folder of their own, empty at each
// run, never to the user's.
struct TPapkiTestov {
    QTemporaryDir papka;
    TPapkiTestov() {
        if (!papka.isValid()) {
            std::fprintf(stderr, "no temporary folder for the settings\n");
            std::abort();
        }
        qputenv("XDG_CONFIG_HOME", (papka.path() + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_STATE_HOME", (papka.path() + QStringLiteral("/state")).toLocal8Bit());
    }
};
TPapkiTestov papkiTestov;
} // namespace

QString PapkaTestov() {
    return papkiTestov.papka.path();
}

TOtvetchik::TOtvetchik() {
    taymer_.setInterval(20);
    connect(&taymer_, &QTimer::timeout, this, [this] { Proverit(); });
    taymer_.start();
}

QMessageBox* TOtvetchik::Vidimoe() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b != nullptr && b->isVisible()) return b;
    return nullptr;
}

void TOtvetchik::Otvetit(QMessageBox* b, QMessageBox::StandardButton knopka) {
    if (QAbstractButton* k = b->button(knopka)) k->click();
}

QStringList TOtvetchik::Teksti() const {
    QStringList t;
    for (const Okno& o : zapisi) t << o.tekst;
    return t;
}

void TOtvetchik::Proverit() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* b = qobject_cast<QMessageBox*>(w);
        if (b == nullptr || !b->isVisible()) continue;
        uzheVideli_.removeAll(QPointer<QMessageBox>());
        if (!uzheVideli_.contains(QPointer<QMessageBox>(b))) {
            uzheVideli_.append(QPointer<QMessageBox>(b));
            QStringList knopki;
            for (QAbstractButton* k : b->buttons()) knopki << k->text().remove(QLatin1Char('&'));
            zapisi.append({b->windowTitle(), b->text(), b->icon(),
                           QPointer<QWidget>(b->parentWidget()), b->windowModality(), knopki});
            if (priPoyavlenii) priPoyavlenii(b);
        }
        if (avto && b->isVisible())
            Otvetit(b, b->icon() == QMessageBox::Question ? otvet : QMessageBox::Ok);
    }
}

TStorog::TStorog(int sekund) {
    potok_ = std::thread([this, sekund] {
        std::unique_lock<std::mutex> l(m_);
        if (!cv_.wait_for(l, std::chrono::seconds(sekund), [this] { return gotovo_; })) {
            std::fprintf(stderr, "FAIL: watchdog: the test did not end within %d s\n", sekund);
            std::fflush(stderr);
            std::_Exit(3);
        }
    });
}

TStorog::~TStorog() {
    {
        std::lock_guard<std::mutex> l(m_);
        gotovo_ = true;
    }
    cv_.notify_all();
    potok_.join();
}

TDvigatel& Dvigatel() {
    // "," as the separator, an empty cache and no cache folder.
    static TDvigatel dvigatel(',', false);
    return dvigatel;
}

void PodgotovitProcess() {
    Dvigatel();
    UstanovitOknaOshibok();
    ZagruzitPerevodQt(*qApp);
}

bool OtkritGlavnoeOkno(std::unique_ptr<TfrmMain>& okno) {
    okno = std::make_unique<TfrmMain>(Dvigatel());
    okno->show();
    return QTest::qWaitForWindowExposed(okno.get());
}
