#include "ui/soobsheniya.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPointer>
#include <QThread>
#include <QTranslator>
#include <QWidget>
#include <memory>

#include "platform/platforma.h"
#include "ui/tekstqt.h"
#include "ui/zavershenie.h"

namespace {

bool perevodZagrugen = false;
// Main thread only.
QPointer<QWidget> vladelecOshibok;
std::function<bool(QMessageBox*)> priPokazeOshibki;

void PokazatOknoOshibki(const TAnsiString& text) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    if (QThread::currentThread() == app->thread()) {
        std::unique_ptr<QMessageBox> box(SozdatSoobshenie(QMessageBox::Critical,
                                                          QStringLiteral("Ошибка"), VQString(text),
                                                          QMessageBox::Ok, vladelecOshibok));
        box->setWindowModality(Qt::ApplicationModal);
        box->exec();
        return;
    }
    // Another thread: the box lives on the main thread and does not block it;
    // this thread waits without an event loop of its own, so the main thread
    // may at the same time wait for it while serving its requests. The text
    // travels as bytes, no Qt object is shared between the threads.
    auto zakrito = std::make_shared<TZavershenie>();
    auto metka = std::make_shared<TMetkaZaversheniya>(zakrito);
    const std::string baiti = text.ToStd();
    QMetaObject::invokeMethod(
        app,
        [baiti, zakrito, metka] {
            QMessageBox* box = SozdatSoobshenie(QMessageBox::Critical, QStringLiteral("Ошибка"),
                                                VQString(baiti), QMessageBox::Ok, vladelecOshibok);
            box->setWindowModality(Qt::NonModal);
            if (priPokazeOshibki && !priPokazeOshibki(box)) {
                delete box;
                return; // the metka goes with this task: the thread goes on
            }
            QObject::connect(box, &QDialog::finished, box, [box, zakrito] {
                zakrito->Signal();
                box->deleteLater();
            });
            // Should the box ever go without being finished, the waiting
            // thread is released when it is destroyed.
            QObject::connect(box, &QObject::destroyed, [metka] {});
            box->show();
            box->raise();
            box->activateWindow();
        },
        Qt::QueuedConnection);
    metka.reset();
    zakrito->Zhdat();
}

// The box that waits for an answer: the active one, else the last visible.
QMessageBox* OtkritoeOkno() {
    if (auto* b = qobject_cast<QMessageBox*>(QApplication::activeWindow()); b && b->isVisible())
        return b;
    QMessageBox* naiden = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b != nullptr && b->isVisible()) naiden = b;
    return naiden;
}

void VividitVpered(QMessageBox* box) {
    if (box->isActiveWindow()) return;
    box->raise();
    box->activateWindow();
}

} // namespace

bool ZagruzitPerevodQt(QApplication& app) {
    auto* perevod = new QTranslator(&app);
    const QString papka = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (perevod->load(QStringLiteral("qtbase_ru"), papka) &&
        QCoreApplication::installTranslator(perevod)) {
        perevodZagrugen = true;
        return true;
    }
    delete perevod;
    return false;
}

QMessageBox* SozdatSoobshenie(QMessageBox::Icon icon, const QString& zagolovok,
                              const QString& tekst, QMessageBox::StandardButtons knopki,
                              QWidget* parent) {
    auto* box = new QMessageBox(icon, zagolovok, tekst, knopki, parent);
    if (!perevodZagrugen) {
        if (QAbstractButton* b = box->button(QMessageBox::Yes)) b->setText(QStringLiteral("Да"));
        if (QAbstractButton* b = box->button(QMessageBox::No)) b->setText(QStringLiteral("Нет"));
        if (QAbstractButton* b = box->button(QMessageBox::Ok)) b->setText(QStringLiteral("OK"));
    }
    return box;
}

void UstanovitOknaOshibok() {
    UstanovitObrabotchikOshibki(&PokazatOknoOshibki);
}

void UstanovitVladelcaOshibok(QWidget* vladelec, std::function<bool(QMessageBox*)> priPokaze) {
    vladelecOshibok = vladelec;
    priPokazeOshibki = std::move(priPokaze);
}

TBezVvodaPokaOgidaem::TBezVvodaPokaOgidaem() {
    qApp->installEventFilter(this);
}

TBezVvodaPokaOgidaem::~TBezVvodaPokaOgidaem() {
    qApp->removeEventFilter(this);
}

bool TBezVvodaPokaOgidaem::eventFilter(QObject* obj, QEvent* ev) {
    switch (ev->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        break;
    default:
        return false;
    }
    // Shortcuts go to QShortcut/QAction objects: judge them by the widget
    // they belong to. Windows (QWindow) hand input on to their widgets.
    QWidget* w = nullptr;
    for (QObject* o = obj; o != nullptr && w == nullptr; o = o->parent())
        w = qobject_cast<QWidget*>(o);
    if (w == nullptr) return false;
    if (qobject_cast<QMessageBox*>(w->window()) != nullptr) return false;
    if (QMessageBox* box = OtkritoeOkno()) {
        switch (ev->type()) {
        case QEvent::ShortcutOverride:
            // Taken as typed text: no shortcut of the window fires, and the
            // key comes as a key press, which goes to the box.
            ev->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // The box may not be the active window (the window manager
            // handed the activation back to the main window after a
            // question): the key goes to the box's button with the focus.
            VividitVpered(box);
            const auto* k = static_cast<QKeyEvent*>(ev);
            QKeyEvent kopiya(k->type(), k->key(), k->modifiers(), k->text(), k->isAutoRepeat(),
                             k->count());
            QWidget* cel = box->focusWidget() != nullptr ? box->focusWidget() : box;
            QCoreApplication::sendEvent(cel, &kopiya);
            return true;
        }
        case QEvent::MouseButtonPress:
            VividitVpered(box);
            break;
        default:
            break;
        }
    }
    ev->ignore();
    return true;
}
