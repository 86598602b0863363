// The progress window "Процесс вычислений": one read-only log of the steps of
// a calculation run. The main window creates a fresh one for every run, keeps
// it out of sight (hidden) and brings it on screen later (PokazatNaEkrane).
// Main thread only.
#pragma once

#include <QDeadlineTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

class QPlainTextEdit;

class TfrmSostoyanie : public QWidget {
  public:
    // A tool window of `vladelec` (kept above it, destroyed with it), shown
    // without taking the focus; not shown yet.
    explicit TfrmSostoyanie(QWidget* vladelec);

    // The on-screen top edge, in pixels, fixed at creation (FormCreate).
    int Tag = 0;
    QPlainTextEdit* mSostoyanie = nullptr;

    // Inserts a log text at the log's insertion point, replacing the
    // selection if any; the point then stands after the text. While the log
    // is empty a leading CR LF is dropped, so the log does not open with an
    // empty line. CR LF and lone CR become line breaks.
    void Dobavit(const QString& tekst);

    // Brings the window on screen at its top edge Tag, above its owner; the
    // focus stays where it is.
    void PokazatNaEkrane();

    // Places the window before it comes on screen: at `zapomnennoe` (the
    // frame's top-left corner and the size) when that lies on a screen;
    // otherwise beside the main window, whose frame is `glavnoe`, where the
    // work area has room on its right or left (this window's frame taken
    // to add `dobavkaRamki` as the main window's does); otherwise centred
    // as at creation. Tag follows.
    void Razmestit(const QRect& glavnoe, QSize dobavkaRamki, const QRect& zapomnennoe);
    // Called with the frame's top-left corner and the size when the user
    // moves or resizes the window on screen.
    std::function<void(const QRect&)> priPeremeshchenii;

  protected:
    bool event(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void FormCreate();
    // The window that was active when PokazatNaEkrane showed this one, and
    // until when an activation of this one is handed back to it.
    QPointer<QWidget> vernutAktivnost_;
    QDeadlineTimer srokVozvrata_;
    // Where the window was last put by the program (not by the user), and
    // whether it is being put there now.
    QRect postavleno_;
    bool stavlyu_ = false;
    void SoobshitMesto();
};
