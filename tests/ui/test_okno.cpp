// The main window without a calculation run: start-up state, layout, the
// text each button inserts, the radix and digit-count fields with their
// messages, the progress window's log.
#include <chrono>
#include <thread>

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>
#include <thread>

#include "eval/zapusk.h"
#include "number/vm_chislo.h"
#include "pomoshnik.h"
#include "ui/podsvetka.h"
#include "ui/tfrmmain.h"
#include "ui/tfrmsostoyanie.h"

class TestOkno : public QObject {
    Q_OBJECT

    std::unique_ptr<TStorog> storog;
    std::unique_ptr<TOtvetchik> otvetchik;
    std::unique_ptr<TfrmMain> okno;

    QPushButton* Knopka(const char* imya) {
        return okno->findChild<QPushButton*>(QString::fromLatin1(imya));
    }
    QString Cifri() const { // the digit buttons enabled now
        QString s;
        for (QPushButton* b : okno->bnCifri)
            if (b->isEnabled()) s += b->text();
        return s;
    }
    // Types `tekst` into a field and leaves it for the definitions field.
    void Vvesti(QLineEdit* pole, const QString& tekst) {
        pole->setFocus(Qt::OtherFocusReason);
        pole->setText(tekst);
        okno->mPeremennie->setFocus(Qt::TabFocusReason);
    }

  private slots:
    void initTestCase() { PodgotovitProcess(); }
    void init() {
        storog = std::make_unique<TStorog>(60);
        otvetchik = std::make_unique<TOtvetchik>();
        QVERIFY(OtkritGlavnoeOkno(okno));
        okno->activateWindow();
    }
    void cleanup() {
        okno.reset();
        otvetchik.reset();
        storog.reset();
    }

