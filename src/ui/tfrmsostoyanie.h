// The progress window "Процесс вычислений": one read-only log of the steps of
// a calculation run. The main window creates a fresh one for every run, keeps
// it out of sight (hidden) and brings it on screen later (PokazatNaEkrane).
// Main thread only.
#pragma once

#include <QWidget>

class QPlainTextEdit;

class TfrmSostoyanie : public QWidget {
  public:
    // A top-level window owned by `vladelec` (destroyed with it), not shown.
    explicit TfrmSostoyanie(QWidget* vladelec);

    // The on-screen top edge, in pixels, fixed at creation (FormCreate).
    int Tag = 0;
    QPlainTextEdit* mSostoyanie = nullptr;

    // Inserts a log text at the log's insertion point, replacing the
    // selection if any; the point then stands after the text. While the log
    // is empty a leading CR LF is dropped, so the log does not open with an
    // empty line. CR LF and lone CR become line breaks.
    void Dobavit(const QString& tekst);

    // Brings the window on screen at its top edge Tag and gives it the focus.
    void PokazatNaEkrane();

  private:
    void FormCreate();
};
