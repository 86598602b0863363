// ciframer-snimok: opens the main window, computes a sample definitions text
// with the intermediate log on, and saves pictures of the main window and of
// the progress window (used by scripts/screenshot, normally under Xvfb).
// Arguments: the two output file names.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextStream>
#include <QThread>
#include <QAction>

#include "number/kesh.h"
#include "number/mashinnye.h"
#include "platform/platforma.h"
#include "ui/ikonka.h"
#include "ui/soobsheniya.h"
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
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: ciframer-snimok MAIN.png PROGRESS.png\n";
        return 2;
    }
    PostroitTabliciSimvolov(LokalniyRazdelitel());
    ZagruzitKesh();
    QApplication::setWindowIcon(IkonkaPrilogeniya());
    ZagruzitPerevodQt(app);
    UstanovitOknaOshibok();

    int kod = 0;
    {
        TfrmMain okno;
        okno.move(0, 0);
        okno.show();
        Zhdat(300);
        okno.mPeremennie->setPlainText(QStringLiteral("x = 2\ny = sin(x*(x+1))\nz = sqrt(x)*pi"));
        okno.ebKolichestvoRasryadov->setText(QStringLiteral("60"));
        okno.ebKolichestvoRasryadovExit();
        okno.miPromegutochnieRascheti->setChecked(true);
        okno.bnVichislit->click();
        QElapsedTimer t;
        t.start();
        while (okno.IdetVichislenie() && t.elapsed() < 120000) Zhdat(50);
        if (okno.IdetVichislenie()) {
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
        QTextStream(stdout) << "y = " << okno.ebZnachenie->text() << "\n";
        okno.close();
    }
    SohranitKesh();
    return kod;
}