    void startovoeSostoyanie() {
        QCOMPARE(okno->windowTitle(), QStringLiteral("Цифрамер"));
        QVERIFY(okno->rbOsnovanie10->isChecked());
        QCOMPARE(Cifri(), QStringLiteral("0123456789"));
        QVERIFY(!okno->ebOsnovanie->isEnabled());
        QCOMPARE(okno->ebOsnovanie->text(), QStringLiteral("8"));
        QVERIFY(okno->rbGradusi->isChecked());
        QCOMPARE(int(AngleUnit), 1);
        QCOMPARE(okno->ebPeremennaya->text(), QStringLiteral("y"));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("0"));
        QCOMPARE(okno->ebKolichestvoRasryadov->text(), QStringLiteral("100"));
        QCOMPARE(okno->bnVichislit->text(), QStringLiteral("="));
        QVERIFY(!okno->miPromegutochnieRascheti->isChecked());
        QVERIFY(okno->frmSostoyanie == nullptr);
        QCOMPARE(okno->PoluchitOsnovanie(), 10);
        QCOMPARE(okno->PoluchitRazryadi(), 100);
        // Client area 680 by 398 below the menu bar, the buttons in place.
        QCOMPARE(okno->centralWidget()->size(), QSize(680, 398));
        QCOMPARE(okno->pnKnopki->geometry(), QRect(0, 180, 680, 218));
        QCOMPARE(Knopka("bnArktangens2")->geometry(), QRect(188, 184, 54, 25));
        QCOMPARE(Knopka("bnF")->geometry(), QRect(538, 56, 48, 25));
        QCOMPARE(okno->bnVichislit->geometry(), QRect(596, 56, 60, 153));
        QCOMPARE(okno->ebZnachenie->width(), okno->pnZnachenie->width());
        // Every caption fits its button in the keypad's font, which is the
        // desktop's font or, where that is too large, a smaller one.
        const QFontMetrics m(okno->pnKnopki->font());
        QVERIFY(okno->pnKnopki->font().pointSizeF() <= okno->font().pointSizeF());
        for (QPushButton* b : okno->pnKnopki->findChildren<QPushButton*>())
            QVERIFY2(m.horizontalAdvance(b->text()) < b->width(), qPrintable(b->text()));
    }

    // The settings groups: every field inside the area the style leaves
    // within the frame, and the keypad's font in all of them.
    void gruppiVmeshayutPolya() {
        for (QGroupBox* gb :
             {okno->gbSistemaIschisleniya, okno->gbEdiniciIzmereniyaUgla, okno->gbOkruglenie}) {
            QCOMPARE(gb->font(), okno->pnKnopki->font());
            for (QWidget* w : gb->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                QVERIFY2(gb->contentsRect().contains(w->geometry()), qPrintable(w->objectName()));
                QCOMPARE(w->font(), okno->pnKnopki->font());
            }
        }
    }

    // Every control of the client area that is shown lies whole inside the
    // visible part of the client area; the client area does not scroll.
    void VsyoVidno() {
        QVERIFY(!okno->sbKlient->horizontalScrollBar()->isVisible());
        QVERIFY(!okno->sbKlient->verticalScrollBar()->isVisible());
        const QRect vidno = okno->sbKlient->viewport()->rect();
        for (QWidget* w : okno->pnKlient->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(okno.get())) continue;
            const QRect r(w->mapTo(okno->sbKlient->viewport(), QPoint()), w->size());
            QVERIFY2(vidno.contains(r), qPrintable(w->objectName() + w->metaObject()->className()));
        }
    }

    // At the smallest size every control shows whole; grown, the
    // definitions field takes the height, both text fields the width, and
    // the buttons keep their size and their place at the bottom left.
    void razmeri() {
        QVERIFY(okno->minimumWidth() <= okno->width());
        okno->resize(okno->minimumSize());
        QTest::qWait(20);
        QCOMPARE(okno->size(), okno->minimumSize());
        QCOMPARE(okno->minimumWidth(), 664);
        VsyoVidno();
        QVERIFY(okno->mPeremennie->height() >= 2 * okno->mPeremennie->fontMetrics().height());

        okno->resize(680, okno->minimumHeight() + 60); // the default width back
        QTest::qWait(20);
        QPlainTextEdit* m = okno->mPeremennie;
        const QSize opredeleniya = m->size(), rezultat = okno->ebZnachenie->size();
        QList<QPushButton*> knopki = okno->pnKnopki->findChildren<QPushButton*>();
        auto mesta = [&] { // each button, from the window's bottom left
            QList<QRect> r;
            for (QPushButton* b : knopki)
                r << QRect(b->mapTo(okno.get(), QPoint(0, 0)) - QPoint(0, okno->height()),
                           b->size());
            return r;
        };
        const QList<QRect> bilo = mesta();
        okno->resize(okno->width() + 200, okno->height() + 150);
        QTest::qWait(20);
        QCOMPARE(m->size(), opredeleniya + QSize(200, 150));
        QCOMPARE(okno->ebZnachenie->size(), rezultat + QSize(200, 0));
        QCOMPARE(okno->ebZnachenie->width(), okno->pnZnachenie->width());
        QCOMPARE(mesta(), bilo);
        VsyoVidno();
    }

    // On any screen (the test also runs scaled 2 times, where the default
    // size does not fit): the window with its frame lies on the work area,
    // at the default size where that fits and at the largest size that fits
    // otherwise, and scrolling brings every control into sight.
    void razmerPoEkranu() {
        std::unique_ptr<TfrmMain> novoe;
        QVERIFY(OtkritGlavnoeOkno(novoe));
        QTest::qWait(400); // the fit by the real frame
        const QRect oblast = novoe->screen()->availableGeometry();
        const QRect ramka = novoe->frameGeometry();
        QVERIFY2(oblast.contains(ramka), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                        .arg(ramka.x())
                                                        .arg(ramka.y())
                                                        .arg(ramka.width())
                                                        .arg(ramka.height())));
        const QSize dobavka = ramka.size() - novoe->size();
        const QSize mesto = oblast.size() - dobavka;
        if (mesto.width() >= 680 + 2 && mesto.height() >= 460) {
            QCOMPARE(novoe->centralWidget()->size(), QSize(680, 398));
        } else {
            QVERIFY(novoe->width() >= std::min(mesto.width() - 2, okno->width()));
            QVERIFY(novoe->height() >= std::min(mesto.height() - 2, okno->height()));
        }
        QVERIFY(novoe->minimumWidth() <= novoe->width());
        QVERIFY(novoe->minimumHeight() <= novoe->height());
        const QRect vidno = novoe->sbKlient->viewport()->rect();
        for (QWidget* w : novoe->pnKnopki->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            novoe->sbKlient->ensureWidgetVisible(w, 0, 0);
            const QRect r(w->mapTo(novoe->sbKlient->viewport(), QPoint()), w->size());
            QVERIFY2(vidno.contains(r), qPrintable(w->objectName()));
        }
    }

    void centrVRabocheyOblasti() {
        std::unique_ptr<TfrmMain> novoe = std::make_unique<TfrmMain>(Dvigatel());
        const QRect oblast = novoe->screen()->availableGeometry();
        QCOMPARE(novoe->x(), (oblast.x() + oblast.width() - novoe->width()) / 2);
        QCOMPARE(novoe->y(), (oblast.y() + oblast.height() - novoe->height()) / 2);
    }

    void podskazkiIPoryadokTab() {
        QCOMPARE(Knopka("bnOkruglitDoMenshego")->toolTip(),
                 QStringLiteral("Ближайшее меньнее целое"));
        QCOMPARE(Knopka("bnKvadrat")->accessibleName(), QStringLiteral("Квадрат sqr"));
        QCOMPARE(Knopka("bnChislo")->toolTip(), QStringLiteral("Вставить результат"));
        QVERIFY(Knopka("bnChisloPI")->toolTip().isEmpty());
    }

    // The caret is in the definitions from the start; Tab walks a short
    // chain of visible controls (one stop per radio group, one for the
    // keypad, whose buttons the arrows walk) and comes back round.
    void fokus() {
        std::unique_ptr<TfrmMain> novoe = std::make_unique<TfrmMain>(Dvigatel());
        novoe->show();
        QVERIFY(QTest::qWaitForWindowActive(novoe.get()));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(novoe->mPeremennie));
        QTest::keyClicks(novoe->mPeremennie, QStringLiteral("y=1"));
        QCOMPARE(novoe->mPeremennie->toPlainText(), QStringLiteral("y=1"));
        TfrmMain* o = novoe.get();
        auto knopka = [o](const char* imya) {
            return o->findChild<QPushButton*>(QString::fromLatin1(imya));
        };
        const QList<QWidget*> cep = {o->ebPeremennaya,    o->ebZnachenie, o->bnVichislit,
                                     o->rbOsnovanie10,    o->rbGradusi,   o->ebKolichestvoRasryadov,
                                     knopka("bnKvadrat"), o->mPeremennie};
        for (QWidget* kuda : cep) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), kuda);
            QVERIFY(kuda->isVisible());
        }
        o->rbGradusi->setFocus(Qt::TabFocusReason);
        QTest::keyClick(o->rbGradusi, Qt::Key_Right);
        QVERIFY(o->rbRadiani->isChecked() && o->rbRadiani->hasFocus());
        QVERIFY(o->rbRadiani->focusPolicy() & Qt::TabFocus);
        QVERIFY(!(o->rbGradusi->focusPolicy() & Qt::TabFocus));
        QTest::keyClick(o->rbRadiani, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(o->ebKolichestvoRasryadov));
        o->mPeremennie->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(o->mPeremennie, Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(knopka("bnKvadrat")));
        QTest::keyClick(knopka("bnKvadrat"), Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(knopka("bnKoren")));
        QTest::keyClick(knopka("bnKoren"), Qt::Key_Down);
        QWidget* nizhe = QApplication::focusWidget();
        QVERIFY(nizhe->parent() == o->pnKnopki && nizhe->x() == knopka("bnKoren")->x() &&
                nizhe->y() > knopka("bnKoren")->y());
        // A click on "Другое:" puts the caret in its field.
        o->rbProizvolnoeOsnovanie->click();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(o->ebOsnovanie));
        // The digits field is announced by its label.
        QCOMPARE(o->lbKolichestvoRazryadov->buddy(),
                 static_cast<QWidget*>(o->ebKolichestvoRasryadov));
    }

    void vstavka_data() {
        QTest::addColumn<QString>("knopka");
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<int>("nachalo"); // selection start
        QTest::addColumn<int>("konec");   // selection end (= start: caret only)
        QTest::addColumn<QString>("rezultat");
        QTest::addColumn<int>("kursor");
        QTest::newRow("x^2 on x+1") << "bnKvadrat"
                                    << "y=x+1" << 2 << 5 << "y=sqr(x+1)" << 10;
        QTest::newRow("x^2 at caret") << "bnKvadrat"
                                      << "y=+1" << 2 << 2 << "y=sqr(x)+1" << 8;
        QTest::newRow("arctg(c,s) on t") << "bnArktangens2"
                                         << "t" << 0 << 1 << "arctg2(cos(t);sin(t))" << 21;
        QTest::newRow("arctg(c,s) at caret") << "bnArktangens2"
                                             << "" << 0 << 0 << "arctg2(cos(x);sin(x))" << 21;
        QTest::newRow("1/x on x+1") << "bnObratnoe"
                                    << "x+1" << 0 << 3 << "1/(x+1)" << 7;
        QTest::newRow("1/x at caret") << "bnObratnoe"
                                      << "2*" << 2 << 2 << "2*1/x" << 5;
        QTest::newRow("log(a,x) on 8") << "bnLogarifm"
                                       << "8" << 0 << 1 << "log(a;8)" << 8;
        QTest::newRow("INT- on a") << "bnOkruglitDoMenshego"
                                   << "a" << 0 << 1 << "int(a;-1)" << 9;
        QTest::newRow("INT at caret") << "bnOkruglitDoBligayshego"
                                      << "" << 0 << 0 << "int(x;0)" << 8;
        QTest::newRow("INT+ on a") << "bnOkruglitDoBolshego"
                                   << "a" << 0 << 1 << "int(a;1)" << 8;
        QTest::newRow("FRAC- on a") << "bnDrobnayaChast"
                                    << "a" << 0 << 1 << "frac(a)" << 7;
        QTest::newRow("n! on 5") << "bnFaktorial"
                                 << "5" << 0 << 1 << "fact(5)" << 7;
        QTest::newRow("a^x replaces") << "bnStepen"
                                      << "2zz3" << 1 << 3 << "2^3" << 2;
        QTest::newRow("mod") << "bnDeleniePoModulyu"
                             << "7" << 1 << 1 << "7%" << 2;
        QTest::newRow("shift") << "bnSdvig"
                               << "1" << 1 << 1 << "1<<" << 3;
        QTest::newRow("digit 7") << "bn7"
                                 << "1" << 0 << 0 << "71" << 1;
        QTest::newRow("separator") << "bnRazdelitel"
                                   << "1" << 1 << 1 << "1," << 2;
        QTest::newRow("exponent") << "bnPoryadok"
                                  << "1" << 1 << 1 << "1e" << 2;
        QTest::newRow("radix mark") << "bnOsnovanie"
                                    << "1" << 1 << 1 << "1r" << 2;
        QTest::newRow("two lines selected") << "bnSinus"
                                            << "a\nb" << 0 << 3 << "sin(a\nb)" << 8;
    }
    void vstavka() {
        QFETCH(QString, knopka);
        QFETCH(QString, tekst);
        QFETCH(int, nachalo);
        QFETCH(int, konec);
        QFETCH(QString, rezultat);
        QFETCH(int, kursor);
        okno->mPeremennie->setPlainText(tekst);
        QTextCursor k = okno->mPeremennie->textCursor();
        k.setPosition(nachalo);
        k.setPosition(konec, QTextCursor::KeepAnchor);
        okno->mPeremennie->setTextCursor(k);
        okno->ebPeremennaya->setFocus();
        QTest::mouseClick(Knopka(qPrintable(knopka)), Qt::LeftButton);
        QCOMPARE(okno->mPeremennie->toPlainText(), rezultat);
        QCOMPARE(okno->mPeremennie->textCursor().position(), kursor);
        QVERIFY(!okno->mPeremennie->textCursor().hasSelection());
        QVERIFY(okno->mPeremennie->hasFocus());
    }

    void cifriPoOsnovaniyu_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("cifri");
        QTest::addColumn<int>("osnovanie");
        QTest::newRow("16") << "rbOsnovanie16"
                            << "0123456789ABCDEF" << 16;
        QTest::newRow("3") << "rbOsnovanie3"
                           << "012" << 3;
        QTest::newRow("2") << "rbOsnovanie2"
                           << "01" << 2;
        QTest::newRow("custom 8") << "rbProizvolnoeOsnovanie"
                                  << "01234567" << 8;
    }
    void cifriPoOsnovaniyu() {
        QFETCH(QString, radio);
        QFETCH(QString, cifri);
        QFETCH(int, osnovanie);
        QTest::mouseClick(okno->findChild<QRadioButton*>(radio), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(Cifri(), cifri);
        QCOMPARE(okno->PoluchitOsnovanie(), osnovanie);
        QCOMPARE(okno->ebOsnovanie->isEnabled(), radio == QStringLiteral("rbProizvolnoeOsnovanie"));
        QVERIFY(otvetchik->zapisi.isEmpty());
    }

    void svoeOsnovanie_data() {
        QTest::addColumn<QString>("vvod");
        QTest::addColumn<QString>("pole");  // the field's text afterwards
        QTest::addColumn<int>("osnovanie"); // PoluchitOsnovanie afterwards
        QTest::addColumn<QString>("cifri");
        QTest::addColumn<QString>("soobshenie"); // empty: none
        QTest::newRow("two and a half") << "2,5"
                                        << "2" << 2 << "01"
                                        << "";
        QTest::newRow("three and a half") << "3,5"
                                          << "4" << 4 << "0123"
                                          << "";
        QTest::newRow("20") << "20"
                            << "20" << 20 << "0123456789ABCDEF"
                            << "";
        QTest::newRow("37") << "37"
                            << "8" << 8 << "01234567"
                            << "Основание системы исчисления не должно быть больше 36";
        QTest::newRow("-1 compared unsigned")
            << "-1"
            << "8" << 8 << "01234567"
            << "Основание системы исчисления не должно быть больше 36";
        QTest::newRow("1") << "1"
                           << "8" << 8 << "01234567"
                           << "Основание системы исчисления не должно быть меньше 2";
        QTest::newRow("not a number") << "abc"
                                      << "abc" << 8 << "01234567"
                                      << "Строка не содержит цифр между разделителями.";
    }
    void svoeOsnovanie() {
        QFETCH(QString, vvod);
        QFETCH(QString, pole);
        QFETCH(int, osnovanie);
        QFETCH(QString, cifri);
        QFETCH(QString, soobshenie);
        okno->rbProizvolnoeOsnovanie->setChecked(true);
        QCOMPARE(Cifri(), QStringLiteral("01234567"));
        Vvesti(okno->ebOsnovanie, vvod);
        QCOMPARE(okno->ebOsnovanie->text(), pole);
        QCOMPARE(okno->PoluchitOsnovanie(), osnovanie);
        QCOMPARE(Cifri(), cifri);
        if (soobshenie.isEmpty()) {
            QVERIFY(otvetchik->zapisi.isEmpty());
        } else {
            QCOMPARE(otvetchik->Teksti(), QStringList{soobshenie});
            const TOtvetchik::Okno& o = otvetchik->zapisi.first();
            QCOMPARE(o.zagolovok, QStringLiteral("Ошибка"));
            QCOMPARE(o.ikonka, QMessageBox::Critical);
            QCOMPARE(o.vladelec.data(), static_cast<QWidget*>(okno.get()));
            QCOMPARE(o.modalnost, Qt::ApplicationModal); // shown on the main thread
        }
    }

    // A radix button chosen without taking the focus (a style or an
    // accessibility tool may do so) while the custom radix field has it: the
    // field, disabled, gives up the focus, and the choice stands.
    void osnovanieBezFokusa() {
        okno->rbProizvolnoeOsnovanie->setChecked(true);
        okno->ebOsnovanie->setFocus(Qt::OtherFocusReason);
        QVERIFY(okno->ebOsnovanie->hasFocus());
        okno->rbOsnovanie16->setChecked(true);
        QVERIFY(okno->rbOsnovanie16->isChecked());
        QCOMPARE(okno->PoluchitOsnovanie(), 16);
        QCOMPARE(Cifri(), QStringLiteral("0123456789ABCDEF"));
        QVERIFY(otvetchik->zapisi.isEmpty());
    }

    void razryadi_data() {
        QTest::addColumn<QString>("vvod");
        QTest::addColumn<QString>("pole");
        QTest::addColumn<int>("razryadov");
        QTest::addColumn<QString>("soobshenie");
        QTest::newRow("250") << "250"
                             << "100" << 100 << "";
        QTest::newRow("-5") << "-5"
                            << "0" << 0 << "";
        QTest::newRow("12,5 to even") << "12,5"
                                      << "12" << 12 << "";
        QTest::newRow("not a number")
            << "abc"
            << "100" << 100 << "Строка не содержит цифр между разделителями.";
    }
    void razryadi() {
        QFETCH(QString, vvod);
        QFETCH(QString, pole);
        QFETCH(int, razryadov);
        QFETCH(QString, soobshenie);
        Vvesti(okno->ebKolichestvoRasryadov, vvod);
        QCOMPARE(okno->ebKolichestvoRasryadov->text(), pole);
        QCOMPARE(okno->PoluchitRazryadi(), razryadov);
        QCOMPARE(otvetchik->Teksti(),
                 soobshenie.isEmpty() ? QStringList() : QStringList{soobshenie});
    }

    void razryadiPomnyatPosledneePrinyatoe() {
        Vvesti(okno->ebKolichestvoRasryadov, QStringLiteral("7"));
        Vvesti(okno->ebKolichestvoRasryadov, QStringLiteral("x"));
        QCOMPARE(okno->ebKolichestvoRasryadov->text(), QStringLiteral("7"));
    }

    // The number buttons insert their number as a run shows a result: the
    // digit count of the field, e and pi in the selected radix, the result
    // field's number in its own radix.
    void chisla_data() {
        QTest::addColumn<QString>("knopka");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("razryadov");
        QTest::addColumn<QString>("rezultat"); // text of the result field
        QTest::addColumn<QString>("vstavleno");
        QTest::newRow("e, 5 digits") << "bnChisloE"
                                     << "rbOsnovanie10"
                                     << "5"
                                     << "0"
                                     << "2,71828";
        QTest::newRow("pi in radix 16, 3 digits") << "bnChisloPI"
                                                  << "rbOsnovanie16"
                                                  << "3"
                                                  << "0"
                                                  << "3,244r16";
        QTest::newRow("x=y rounded to 4 digits") << "bnChislo"
                                                 << "rbOsnovanie10"
                                                 << "4"
                                                 << "0,123456789"
                                                 << "0,1235";
        QTest::newRow("x=y keeps the result's radix") << "bnChislo"
                                                      << "rbOsnovanie2"
                                                      << "2"
                                                      << "A,8r16"
                                                      << "A,8r16";
    }
    void chisla() {
        QFETCH(QString, knopka);
        QFETCH(QString, radio);
        QFETCH(QString, razryadov);
        QFETCH(QString, rezultat);
        QFETCH(QString, vstavleno);
        okno->findChild<QRadioButton*>(radio)->setChecked(true);
        okno->ebKolichestvoRasryadov->setText(razryadov);
        okno->ebZnachenie->setText(rezultat);
        okno->mPeremennie->setPlainText(QStringLiteral("y = "));
        okno->mPeremennie->moveCursor(QTextCursor::End);
        QTest::mouseClick(Knopka(qPrintable(knopka)), Qt::LeftButton);
        QCOMPARE(okno->mPeremennie->toPlainText(), QStringLiteral("y = ") + vstavleno);
        QVERIFY(okno->mPeremennie->hasFocus());
        QVERIFY(otvetchik->zapisi.isEmpty());
    }

    void ugli() {
        QTest::mouseClick(okno->rbRadiani, Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(int(AngleUnit), 0);
        QTest::mouseClick(okno->rbGradi, Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(int(AngleUnit), 2);
        QTest::mouseClick(okno->rbGradusi, Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(int(AngleUnit), 1);
    }

    // The colouring of the definitions, one code per character: N the name,
    // 9 a literal, F a function name, o an operator, b a bracket, ! a bracket
    // without partner, # a literal not valid in the radix (10 here), ? a name
    // before "(" that is no function, . none. It follows the evaluator's
    // reading: "2e" is a name, "A1" a literal, "2sin(" a literal and a call.
    void podsvetka_data() {
        QTest::addColumn<QString>("stroka");
        QTest::addColumn<QString>("vidi");
        QTest::newRow("literal with marks") << "y = sin(2,5e-3r10)+x)"
                                            << "N.o.FFFb999999999bo.!";
        QTest::newRow("digits, functions, separator") << "a = 2x*fact(3;A1)"
                                                      << "N.o.9.oFFFFb9o##b";
        QTest::newRow("no '=', open bracket, incomplete literal") << "(1+2e"
                                                                  << "!9o..";
        QTest::newRow("only the sixteen, only before '('") << "z = 2sin(x)+foo(1)+sin = 1"
                                                           << "N.o.9FFFb.bo???b9bo......9";
    }
    void podsvetka() {
        QFETCH(QString, stroka);
        QFETCH(QString, vidi);
        auto* p = okno->mPeremennie->document()->findChild<TPodsvetka*>();
        QVERIFY(p != nullptr);
        okno->mPeremennie->setPlainText(QStringLiteral("x = 1\n") + stroka);
        const QTextBlock blok = okno->mPeremennie->document()->findBlockByNumber(1);
        const QString kodi = QStringLiteral("N9Fob!#?");
        QString est(stroka.size(), QLatin1Char('.'));
        for (const QTextLayout::FormatRange& r : blok.layout()->formats())
            for (int v = 0; v < TPodsvetka::VIDOV; ++v)
                if (r.format == p->Format(TPodsvetka::Vid(v)))
                    for (int i = r.start; i < r.start + r.length; ++i) est[i] = kodi[v];
        QCOMPARE(est, vidi);
        QCOMPARE(okno->mPeremennie->toPlainText(), QStringLiteral("x = 1\n") + stroka);
        // On a dark base the colours turn light, and back.
        QPalette temnaya = okno->mPeremennie->palette();
        temnaya.setColor(QPalette::Base, QColor(30, 30, 30));
        okno->mPeremennie->setPalette(temnaya);
        QVERIFY(p->Format(TPodsvetka::CHISLO).foreground().color().lightness() > 128);
        okno->mPeremennie->setPalette(QPalette());
        QVERIFY(p->Format(TPodsvetka::CHISLO).foreground().color().lightness() < 128);
    }

    // A literal is checked against the radix selected now, and checked again
    // when the radix changes; a name before "(" is checked against the
    // functions.
    void podsvetkaPoOsnovaniyu() {
        auto* p = okno->mPeremennie->document()->findChild<TPodsvetka*>();
        okno->mPeremennie->setPlainText(QStringLiteral("y = 9A+sinh(1)"));
        const QTextBlock blok = okno->mPeremennie->document()->firstBlock();
        auto format = [&](int mesto) {
            for (const QTextLayout::FormatRange& r : blok.layout()->formats())
                if (mesto >= r.start && mesto < r.start + r.length) return r.format;
            return QTextCharFormat();
        };
        QCOMPARE(format(4), p->Format(TPodsvetka::NEVERNOE_CHISLO));
        QCOMPARE(format(5).underlineStyle(), QTextCharFormat::WaveUnderline);
        QCOMPARE(format(7), p->Format(TPodsvetka::NET_FUNKCII));
        QCOMPARE(format(10).underlineStyle(), QTextCharFormat::WaveUnderline);
        okno->rbOsnovanie16->setChecked(true);
        QCOMPARE(format(4), p->Format(TPodsvetka::CHISLO));
        QCOMPARE(format(5).underlineStyle(), QTextCharFormat::NoUnderline);
        QCOMPARE(format(7), p->Format(TPodsvetka::NET_FUNKCII));
        okno->rbOsnovanie10->setChecked(true);
        QCOMPARE(format(4), p->Format(TPodsvetka::NEVERNOE_CHISLO));
        QCOMPARE(okno->mPeremennie->toPlainText(), QStringLiteral("y = 9A+sinh(1)"));
    }

    // The log of the progress window, written the way the evaluator does.
    void zhurnal() {
        TfrmSostoyanie s(okno.get());
        s.Dobavit(QStringLiteral("\r\n2+3 = "));
        s.Dobavit(QStringLiteral("5"));
        s.Dobavit(QStringLiteral("\r\nsin(6) = "));
        QCOMPARE(s.mSostoyanie->toPlainText(), QStringLiteral("2+3 = 5\nsin(6) = "));
        // A click into the log moves the insertion point.
        QTextCursor k = s.mSostoyanie->textCursor();
        k.setPosition(0);
        s.mSostoyanie->setTextCursor(k);
        s.Dobavit(QStringLiteral(">"));
        QCOMPARE(s.mSostoyanie->toPlainText(), QStringLiteral(">2+3 = 5\nsin(6) = "));
        QVERIFY(s.mSostoyanie->isReadOnly());
        QCOMPARE(s.windowTitle(), QStringLiteral("Процесс вычислений"));
        const QRect oblast = s.screen()->availableGeometry();
        QCOMPARE(s.Tag, (oblast.y() + oblast.height() - s.height()) / 2);
    }

    // The progress window belongs to the main window (a tool window: kept
    // above it, minimised with it) and comes on screen without taking the
    // keyboard: what the user types goes on into the definitions.
    void oknoSostoyaniyaBezFokusa() {
        QTest::keyClicks(okno->mPeremennie, QStringLiteral("y = 1"));
        QVERIFY(QTest::qWaitForWindowActive(okno.get()));
        okno->miPromegutochnieRascheti->setChecked(true);
        okno->ZamenitOknoSostoyaniya(); // as "=" does, the log shown at once
        TfrmSostoyanie* s = okno->frmSostoyanie;
        QVERIFY(s->isVisible());
        QCOMPARE(s->parentWidget(), okno.get());
        QCOMPARE(s->windowType(), Qt::Tool);
        QVERIFY(s->testAttribute(Qt::WA_ShowWithoutActivating));
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), okno.get());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("+2"));
        QCOMPARE(okno->mPeremennie->toPlainText(), QStringLiteral("y = 1+2"));
        QVERIFY(s->mSostoyanie->toPlainText().isEmpty());
        // Shown again later (the timer's way), it still leaves the focus.
        s->hide();
        s->PokazatNaEkrane();
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), okno.get());
    }

    // Texts handed over together still obey the rule of the first line one
    // by one: while the log is empty, each loses its leading line break.
    void zhurnalPervayaStrokaIzNeskolkihTekstov() {
        okno->ZamenitOknoSostoyaniya();
        for (const char* t : {"\r\n", "\r\n2+3 = ", "5;", "\r\nsin(6) = "})
            okno->DobavitVZhurnal(t);
        QCoreApplication::processEvents();
        QCOMPARE(okno->frmSostoyanie->mSostoyanie->toPlainText(),
                 QStringLiteral("2+3 = 5;\nsin(6) = "));
    }

    // Texts written from another thread while the progress window is
    // replaced: each window gets only texts written after it was created,
    // in order, and a text written with no window is dropped.
    void zhurnalIzDrugogoPotoka() {
        DobavitSostoyanie(TAnsiString("\r\nnone"));
        QCoreApplication::processEvents();
        QVERIFY(okno->frmSostoyanie == nullptr);

        std::atomic<int> nomer{0};
        std::atomic<bool> stop{false};
        std::thread pisatel([&] {
            while (!stop) {
                const int n = nomer++;
                DobavitSostoyanie(TAnsiString(("\r\n" + std::to_string(n)).c_str()));
                // Paced, so that the log the window takes stays some ten
                // thousand lines however fast the machine: unpaced, it ran
                // to millions and the test's time to a minute.
                if (n % 16 == 0) std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
        });
        for (int i = 0; i < 5; ++i) {
            QTest::qWait(30);
            okno->ZamenitOknoSostoyaniya();
        }
        const int nachalo = nomer;
        QTest::qWait(50);
        stop = true;
        pisatel.join();
        QTest::qWait(50);
        const QStringList stroki = okno->frmSostoyanie->mSostoyanie->toPlainText().split('\n');
        QVERIFY(stroki.size() > 1);
        for (int i = 1; i < stroki.size(); ++i)
            QCOMPARE(stroki[i].toInt(), stroki[i - 1].toInt() + 1);
        QVERIFY(stroki.last().toInt() == nomer - 1);
        QVERIFY(stroki.first().toInt() <= nachalo);
    }
};

QTEST_MAIN(TestOkno)
#include "test_okno.moc"
