// Calculation runs through the main window: from "=" to the result field,
// the error messages of a run, "Стоп" with both answers, the progress window,
// closing during a run, a box open during a run, "pi" during a run.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <memory>

#include "number/vm_kesh.h"
#include "pomoshnik.h"
#include "ui/tfrmmain.h"
#include "ui/tfrmsostoyanie.h"

namespace {
// A run that takes far longer than any test: it ends only when stopped.
const QString DLINNIY = QStringLiteral("y = fact(100000000)");
const QString NE_UDAETSYA = QStringLiteral("Не удаётся вычислить значение переменной y");
} // namespace

class TestZapusk : public QObject {
    Q_OBJECT

    std::unique_ptr<TStorog> storog;
    std::unique_ptr<TOtvetchik> otvetchik;
    std::unique_ptr<TfrmMain> okno;

    void Zapustit(const QString& opredeleniya) {
        okno->mPeremennie->setPlainText(opredeleniya);
        QTest::mouseClick(okno->bnVichislit, Qt::LeftButton);
    }
    bool DozhdatsyaKonca(int ms) {
        return QTest::qWaitFor([this] { return !okno->IdetVichislenie(); }, ms);
    }
    QString Zhurnal() const { return okno->frmSostoyanie->mSostoyanie->toPlainText(); }

  private slots:
    void initTestCase() { PodgotovitProcess(); }
    void init() {
        storog = std::make_unique<TStorog>(90);
        otvetchik = std::make_unique<TOtvetchik>();
        QVERIFY(OtkritGlavnoeOkno(okno));
    }
    void cleanup() {
        otvetchik->avto = true; // a failed test may have left a box open
        okno.reset();
        QVERIFY(TOtvetchik::Vidimoe() == nullptr);
        otvetchik.reset();
        storog.reset();
    }

