// Message boxes of the desktop program: the ShowError handler for Qt, the
// Russian captions of the standard buttons, and the input filter used while
// the main thread waits for the calculation thread.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <functional>

class QApplication;

// Loads Qt's own Russian translation (qtbase_ru) from Qt's translations
// folder and installs it. False when it is not there: the boxes made by
// SozdatSoobshenie then get their Russian button captions by hand.
// Main thread, once, after the QApplication exists.
bool ZagruzitPerevodQt(QApplication& app);

// A message box with the given icon, caption, text and standard buttons;
// parent null means "no owner window". The buttons read "Да", "Нет", "OK"
// whether or not Qt's translation was found. Main thread only.
QMessageBox* SozdatSoobshenie(QMessageBox::Icon icon, const QString& zagolovok,
                              const QString& tekst, QMessageBox::StandardButtons knopki,
                              QWidget* parent);

// Installs the ShowError handler of the desktop program: caption "Ошибка",
// error icon, OK, owned by the window set with UstanovitVladelcaOshibok (no
// owner while none is set). On the main thread the box is modal and
// ShowError returns when it is closed. On any other thread the box is shown
// by the main thread without blocking it (the main window stays usable) and
// the calling thread waits, running no event loop of its own, until the
// user closes it. Call once from the main thread after
// the QApplication exists.
void UstanovitOknaOshibok();

// The window that owns the error boxes from now on (null: none): the window
// manager keeps a box above its owner, where a box without owner may be
// buried under the owner's other windows. And a function the main thread
// calls with each box shown for another thread, just before it is shown
// (empty: none); when it returns false the box is not shown and the calling
// thread goes on at once. Main thread.
void UstanovitVladelcaOshibok(QWidget* vladelec, std::function<bool(QMessageBox*)> priPokaze);

// While one lives (main thread only, not nested), user input and close
// requests reach only message boxes: the main thread may then run the event
// loop to serve the calculation thread without letting the user start new
// actions in the windows, while an error box of the run can still be closed.
// Keys typed in another window go to the open box (which is brought to the
// front), so that Return, Escape and Space answer it from the keyboard.
class TBezVvodaPokaOgidaem : public QObject {
  public:
    TBezVvodaPokaOgidaem();
    ~TBezVvodaPokaOgidaem() override;
    TBezVvodaPokaOgidaem(const TBezVvodaPokaOgidaem&) = delete;
    TBezVvodaPokaOgidaem& operator=(const TBezVvodaPokaOgidaem&) = delete;

  protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;
};
