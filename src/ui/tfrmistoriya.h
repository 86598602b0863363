// The window "История вычислений": the finished runs of this session, newest
// first, each with its settings, its result (or why it failed) and its
// duration: the last MAKS_ZAPISEY of them. It lives as long as the main
// window, which keeps its runs between starts. Main thread only.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QTreeWidget;

// One finished run.
struct TZapisIstorii {
    QString imya;                 // the variable computed (trimmed)
    int osnovanie = 10;           // the radix the result is shown in (2..36)
    int edinicaUgla = 1;          // AngleUnit when the run ended: 0 rad, 1 deg, 2 grad
    int razryadov = 100;          // the digit count of the result (0..100)
    bool uspeh = false;           // true: `tekst` is the result as shown
    QString tekst;                // the result, or the message that says why there is none
    qint64 ms = 0;                // wall-clock duration, milliseconds
    QStringList preduprezhdeniya; // the run's warnings, as TekstPreduprezhdeniya gives them
};

// A warning as the window shows it: "Строка N: " and its text (the text
// alone for a warning about no line).
QString TekstPreduprezhdeniya(int stroka, const QString& tekst);

class TfrmIstoriya : public QDialog {
  public:
    // A non-modal window of `vladelec` (kept above it), empty, not shown.
    explicit TfrmIstoriya(QWidget* vladelec);

    // Shows the window, the first time beside its owner where the work area
    // has room (below or above it, lowered, where only that fits; else over
    // the owner below neZakrivat), so that the definitions stay readable;
    // raised and active.
    void Pokazat();

    // Puts a run at the top of the list; it becomes the current row unless
    // the current row is an older one. The oldest run beyond MAKS_ZAPISEY
    // goes.
    void Dobavit(const TZapisIstorii& zapis);
    static constexpr int MAKS_ZAPISEY = 500;
    // The runs in the list, oldest first.
    const QList<TZapisIstorii>& Zapisi() const { return zapisi_; }

    // Called with the result of a row the user chose (double-click, Enter or
    // Return); rows of failed runs have none and call nothing.
    std::function<void(const QString&)> priVybore;

    // What of the owner the first placement keeps uncovered when there is no
    // room beside the owner (null: nothing).
    QWidget* neZakrivat = nullptr;

    // The list: one row per run, newest first; columns name, radix, angle
    // unit, digits, result, duration, warnings (their count, the texts in
    // the cell's tooltip and under the result's).
    QTreeWidget* spIstoriya = nullptr;

  protected:
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    void Vybrat();    // hands the current row's result to priVybore
    void Kopirovat(); // copies the current row's result (or message)
    void Razmestit(); // the first placement, beside the owner
    bool razmeschen_ = false;
    QList<TZapisIstorii> zapisi_; // as the list holds them, oldest first
};