    void celiyZapusk_data() {
        QTest::addColumn<QString>("opredeleniya");
        QTest::addColumn<QString>("imya");
        QTest::addColumn<QString>("osnovanie"); // radio button
        QTest::addColumn<QString>("razryadov");
        QTest::addColumn<QString>("rezultat");
        QTest::newRow("x*3") << "x = 2\ny = x*3"
                             << "y"
                             << "rbOsnovanie10"
                             << "100"
                             << "6";
        QTest::newRow("name with blanks") << "x = 2\ny = x*3"
                                          << "  y "
                                          << "rbOsnovanie10"
                                          << "100"
                                          << "6";
        QTest::newRow("1/3 to 5 digits") << "y = 1/3"
                                         << "y"
                                         << "rbOsnovanie10"
                                         << "5"
                                         << "0,33333";
        QTest::newRow("radix 16") << "y = F+1"
                                  << "y"
                                  << "rbOsnovanie16"
                                  << "100"
                                  << "10r16";
        QTest::newRow("first of two") << "y = 1\ny = 2"
                                      << "y"
                                      << "rbOsnovanie10"
                                      << "100"
                                      << "1";
        QTest::newRow("line without =") << "5+3"
                                        << "y"
                                        << "rbOsnovanie10"
                                        << "100"
                                        << "8";
        QTest::newRow("other target") << "a = 7\nb = a+a"
                                      << "b"
                                      << "rbOsnovanie10"
                                      << "100"
                                      << "14";
        // Wider than the field: 123456789/7 = 17636684,(142857) repeating;
        // a value text keeps 100 mantissa characters, so 91 fraction digits.
        QTest::newRow("long result") << "y = 123456789/7"
                                     << "y"
                                     << "rbOsnovanie10"
                                     << "100"
                                     << "17636684," + QString("142857").repeated(15) + "1";
        QTest::newRow("long result in radix 2") << "y = 1/11"
                                                << "y"
                                                << "rbOsnovanie2"
                                                << "100"
                                                << "0," + QString("01").repeated(50) + "r2";
    }
    void celiyZapusk() {
        QFETCH(QString, opredeleniya);
        QFETCH(QString, imya);
        QFETCH(QString, osnovanie);
        QFETCH(QString, razryadov);
        QFETCH(QString, rezultat);
        okno->findChild<QRadioButton*>(osnovanie)->setChecked(true);
        okno->ebKolichestvoRasryadov->setText(razryadov);
        okno->ebPeremennaya->setText(imya);
        Zapustit(opredeleniya);
        QCOMPARE(okno->bnVichislit->text(), QStringLiteral("Стоп"));
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), rezultat);
        // Shown from its first digit: the caret at the start, drawn at the
        // field's left edge (a field scrolled to the end would draw it left
        // of the visible text).
        QCOMPARE(okno->ebZnachenie->cursorPosition(), 0);
        QVERIFY(!okno->ebZnachenie->hasSelectedText());
        const int kursorX =
            okno->ebZnachenie->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        QVERIFY2(kursorX >= 0 && kursorX < 8, qPrintable(QString::number(kursorX)));
        QCOMPARE(okno->bnVichislit->text(), QStringLiteral("="));
        QCOMPARE(otvetchik->Teksti(), QStringList());
        // Quick, so the progress window never came on screen; it holds the log.
        QVERIFY(okno->frmSostoyanie != nullptr);
        QVERIFY(!okno->frmSostoyanie->isVisible());
        QVERIFY(!Zhurnal().isEmpty());
        QVERIFY(!Zhurnal().startsWith(QLatin1Char('\n')));
    }

    void klavishi() {
        okno->mPeremennie->setPlainText(QStringLiteral("y = 2+2"));
        okno->activateWindow();
        okno->mPeremennie->setFocus();
        QTest::keyClick(okno->mPeremennie, Qt::Key_F9);
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("4"));
        okno->mPeremennie->setPlainText(QStringLiteral("y = 2+3"));
        QTest::keyClick(okno->mPeremennie, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("5"));
        QCOMPARE(okno->mPeremennie->toPlainText(), QStringLiteral("y = 2+3"));
    }

    // A failed run: its boxes, the text selected afterwards (the offending
    // part of the definition that failed first, or its whole line where the
    // run does not tell the part; none when no definition failed) and the
    // reason the history gives for it.
    void oshibki_data() {
        QTest::addColumn<QString>("opredeleniya");
        QTest::addColumn<QString>("imya");
        QTest::addColumn<QStringList>("soobsheniya");
        QTest::addColumn<QString>("stroka");
        QTest::addColumn<QString>("prichina");
        const QString NE_NAYTI_Q = QStringLiteral("Не удаётся найти переменную q");
        QTest::newRow("undefined reference")
            << "y = q+1"
            << "y" << QStringList{NE_NAYTI_Q, NE_UDAETSYA} << "q" << NE_NAYTI_Q;
        QTest::newRow("empty target name")
            << "y = 1"
            << "   " << QStringList{QStringLiteral("Неправильное имя вычисляемой переменной")} << ""
            << "Неправильное имя вычисляемой переменной";
        QTest::newRow("target not defined")
            << "y = 1"
            << "z" << QStringList{QStringLiteral("Не задана переменная z")} << ""
            << "Не задана переменная z";
        QTest::newRow("cycle") << "y = x\nx = y"
                               << "y"
                               << QStringList{QStringLiteral("Обнаружена циклическая связь"),
                                              NE_UDAETSYA}
                               << "x = y"
                               << "Обнаружена циклическая связь";
        const QString ARGUMENTI =
            QStringLiteral("Неправильное количество аргументов функции sin - 2");
        QTest::newRow("innermost of several, after a refused line")
            << "\ny = a+1\nb = 2\na = b*c\nc = sin(1;2)\nd = 4"
            << "y"
            << QStringList{QStringLiteral("Неправильное значение переменной"), ARGUMENTI,
                           NE_UDAETSYA}
            << "sin(1;2)" << ARGUMENTI;
        QTest::newRow("syntax error, no box of its own")
            << "x = 1\ny = x+"
            << "y" << QStringList{NE_UDAETSYA} << "y = x+" << NE_UDAETSYA + ": ошибка вычислений";
    }
    void oshibki() {
        QFETCH(QString, opredeleniya);
        QFETCH(QString, imya);
        QFETCH(QStringList, soobsheniya);
        QFETCH(QString, stroka);
        QFETCH(QString, prichina);
        okno->ebZnachenie->setText(QStringLiteral("17"));
        okno->ebPeremennaya->setText(imya);
        Zapustit(opredeleniya);
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(otvetchik->Teksti(), soobsheniya);
        for (const TOtvetchik::Okno& o : otvetchik->zapisi) {
            QCOMPARE(o.zagolovok, QStringLiteral("Ошибка"));
            QCOMPARE(o.ikonka, QMessageBox::Critical);
            // Owned by the main window, so that no other window of the
            // program can cover it; not modal, so the window stays usable.
            QCOMPARE(o.vladelec.data(), static_cast<QWidget*>(okno.get()));
            QCOMPARE(o.modalnost, Qt::NonModal);
        }
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("17"));
        QCOMPARE(okno->bnVichislit->text(), QStringLiteral("="));
        QCOMPARE(okno->mPeremennie->textCursor().selectedText(), stroka);
        if (!stroka.isEmpty()) {
            // A result chosen in the history goes in after the marked text,
            // not over it.
            okno->frmIstoriya->priVybore(QStringLiteral("7"));
            QVERIFY2(okno->mPeremennie->toPlainText().contains(stroka + QStringLiteral("7")),
                     qPrintable(okno->mPeremennie->toPlainText()));
        }
        QCOMPARE(okno->frmIstoriya->spIstoriya->topLevelItemCount(), 1);
        QCOMPARE(okno->frmIstoriya->spIstoriya->topLevelItem(0)->text(4), prichina);
    }

    // Warnings come without a box: the line under the result (the first, and
    // how many more, all in its tooltip), a wavy underline under each span
    // in the definitions with the warning as its tooltip, a count in the
    // history. An edit ends the underlines, the next run the line.
    void preduprezhdeniya() {
        const QString PERVOE = QStringLiteral("«9A» — не число в системе счисления 10, взято 0");
        const QString VTOROE = QStringLiteral("«1B» — не число в системе счисления 10, взято 0");
        Zapustit(QStringLiteral("x = 2\ny = 9A+1B*x"));
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("0"));
        QCOMPARE(otvetchik->Teksti(), QStringList());
        QCOMPARE(okno->lbPreduprezhdenie->text(),
                 QStringLiteral("Строка 2: ") + PERVOE + QStringLiteral(" (ещё 1)"));
        QCOMPARE(okno->lbPreduprezhdenie->toolTip(),
                 QStringLiteral("Строка 2: ") + PERVOE + QStringLiteral("\nСтрока 2: ") + VTOROE);
        QVERIFY(okno->lbPreduprezhdenie->isVisible());

        const QList<QTextEdit::ExtraSelection> v = okno->mPeremennie->extraSelections();
        QCOMPARE(v.size(), 2);
        QCOMPARE(v[0].cursor.selectedText(), QStringLiteral("9A"));
        QCOMPARE(v[0].cursor.selectionStart(), 10); // "x = 2\ny = " before it
        QCOMPARE(v[1].cursor.selectedText(), QStringLiteral("1B"));
        for (const QTextEdit::ExtraSelection& e : v)
            QCOMPARE(e.format.underlineStyle(), QTextCharFormat::WaveUnderline);

        // The mouse over "1B" shows its warning; beyond the line, none.
        QWidget* pole = okno->mPeremennie->viewport();
        QTextCursor k(okno->mPeremennie->document());
        k.setPosition(v[1].cursor.selectionStart() + 1);
        const QPoint naSlove = okno->mPeremennie->cursorRect(k).center();
        QHelpEvent nad(QEvent::ToolTip, naSlove, pole->mapToGlobal(naSlove));
        QCoreApplication::sendEvent(pole, &nad);
        QCOMPARE(QToolTip::text(), VTOROE);
        const QPoint mimo(pole->width() - 5, naSlove.y());
        QHelpEvent ryadom(QEvent::ToolTip, mimo, pole->mapToGlobal(mimo));
        QCoreApplication::sendEvent(pole, &ryadom);
        QTRY_VERIFY(!QToolTip::isVisible());

        QTreeWidgetItem* zapis = okno->frmIstoriya->spIstoriya->topLevelItem(0);
        QCOMPARE(zapis->text(6), QStringLiteral("2"));
        QCOMPARE(zapis->toolTip(6), okno->lbPreduprezhdenie->toolTip());

        okno->mPeremennie->moveCursor(QTextCursor::End);
        okno->mPeremennie->insertPlainText(QStringLiteral("+1"));
        QVERIFY(okno->mPeremennie->extraSelections().isEmpty());
        QVERIFY(!okno->lbPreduprezhdenie->text().isEmpty()); // until the next run
        Zapustit(QStringLiteral("y = 1"));
        QVERIFY(DozhdatsyaKonca(20000));
        QVERIFY(okno->lbPreduprezhdenie->text().isEmpty());
        QVERIFY(okno->lbPreduprezhdenie->toolTip().isEmpty());
        QCOMPARE(okno->frmIstoriya->spIstoriya->topLevelItem(0)->text(6), QString());
    }

    void stopDa() {
        Zapustit(DLINNIY);
        QTest::qWait(300);
        QVERIFY(okno->IdetVichislenie());
        otvetchik->otvet = QMessageBox::Yes;
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(okno->bnVichislit, Qt::LeftButton);
        QVERIFY(DozhdatsyaKonca(5000));
        QVERIFY2(t.elapsed() < 1500, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(okno->bnVichislit->text(), QStringLiteral("="));
        QVERIFY(otvetchik->Teksti().size() >= 2);
        const TOtvetchik::Okno& vopros = otvetchik->zapisi.first();
        QCOMPARE(vopros.zagolovok, QStringLiteral("Вопрос"));
        QCOMPARE(vopros.tekst, QStringLiteral("Вычисления производятся. Остановить?"));
        QCOMPARE(vopros.ikonka, QMessageBox::Question);
        QCOMPARE(vopros.vladelec.data(), static_cast<QWidget*>(okno.get()));
        QCOMPARE(QSet<QString>(vopros.knopki.begin(), vopros.knopki.end()),
                 QSet<QString>({QStringLiteral("Да"), QStringLiteral("Нет")}));
        QCOMPARE(otvetchik->zapisi.last().knopki, QStringList{QStringLiteral("OK")});
        QCOMPARE(otvetchik->Teksti().last(), NE_UDAETSYA);
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("0"));
        // The thread's own message arrives after the stop and changes nothing.
        QTest::qWait(50);
        QVERIFY(!okno->IdetVichislenie());
        // The stop request of the finished run does not cut "pi" short.
        OchistitKesh();
        okno->rbOsnovanie2->setChecked(true);
        okno->mPeremennie->clear();
        QTest::mouseClick(okno->findChild<QPushButton*>(QStringLiteral("bnChisloPI")),
                          Qt::LeftButton);
        QVERIFY(
            okno->mPeremennie->toPlainText().startsWith(QStringLiteral("11,00100100001111110110")));
    }

    // A run started right after a stop, before the stopped thread's own
    // message has been delivered, is not ended by that message.
    void zapuskSrazuPosleStopa() {
        Zapustit(DLINNIY);
        QTest::qWait(200);
        otvetchik->otvet = QMessageBox::Yes;
        okno->bnVichislit->click();
        QVERIFY(!okno->IdetVichislenie());
        okno->bnVichislit->click();
        QVERIFY(okno->IdetVichislenie());
        QTest::qWait(200);
        QVERIFY(okno->IdetVichislenie());
        QCOMPARE(otvetchik->Teksti().count(NE_UDAETSYA), 1); // the first run's only
        okno->bnVichislit->click();
        QVERIFY(DozhdatsyaKonca(5000));
    }

    // Assistive tools read the "="/"Стоп" button by its caption of the moment.
    void imyaKnopkiVichislit() {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(okno->bnVichislit);
        QVERIFY(a != nullptr);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("="));
        Zapustit(DLINNIY);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Стоп"));
        otvetchik->otvet = QMessageBox::Yes;
        okno->bnVichislit->click();
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("="));
    }

    void stopEsc() {
        Zapustit(DLINNIY);
        QTest::qWait(200);
        otvetchik->otvet = QMessageBox::Yes;
        okno->activateWindow();
        QTest::keyClick(okno->mPeremennie, Qt::Key_Escape);
        QVERIFY(DozhdatsyaKonca(5000));
        QCOMPARE(otvetchik->zapisi.first().zagolovok, QStringLiteral("Вопрос"));
    }

    // "Стоп" answered No while the run waits on an error box: the run goes
    // on with a fresh, empty progress window and shows its result.
    void stopNet() {
        otvetchik->avto = false;
        Zapustit(QStringLiteral("\ny = 2+3"));
        QVERIFY(QTest::qWaitFor([] { return TOtvetchik::Vidimoe() != nullptr; }, 10000));
        QMessageBox* oshibka = TOtvetchik::Vidimoe();
        QCOMPARE(oshibka->text(), QStringLiteral("Неправильное значение переменной"));
        const QPointer<TfrmSostoyanie> staroe = okno->frmSostoyanie;
        const int zapusk = okno->NomerZapuska();
        QTimer::singleShot(100, this, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* b = qobject_cast<QMessageBox*>(w);
                    b && b->isVisible() && b->icon() == QMessageBox::Question)
                    TOtvetchik::Otvetit(b, QMessageBox::No);
        });
        okno->bnVichislit->click();
        QCOMPARE(okno->NomerZapuska(), zapusk);
        QVERIFY(okno->IdetVichislenie());
        QVERIFY(staroe.isNull() && okno->frmSostoyanie != nullptr);
        QVERIFY(okno->frmSostoyanie->mSostoyanie->toPlainText().isEmpty());
        QVERIFY(okno->tmrPokazatOperacii->isActive());
        QCOMPARE(okno->bnVichislit->text(), QStringLiteral("Стоп"));
        TOtvetchik::Otvetit(oshibka, QMessageBox::Ok);
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("5"));
        QVERIFY(!Zhurnal().isEmpty());
    }

    // The history lists every finished run, newest first, with the settings
    // the run used, its result (or why there is none) and its duration. A
    // chosen row puts its result at the caret of the definitions; Ctrl+C
    // copies it.
    void istoriya() {
        QTreeWidget* sp = okno->frmIstoriya->spIstoriya;
        QVERIFY(!okno->frmIstoriya->isVisible());
        okno->miIstoriya->trigger();
        QVERIFY(okno->frmIstoriya->isVisible());
        QVERIFY(!okno->frmIstoriya->isModal());
        okno->rbOsnovanie16->setChecked(true);
        okno->rbRadiani->setChecked(true);
        okno->ebKolichestvoRasryadov->setText(QStringLiteral("3"));
        Zapustit(QStringLiteral("y = F+1"));
        QVERIFY(DozhdatsyaKonca(20000));
        okno->rbOsnovanie10->setChecked(true);
        okno->rbGradusi->setChecked(true);
        okno->ebKolichestvoRasryadov->setText(QStringLiteral("5"));
        okno->ebPeremennaya->setText(QStringLiteral(" t "));
        Zapustit(QStringLiteral("t = 1/3"));
        QVERIFY(DozhdatsyaKonca(20000));
        okno->ebPeremennaya->setText(QStringLiteral("y"));
        Zapustit(DLINNIY);
        QTest::qWait(300);
        otvetchik->otvet = QMessageBox::Yes;
        okno->bnVichislit->click();
        QVERIFY(DozhdatsyaKonca(5000));
        // A stopped run selects no line: nothing failed there.
        QVERIFY(!okno->mPeremennie->textCursor().hasSelection());

        auto stroka = [sp](int i) {
            QStringList s;
            for (int c = 0; c < 5; ++c) s << sp->topLevelItem(i)->text(c);
            return s;
        };
        QCOMPARE(sp->topLevelItemCount(), 3);
        QCOMPARE(sp->currentItem(), sp->topLevelItem(0)); // the newest, none chosen
        QCOMPARE(okno->frmIstoriya->font(), okno->font());
        QCOMPARE(stroka(0),
                 (QStringList{"y", "10", "Градусы", "5", NE_UDAETSYA + ": отмена вычислений"}));
        QCOMPARE(stroka(1), (QStringList{"t", "10", "Градусы", "5", "0,33333"}));
        QCOMPARE(stroka(2), (QStringList{"y", "16", "Радианы", "3", "10r16"}));
        const QRegularExpression sekundi(QStringLiteral("^(\\d+),(\\d\\d) с$"));
        for (int i = 0; i < 3; ++i)
            QVERIFY2(sekundi.match(sp->topLevelItem(i)->text(5)).hasMatch(),
                     qPrintable(sp->topLevelItem(i)->text(5)));
        const QStringList stop = sekundi.match(sp->topLevelItem(0)->text(5)).capturedTexts();
        QVERIFY(stop[1].toInt() * 100 + stop[2].toInt() >= 30); // it ran 300 ms at least

        okno->mPeremennie->setPlainText(QStringLiteral("a = "));
        okno->mPeremennie->moveCursor(QTextCursor::End);
        sp->setCurrentItem(sp->topLevelItem(2));
        QTest::keyClick(sp, Qt::Key_Return);
        okno->mPeremennie->insertPlainText(QStringLiteral("+"));
        QTreeWidgetItem* tret = sp->topLevelItem(1);
        const QPoint mesto = sp->visualItemRect(tret).center();
        QTest::mouseClick(sp->viewport(), Qt::LeftButton, {}, mesto);
        QTest::mouseDClick(sp->viewport(), Qt::LeftButton, {}, mesto);
        QCOMPARE(sp->currentItem(), tret);
        QCOMPARE(okno->mPeremennie->toPlainText(), QStringLiteral("a = 10r16+0,33333"));
        QCOMPARE(okno->mPeremennie->textCursor().position(), 17);
        QTest::keyClick(sp, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("0,33333"));
        // A stopped run has no result to insert.
        sp->setCurrentItem(sp->topLevelItem(0));
        QTest::keyClick(sp, Qt::Key_Enter);
        QCOMPARE(okno->mPeremennie->toPlainText(), QStringLiteral("a = 10r16+0,33333"));
    }

    // "No" enables the timer of the progress window again; a timer still
    // counting keeps its time, it does not start over.
    void stopNetTaymerIdetDalshe() {
        Zapustit(DLINNIY);
        QTest::qWait(800);
        QVERIFY(okno->tmrPokazatOperacii->isActive());
        okno->bnVichislit->click(); // answered No
        QCOMPARE(otvetchik->zapisi.size(), 1);
        QVERIFY(okno->IdetVichislenie() && okno->tmrPokazatOperacii->isActive());
        const int ostalos = okno->tmrPokazatOperacii->remainingTime();
        QVERIFY2(ostalos <= 2500, qPrintable(QString::number(ostalos)));
        otvetchik->otvet = QMessageBox::Yes;
        okno->bnVichislit->click();
        QVERIFY(DozhdatsyaKonca(5000));
    }

    // An error box of the run leaves the main window usable.
    void oknoOshibkiVoVremyaZapuska() {
        otvetchik->avto = false;
        Zapustit(QStringLiteral("\ny = 2+3"));
        QVERIFY(QTest::qWaitFor([] { return TOtvetchik::Vidimoe() != nullptr; }, 10000));
        QMessageBox* oshibka = TOtvetchik::Vidimoe();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(okno->bnVichislit->text(), QStringLiteral("Стоп"));
        okno->activateWindow();
        QTest::mouseClick(okno->findChild<QPushButton*>(QStringLiteral("bnKvadrat")),
                          Qt::LeftButton);
        QTest::keyClicks(okno->mPeremennie, QStringLiteral("+1"));
        QCOMPARE(okno->mPeremennie->toPlainText(), QStringLiteral("sqr(x)+1\ny = 2+3"));
        QVERIFY(okno->IdetVichislenie());
        TOtvetchik::Otvetit(oshibka, QMessageBox::Ok);
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("5"));
    }

    // The timer that brings the progress window on screen fires while an
    // error box of the run waits for an answer: the window waits too, and
    // comes up once the box is closed, under the run's next box.
    void oknoSostoyaniyaNePoverhSoobsheniya() {
        otvetchik->avto = false;
        Zapustit(QStringLiteral("\ny = 2*x"));
        QVERIFY(QTest::qWaitFor([] { return TOtvetchik::Vidimoe() != nullptr; }, 10000));
        QMessageBox* oshibka = TOtvetchik::Vidimoe();
        okno->tmrPokazatOperacii->setInterval(50); // restarts it: fires soon
        QVERIFY(QTest::qWaitFor([this] { return !okno->tmrPokazatOperacii->isActive(); }, 2000));
        QTest::qWait(50);
        QVERIFY(oshibka->isVisible());
        QVERIFY(!okno->frmSostoyanie->isVisible());
        TOtvetchik::Otvetit(oshibka, QMessageBox::Ok);
        QVERIFY(QTest::qWaitFor([this] { return okno->frmSostoyanie->isVisible(); }, 2000));
        otvetchik->avto = true;
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(otvetchik->Teksti(),
                 (QStringList{QStringLiteral("Неправильное значение переменной"),
                              QStringLiteral("Не удаётся найти переменную x"), NE_UDAETSYA}));
    }

    // A digit count that is not a number, read at the end of a run: the
    // calculation thread's box, the window still usable, the last accepted
    // count used.
    void razryadiNeChisloVKonceZapuska() {
        otvetchik->avto = false;
        okno->ebKolichestvoRasryadov->setText(QStringLiteral("abc"));
        Zapustit(QStringLiteral("y = 1/4"));
        QVERIFY(QTest::qWaitFor([this] { return !otvetchik->zapisi.isEmpty(); }, 10000));
        QCOMPARE(otvetchik->Teksti(),
                 QStringList{QStringLiteral("Строка не содержит цифр между разделителями.")});
        QCOMPARE(otvetchik->zapisi.first().modalnost, Qt::NonModal);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(okno->IdetVichislenie());
        okno->ebKolichestvoRasryadov->setText(QStringLiteral("1"));
        TOtvetchik::Otvetit(TOtvetchik::Vidimoe(), QMessageBox::Ok);
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("0,25"));
        QCOMPARE(okno->PoluchitRazryadi(), 1);
    }

    // The definitions are read in the radix of the start, the result is
    // shown in the radix and digit count set at the end.
    void smenaOsnovaniyaVoVremyaZapuska() {
        otvetchik->avto = false;
        Zapustit(QStringLiteral("\ny = 1/3+10"));
        QVERIFY(QTest::qWaitFor([] { return TOtvetchik::Vidimoe() != nullptr; }, 10000));
        okno->rbOsnovanie16->setChecked(true);
        okno->ebKolichestvoRasryadov->setText(QStringLiteral("3"));
        TOtvetchik::Otvetit(TOtvetchik::Vidimoe(), QMessageBox::Ok);
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("A,555r16"));
    }

    void oknoSostoyaniyaCherez3s() {
        otvetchik->otvet = QMessageBox::Yes;
        QElapsedTimer t;
        t.start();
        Zapustit(DLINNIY);
        QTest::qWait(2500);
        QVERIFY(okno->frmSostoyanie != nullptr);
        QVERIFY(!okno->frmSostoyanie->isVisible());
        QVERIFY(QTest::qWaitFor([this] { return okno->frmSostoyanie->isVisible(); }, 2000));
        QVERIFY(t.elapsed() >= 3000);
        TfrmSostoyanie* s = okno->frmSostoyanie;
        const QRect oblast = s->screen()->availableGeometry();
        QCOMPARE(s->pos(), QPoint((oblast.x() + oblast.width() - s->width()) / 2, s->Tag));
        QVERIFY(
            QTest::qWaitFor([this] { return Zhurnal().contains(QStringLiteral("fact")); }, 2000));
        // Closing it hides it; the run goes on.
        s->close();
        QVERIFY(!s->isVisible() && okno->frmSostoyanie == s && okno->IdetVichislenie());
        s->PokazatNaEkrane();
        okno->bnVichislit->click();
        QVERIFY(DozhdatsyaKonca(5000));
        // The stop leaves the window on screen with its log.
        QVERIFY(okno->frmSostoyanie == s && s->isVisible());
    }

    void promegutochnieRascheti() {
        okno->miPromegutochnieRascheti->trigger();
        QVERIFY(okno->miPromegutochnieRascheti->isChecked());
        Zapustit(QStringLiteral("x = 2\ny = x*(x+1)"));
        QVERIFY(okno->frmSostoyanie->isVisible());
        QVERIFY(!okno->tmrPokazatOperacii->isActive());
        QVERIFY(DozhdatsyaKonca(20000));
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("6"));
        QVERIFY(
            QTest::qWaitFor([this] { return Zhurnal().contains(QStringLiteral("x+1")); }, 2000));
        QVERIFY(okno->frmSostoyanie->isVisible());
    }

    void zakritieVoVremyaZapuska() {
        Zapustit(DLINNIY);
        QTest::qWait(300);
        QElapsedTimer t;
        t.start();
        QVERIFY(okno->close());
        QVERIFY(t.elapsed() < 1500);
        QVERIFY(!okno->IdetVichislenie());
        QVERIFY(okno->frmSostoyanie == nullptr);
        // The user ended the run: no box says it could not be finished.
        QCOMPARE(otvetchik->Teksti(), QStringList());
        DobavitSostoyanie(TAnsiString("\r\nlate")); // no window: dropped
        QCoreApplication::processEvents();
    }

    // Closing while a box of the run waits: the box goes with the window,
    // and the run ends without another.
    void zakritieSOtkritimOknom() {
        otvetchik->avto = false;
        Zapustit(QStringLiteral("\ny = 2+3"));
        QVERIFY(QTest::qWaitFor([this] { return !otvetchik->zapisi.isEmpty(); }, 10000));
        QVERIFY(okno->close());
        QVERIFY(!okno->IdetVichislenie());
        QTest::qWait(50);
        QVERIFY(TOtvetchik::Vidimoe() == nullptr);
        QCOMPARE(otvetchik->Teksti(),
                 QStringList{QStringLiteral("Неправильное значение переменной")});
    }

    // A box left open for longer than the progress window's delay, the run
    // ending as it closes: no empty progress window comes up afterwards, and
    // the history counts the calculation, not the box.
    void netOknaSostoyaniyaPosleKonca() {
        otvetchik->avto = false;
        Zapustit(QStringLiteral("x = 2"));
        QVERIFY(QTest::qWaitFor([] { return TOtvetchik::Vidimoe() != nullptr; }, 10000));
        QVERIFY(QTest::qWaitFor([this] { return !okno->tmrPokazatOperacii->isActive(); }, 5000));
        QTest::qWait(200);
        TOtvetchik::Otvetit(TOtvetchik::Vidimoe(), QMessageBox::Ok);
        QVERIFY(DozhdatsyaKonca(5000));
        QTest::qWait(3 * TfrmMain::ZHDAT_POSLE_OKNA_MS);
        QVERIFY(!okno->frmSostoyanie->isVisible());
        QCOMPARE(otvetchik->Teksti(), QStringList{QStringLiteral("Не задана переменная y")});
        QCOMPARE(okno->focusWidget(), static_cast<QWidget*>(okno->mPeremennie));
        const QString vremya = okno->frmIstoriya->spIstoriya->topLevelItem(0)->text(5);
        QVERIFY2(vremya.startsWith(QStringLiteral("0,")), qPrintable(vremya));
    }

    // After "Стоп" and "Да" with an error box of the run open, the window waits
    // for the run, which waits for the box: keys typed in the window answer
    // the box.
    void klavishiDohodyatDoOkna_data() {
        QTest::addColumn<int>("klavisha");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void klavishiDohodyatDoOkna() {
        QFETCH(int, klavisha);
        otvetchik->avto = false;
        Zapustit(QStringLiteral("\ny = 2+3"));
        QVERIFY(QTest::qWaitFor([] { return TOtvetchik::Vidimoe() != nullptr; }, 10000));
        QPointer<QMessageBox> oshibka = TOtvetchik::Vidimoe();
        okno->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(okno.get()));
        // Steps taken from inside the question's loop and the wait: answer
        // "Да", then type the key in the window; should the key not reach
        // the box, it is answered by a click after 2 s so the test fails
        // instead of hanging.
        bool klavishaNaZhata = false;
        qint64 zakrito = -1; // ms from the key to the box's closing
        QTimer shagi;
        QElapsedTimer posleKlavishi;
        QPointer<QMessageBox> vopros;
        connect(oshibka, &QDialog::finished, this, [&] {
            zakrito = posleKlavishi.elapsed();
            otvetchik->avto = true; // the stopped run's last box
        });
        connect(&shagi, &QTimer::timeout, this, [&] {
            QMessageBox* b = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* m = qobject_cast<QMessageBox*>(w);
                    m != nullptr && m->isVisible() && m->icon() == QMessageBox::Question)
                    b = m;
            if (b != nullptr) {
                vopros = b;
                TOtvetchik::Otvetit(b, QMessageBox::Yes);
            } else if (!klavishaNaZhata && oshibka != nullptr && vopros.isNull() &&
                       okno->bnVichislit->text() == QStringLiteral("Стоп")) {
                // Once the question is gone the window waits for the run.
                klavishaNaZhata = true;
                posleKlavishi.start();
                QTest::keyClick(okno->mPeremennie, Qt::Key(klavisha));
            } else if (klavishaNaZhata && oshibka != nullptr && oshibka->isVisible() &&
                       posleKlavishi.elapsed() > 2000) {
                TOtvetchik::Otvetit(oshibka, QMessageBox::Ok);
            }
        });
        shagi.start(20);
        QTest::mouseClick(okno->bnVichislit, Qt::LeftButton);
        QVERIFY(DozhdatsyaKonca(10000));
        QVERIFY(klavishaNaZhata);
        QVERIFY2(zakrito >= 0 && zakrito < 2000, qPrintable(QString::number(zakrito)));
        QVERIFY(oshibka == nullptr || !oshibka->isVisible());
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("0"));
        QCOMPARE(okno->focusWidget(), static_cast<QWidget*>(okno->mPeremennie));
    }

    // A digit count that is not a number, left by a click on "=": the click
    // starts the run, and the run says what is wrong with the field.
    void razryadiNeSyedayutShchelchok() {
        QList<int> nomera;
        otvetchik->priPoyavlenii = [this, &nomera](QMessageBox*) {
            nomera.append(okno->NomerZapuska());
        };
        const int bilo = okno->NomerZapuska();
        okno->mPeremennie->setPlainText(QStringLiteral("y = 1/4"));
        okno->ebKolichestvoRasryadov->setFocus(Qt::OtherFocusReason);
        okno->ebKolichestvoRasryadov->setText(QStringLiteral("abc"));
        QTest::mouseClick(okno->bnVichislit, Qt::LeftButton);
        QVERIFY(DozhdatsyaKonca(10000));
        QCOMPARE(okno->NomerZapuska(), bilo + 1);
        QCOMPARE(okno->ebZnachenie->text(), QStringLiteral("0,25"));
        QCOMPARE(otvetchik->Teksti(),
                 QStringList{QStringLiteral("Строка не содержит цифр между разделителями.")});
        QCOMPARE(nomera, QList<int>{bilo + 1});
    }

    // "pi" during a run that needs pi in the same radix: both threads may
    // fill the constant cache; the button's text is the same as when idle.
    // Radix 2, where pi is built in a fraction of a second.
    void piVoVremyaZapuska() {
        OchistitKesh();
        otvetchik->otvet = QMessageBox::Yes;
        okno->rbOsnovanie2->setChecked(true);
        Zapustit(QStringLiteral("y = fact(101111101011110000100000000*sin(11110)+1)"));
        QPushButton* pi = okno->findChild<QPushButton*>(QStringLiteral("bnChisloPI"));
        // Once the log has its first entry the definitions have been read.
        QVERIFY(QTest::qWaitFor([this] { return !Zhurnal().isEmpty(); }, 5000));
        okno->mPeremennie->clear();
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(pi, Qt::LeftButton);
            QTest::keyClick(okno->mPeremennie, Qt::Key_Return);
        }
        QVERIFY(okno->IdetVichislenie());
        QVERIFY(
            QTest::qWaitFor([this] { return Zhurnal().contains(QStringLiteral("fact")); }, 10000));
        okno->bnVichislit->click();
        QVERIFY(DozhdatsyaKonca(5000));
        const QStringList vstavleno =
            okno->mPeremennie->toPlainText().split('\n', Qt::SkipEmptyParts);
        okno->mPeremennie->clear();
        QTest::mouseClick(pi, Qt::LeftButton);
        const QString obrazec = okno->mPeremennie->toPlainText();
        // pi = 3.243F6A8885A308D3... in hexadecimal
        QVERIFY2(obrazec.startsWith(QStringLiteral(
                     "11,0010010000111111011010101000100010000101101000110000100011010011")),
                 qPrintable(obrazec));
        QVERIFY(obrazec.endsWith(QStringLiteral("r2")));
        QCOMPARE(vstavleno, QStringList(3, obrazec));
    }
};

QTEST_MAIN(TestZapusk)
#include "test_zapusk.moc"
