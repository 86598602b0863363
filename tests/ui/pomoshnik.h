// Helpers of the window tests: answering message boxes, a watchdog, setup.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TDvigatel;
class TfrmMain;

// Answers every message box that becomes visible, polling the top-level
// widgets every 20 ms (also inside the modal loops of question boxes and
// inside the main window's wait for the calculation thread). Records each
// box once. An error box is answered with OK, a question with `otvet`.
// With avto false the boxes are only recorded and left open.
class TOtvetchik : public QObject {
  public:
    struct Okno {
        QString zagolovok;
        QString tekst;
        QMessageBox::Icon ikonka;
        QPointer<QWidget> vladelec; // the box's parent window, or null
        Qt::WindowModality modalnost;
        QStringList knopki; // button captions, without '&'
    };
    TOtvetchik();
    QList<Okno> zapisi;
    QStringList Teksti() const;
    bool avto = true;
    QMessageBox::StandardButton otvet = QMessageBox::No;
    // Called when a box is first seen, before it is answered.
    std::function<void(QMessageBox*)> priPoyavlenii;
    // The first visible box (answered or not yet), or null.
    static QMessageBox* Vidimoe();
    // Answers the box `b` with `knopka` (main thread).
    static void Otvetit(QMessageBox* b, QMessageBox::StandardButton knopka);

  private:
    void Proverit();
    QTimer taymer_;
    QList<QPointer<QMessageBox>> uzheVideli_;
};

// Ends the process with a message when a test runs longer than allowed: a
// box that nobody answers must fail the test, not hang it.
class TStorog {
  public:
    explicit TStorog(int sekund);
    ~TStorog();

  private:
    std::mutex m_;
    std::condition_variable cv_;
    bool gotovo_ = false;
    std::thread potok_;
};

// The temporary folder that holds the test program's XDG_CONFIG_HOME
// (config/) and XDG_STATE_HOME (state/), set before main; removed at exit.
QString PapkaTestov();

// Process set-up of the window tests: literal tables for "," as separator,
// an empty constant cache, the window's ShowError handler, Qt's Russian
// translation if present.
void PodgotovitProcess();
// The engine of the test program (made by the first call).
TDvigatel& Dvigatel();
// A new main window on that engine into okno, shown; true once it is
// exposed (the window manager, if any, has mapped it).
bool OtkritGlavnoeOkno(std::unique_ptr<TfrmMain>& okno);
