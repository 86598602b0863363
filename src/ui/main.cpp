// Цифрамер: start-up and shutdown of the desktop program.
#include <new>

#include <QApplication>
#include <QIcon>

#include "eval/dvigatel.h"
#include "platform/platforma.h"
#include "text/kodirovka_ansi.h"
#include "ui/ikonka.h"
#include "ui/soobsheniya.h"
#include "ui/tfrmmain.h"

int main(int argc, char** argv) {
    // After QApplication, which sets the C library to the user's locale: the
    // engine takes its decimal separator once (LokalniyRazdelitel puts
    // LC_NUMERIC back to "C") and reads the constant cache; it writes the
    // cache when it goes, after the window.
    QApplication app(argc, argv);
    TDvigatel dvigatel;

    QApplication::setApplicationName(QStringLiteral("ciframer"));
    QGuiApplication::setDesktopFileName(QStringLiteral("ciframer"));
    QApplication::setWindowIcon(IkonkaPrilogeniya());
    ZagruzitPerevodQt(app);
    UstanovitOknaOshibok();

    int kod = 0;
    // An exception that leaves the event loop (the calculation thread turns
    // its own into messages) ends the program with a message, not an abort;
    // the application object still exists here to show it.
    try {
        TfrmMain okno(dvigatel);
        okno.VklyuchitSohranenie();
        // A quit that does not come from closing the window (the session
        // ends) still stops the run first, and keeps what was typed.
        QObject::connect(&app, &QCoreApplication::aboutToQuit, &okno, [&okno] {
            okno.FormDestroy();
            okno.ZapisatSohranenie();
        });
        okno.show();
        kod = app.exec();
    } catch (const std::bad_alloc&) {
        ShowError(Utf8VAnsi("Недостаточно памяти"));
        kod = 1;
    } catch (...) {
        ShowError(Utf8VAnsi("Внутренняя ошибка программы"));
        kod = 1;
    }
    return kod;
}
