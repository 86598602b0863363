// The run driver on its own, without the main window: a run stopped midway
// and the history record of it.
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>
#include <memory>

#include "eval/zapusk.h"
#include "pomoshnik.h"
#include "ui/voditel_progona.h"

namespace {

// The window as the run body sees it: fixed definitions, radix 10, 100
// digits; the messages are only counted (no boxes). Any thread.
class TOkno : public IOknoVichisleniya {
  public:
    explicit TOkno(const char* opredeleniya) : opredeleniya_(opredeleniya) {}
    std::vector<TAnsiString> StrokiOpredeleniy() override { return {TAnsiString(opredeleniya_)}; }
    TAnsiString ImyaPeremennoy() override { return TAnsiString("y"); }
    std::int32_t PoluchitOsnovanie() override { return 10; }
    std::int32_t PoluchitRazryadi() override { return 100; }
    void UstanovitZnachenie(const TAnsiString&) override {}
    void Soobshit(const TSoobshenie&) override {}

  private:
    const char* opredeleniya_;
};

// The receiver of WM_OSTANOVIT, handing it to the driver as the window does.
class TPoluchatel : public QObject {
  public:
    TVoditelProgona* voditel = nullptr;
    bool event(QEvent* e) override {
        if (e->type() != static_cast<QEvent::Type>(WM_OSTANOVIT)) return QObject::event(e);
        voditel->Ostanovit();
        return true;
    }
};

} // namespace

class TestVoditel : public QObject {
    Q_OBJECT

    std::unique_ptr<TStorog> storog;
    TPoluchatel poluchatel;
    std::unique_ptr<TVoditelProgona> voditel;
    QList<TIshodOkna> ishodi; // handed to `zavershen`, in order
    int ostanovok = 0;        // calls of `ostanovkaNachata`
    bool idyotPriZavershenii = true;

  private slots:
    void initTestCase() { PodgotovitProcess(); }
    void init() {
        storog = std::make_unique<TStorog>(60);
        ishodi.clear();
        ostanovok = 0;
        TSobitiyaProgona s;
        s.ostanovkaNachata = [this] { ++ostanovok; };
        s.zavershen = [this](const TIshodOkna& ishod) {
            idyotPriZavershenii = voditel->Idyot() || voditel->VOstanovke();
            ishodi.append(ishod);
        };
        voditel = std::make_unique<TVoditelProgona>(Dvigatel(), poluchatel, std::move(s));
        poluchatel.voditel = voditel.get();
    }
    void cleanup() {
        voditel->Ostanovit(); // a failed test may have left a run going
        voditel.reset();
        storog.reset();
    }

    // A stop asked midway: the run ends at once as stopped, the run's own
    // late message changes nothing, the record gives the stop as the reason
    // and counts without the time a box of the run was open.
    void ostanovkaVoVremyaProgona() {
        TOkno okno("y = fact(100000000)");
        QElapsedTimer vsego;
        vsego.start();
        voditel->NachatZapis(QStringLiteral("y"), 10);
        voditel->ZapomnitRazryadi(42);
        QVERIFY(voditel->Nachat(okno));
        voditel->OknoOtkrito();
        QTest::qWait(400);
        voditel->OknoZakrito();
        QVERIFY(voditel->Idyot());
        QVERIFY(ishodi.isEmpty());
        QElapsedTimer t;
        t.start();
        voditel->Ostanovit();
        QVERIFY2(t.elapsed() < 1500, qPrintable(QString::number(t.elapsed())));
        QVERIFY(!voditel->Idyot());
        QTest::qWait(100);
        QCOMPARE(ishodi.size(), 1);
        QCOMPARE(ostanovok, 1);
        QVERIFY(!idyotPriZavershenii); // the window may start the next run from there
        QCOMPARE(ishodi[0].sostoyanie, TSostoyanieProgona::Ostanovlen);
        const TZapisIstorii& z = voditel->ZavershitZapis(ishodi[0], 7);
        QVERIFY(!z.uspeh);
        QCOMPARE(z.tekst,
                 QStringLiteral("Не удаётся вычислить значение переменной y: отмена вычислений"));
        QCOMPARE(z.razryadov, 42);
        // The box was open 400 ms or more of the run's time.
        QVERIFY2(z.ms <= vsego.elapsed() - 395, qPrintable(QString::number(z.ms)));
    }
};

QTEST_MAIN(TestVoditel)
#include "test_voditel.moc"
