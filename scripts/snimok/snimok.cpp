// ciframer-snimok: opens the main window, computes two short runs (one of
// them failing, its boxes answered) and then a sample definitions text with
// the intermediate log on (one of its lines warned of), and saves pictures
// of the main window, of the progress window and of the history (used by
// scripts/screenshot, normally under Xvfb). Arguments: the three output
// file names.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTextStream>
#include <QThread>
#include <QAction>

#include "eval/dvigatel.h"
#include "platform/platforma.h"
#include "ui/ikonka.h"
#include "ui/soobsheniya.h"
#include "ui/tfrmistoriya.h"
#include "ui/tfrmmain.h"
#include "ui/tfrmsostoyanie.h"

namespace {
void Zhdat(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

// Runs the definitions to their end; false when the run did not finish.
bool Vichislit(TfrmMain& okno, const QString& opredeleniya) {
    okno.mPeremennie->setPlainText(opredeleniya);
    okno.bnVichislit->click();
    QElapsedTimer t;
    t.start();
    while (okno.IdetVichislenie() && t.elapsed() < 120000) Zhdat(50);
    return !okno.IdetVichislenie();
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        QTextStream(stderr) << "usage: ciframer-snimok MAIN.png PROGRESS.png HISTORY.png\n";
        return 2;
    }
    TDvigatel dvigatel;
    QApplication::setWindowIcon(IkonkaPrilogeniya());
    ZagruzitPerevodQt(app);
    UstanovitOknaOshibok();

    int kod = 0;
    {
        TfrmMain okno(dvigatel);
        okno.move(0, 0);
        okno.show();
        Zhdat(300);
        // The error boxes of the failing run are answered as they come.
        QTimer otvetchik;
        QObject::connect(&otvetchik, &QTimer::timeout, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* b = qobject_cast<QMessageBox*>(w); b != nullptr && b->isVisible())
                    if (QAbstractButton* ok = b->button(QMessageBox::Ok)) ok->click();
        });
        otvetchik.start(100);
        okno.rbOsnovanie16->setChecked(true);
        bool gotovo = Vichislit(okno, QStringLiteral("y = FF*FF"));
        okno.rbOsnovanie10->setChecked(true);
        gotovo = gotovo && Vichislit(okno, QStringLiteral("y = 2*x"));
        okno.ebKolichestvoRasryadov->setText(QStringLiteral("60"));
        okno.ebKolichestvoRasryadovExit();
        okno.miPromegutochnieRascheti->setChecked(true);
        // The last line defines x again: the run warns of it, and the
        // literal not valid in radix 10 is marked as it stands.
        const QString primer = QStringLiteral("x = 2\ny = sin(x*(x+1))\nz = sqrt(x)*pi\nx = 2A");
        gotovo = gotovo && Vichislit(okno, primer);
        if (!gotovo) {
            QTextStream(stderr) << "the calculation did not finish\n";
            kod = 1;
        }
        okno.activateWindow();
        okno.raise();
        Zhdat(300);
        if (!okno.grab().save(QString::fromLocal8Bit(argv[1]))) kod = 1;
        if (okno.frmSostoyanie == nullptr ||
            !okno.frmSostoyanie->grab().save(QString::fromLocal8Bit(argv[2])))
            kod = 1;
        okno.frmIstoriya->resize(640, 150);
        okno.frmIstoriya->show();
        Zhdat(300);
        if (!okno.frmIstoriya->grab().save(QString::fromLocal8Bit(argv[3]))) kod = 1;
        QTextStream(stdout) << "y = " << okno.ebZnachenie->text() << "\n";
        okno.close();
    }
    return kod;
}
