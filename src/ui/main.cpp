// Цифрамер: start-up and shutdown of the desktop program.
#include <QApplication>
#include <QIcon>
#include <clocale>

#include "number/kesh.h"
#include "number/mashinnye.h"
#include "platform/platforma.h"
#include "ui/ikonka.h"
#include "ui/soobsheniya.h"
#include "ui/tfrmmain.h"

int main(int argc, char** argv) {
    // QApplication takes the user's locale into the C library; the literal
    // tables read its decimal separator once. Machine conversions after that
    // keep the C notation.
    QApplication app(argc, argv);
    PostroitTabliciSimvolov(LokalniyRazdelitel());
    std::setlocale(LC_NUMERIC, "C");
    ZagruzitKesh();

    QApplication::setApplicationName(QStringLiteral("ciframer"));
    QGuiApplication::setDesktopFileName(QStringLiteral("ciframer"));
    QApplication::setWindowIcon(IkonkaPrilogeniya());
    ZagruzitPerevodQt(app);
    UstanovitOknaOshibok();

    int kod = 0;
    {
        TfrmMain okno;
        // A quit that does not come from closing the window (the session
        // ends) still stops the run first.
        QObject::connect(&app, &QCoreApplication::aboutToQuit, &okno,
                         [&okno] { okno.FormDestroy(); });
        okno.show();
        kod = app.exec();
    }
    SohranitKesh();
    return kod;
}
