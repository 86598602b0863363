// The main window's look on the screen it gets: every control in sight on a
// small screen (640 by 512 device-independent pixels: 1280 by 1024 scaled 2
// times), the keypad in the middle when maximised, a palette change
// followed, the progress window beside the main window and where the user
// put it.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "pomoshnik.h"
#include "ui/tfrmmain.h"
#include "ui/tfrmsostoyanie.h"

class TestOformlenie : public QObject {
    Q_OBJECT

    std::unique_ptr<TStorog> storog;
    std::unique_ptr<TfrmMain> okno;

    QRect Oblast() const { return okno->screen()->availableGeometry(); }
    // The keypad's controls together, in pnKnopki.
    QRect Knopki() const {
        QRect r;
        for (QWidget* w : okno->pnKnopki->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            r |= w->geometry();
        return r;
    }

  private slots:
    void initTestCase() { PodgotovitProcess(); }
    void init() {
        storog = std::make_unique<TStorog>(60);
        QVERIFY(OtkritGlavnoeOkno(okno));
        QTest::qWait(400); // the fit by the real frame
    }
    void cleanup() {
        okno.reset();
        storog.reset();
    }

    // On the screen the test is given (CIFRAMER_EKRAN names its work area
    // where it matters): the window on the work area, and every control of
    // it whole in the visible part of the client area, which scrolls
    // neither way; every caption fits its control.
    void vsyoVidno() {
        const QByteArray ekran = qgetenv("CIFRAMER_EKRAN");
        if (!ekran.isEmpty())
            QCOMPARE(QStringLiteral("%1x%2").arg(Oblast().width()).arg(Oblast().height()),
                     QString::fromLatin1(ekran));
        QVERIFY(Oblast().contains(okno->frameGeometry()));
        QVERIFY(!okno->sbKlient->horizontalScrollBar()->isVisible());
        QVERIFY(!okno->sbKlient->verticalScrollBar()->isVisible());
        const QRect vidno = okno->sbKlient->viewport()->rect();
        int elementov = 0;
        for (QWidget* w : okno->pnKlient->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(okno.get())) continue;
            const QRect r(w->mapTo(okno->sbKlient->viewport(), QPoint()), w->size());
            QVERIFY2(vidno.contains(r), qPrintable(w->objectName()));
            ++elementov;
        }
        QVERIFY(elementov > 50);
        const QFontMetrics m(okno->pnKnopki->font());
        for (QPushButton* b : okno->pnKnopki->findChildren<QPushButton*>())
            QVERIFY2(m.horizontalAdvance(b->text()) < b->width(), qPrintable(b->text()));
        // The buttons do not overlap: each row's buttons stand apart.
        const QList<QPushButton*> knopki = okno->pnKnopki->findChildren<QPushButton*>();
        for (QPushButton* a : knopki)
            for (QPushButton* b : knopki)
                QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + b->objectName()));
    }

    // Maximised, the keypad stands in the middle; back to normal, at the left.
    void maksimum() {
        const QRect bilo = Knopki();
        okno->showMaximized();
        QVERIFY(QTest::qWaitFor([this] { return okno->width() >= Oblast().width() - 20; }, 2000));
        QTest::qWait(50);
        const QRect r = Knopki();
        QVERIFY(okno->pnKnopki->width() > r.width() + 100);
        QVERIFY(qAbs(r.left() - (okno->pnKnopki->width() - 1 - r.right())) <= 1);
        QCOMPARE(r.size(), bilo.size());
        QCOMPARE(okno->mPeremennie->width(), okno->pnKnopki->width() - 16);
        okno->showNormal();
        QVERIFY(QTest::qWaitFor([this] { return !okno->isMaximized(); }, 2000));
        QTest::qWait(50);
        QCOMPARE(Knopki().topLeft(), bilo.topLeft());
    }

    // A dark palette set while the window is open reaches the group boxes:
    // drawn again, they are dark apart from their captions.
    void palitra() {
        const QPalette bilo = QApplication::palette();
        QPalette temnaya;
        temnaya.setColor(QPalette::Window, QColor(40, 40, 40));
        temnaya.setColor(QPalette::WindowText, QColor(230, 230, 230));
        temnaya.setColor(QPalette::Base, QColor(25, 25, 25));
        temnaya.setColor(QPalette::Text, QColor(230, 230, 230));
        temnaya.setColor(QPalette::Button, QColor(50, 50, 50));
        temnaya.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        QApplication::setPalette(temnaya);
        QCoreApplication::processEvents();
        for (QGroupBox* gb :
             {okno->gbSistemaIschisleniya, okno->gbEdiniciIzmereniyaUgla, okno->gbOkruglenie}) {
            const QImage kartinka = gb->grab().toImage();
            qint64 svetlih = 0;
            for (int y = 0; y < kartinka.height(); ++y)
                for (int x = 0; x < kartinka.width(); ++x)
                    if (QColor(kartinka.pixel(x, y)).lightness() > 128) ++svetlih;
            const qint64 vsego = qint64(kartinka.width()) * kartinka.height();
            // Light: the captions' strokes, about a tenth; a box left in the
            // old palette is light almost all over.
            QVERIFY2(svetlih * 4 < vsego, qPrintable(gb->objectName()));
        }
        QApplication::setPalette(bilo);
    }

    // The progress window comes beside the main window where the work area
    // has room (on the right, else on the left), centred otherwise; moved
    // by the user, the next run's window comes where this one was; closed,
    // it comes back from the menu with its log.
    void oknoSostoyaniya() {
        QVERIFY(!okno->miPokazatSostoyanie->isEnabled());
        okno->miPromegutochnieRascheti->setChecked(true);
        const QRect oblast = Oblast();
        for (const bool sleva : {true, false}) {
            okno->move(sleva ? oblast.left() : oblast.right() + 1 - okno->frameGeometry().width(),
                       oblast.top());
            QTest::qWait(50);
            okno->ZamenitOknoSostoyaniya(); // as "=" does, the log shown at once
            TfrmSostoyanie* s = okno->frmSostoyanie;
            QVERIFY(s->isVisible());
            QVERIFY(oblast.contains(s->frameGeometry()));
            if (oblast.width() >= okno->frameGeometry().width() + s->frameGeometry().width()) {
                QVERIFY(!s->frameGeometry().intersects(okno->frameGeometry()));
                QCOMPARE(s->x() > okno->x(), sleva);
            } else {
                QCOMPARE(s->pos(), QPoint((oblast.x() + oblast.width() - s->width()) / 2,
                                          (oblast.y() + oblast.height() - s->height()) / 2));
            }
        }
        TfrmSostoyanie* s = okno->frmSostoyanie;
        const QRect mesto(oblast.topLeft() + QPoint(30, 40), QSize(300, 200));
        s->move(mesto.topLeft());
        s->resize(mesto.size());
        QTest::qWait(50);
        okno->ZamenitOknoSostoyaniya();
        s = okno->frmSostoyanie;
        QVERIFY(s->isVisible());
        QCOMPARE(QRect(s->pos(), s->size()), mesto);
        QCOMPARE(okno->MestoOknaSostoyaniya(), mesto);

        okno->DobavitVZhurnal("\r\n2+3 = 5");
        QCoreApplication::processEvents();
        s->close();
        QVERIFY(!s->isVisible());
        QVERIFY(okno->miPokazatSostoyanie->isEnabled());
        okno->miPokazatSostoyanie->trigger();
        QVERIFY(s->isVisible() && okno->frmSostoyanie == s);
        QCOMPARE(s->pos(), mesto.topLeft());
        QCOMPARE(s->mSostoyanie->toPlainText(), QStringLiteral("2+3 = 5"));
    }
};

QTEST_MAIN(TestOformlenie)
#include "test_oformlenie.moc"
