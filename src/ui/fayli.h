// Definitions files: the menu "Файл" of the main window (open, save, save
// as, the recent files), opening a file dropped on the window, and the
// window title that names the file. A file is what the command line reads:
// UTF-8 text, one definition a line (a byte order mark skipped on reading).
// A read or write failure is told in a box and leaves the definitions in the
// window as they were; a file is written to a temporary file that then
// replaces it. Main thread only.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class TfrmMain;

class TFayli : public QObject {
  public:
    // Puts the menu "Файл" before the window's first menu and lets the
    // window take dropped files.
    explicit TFayli(TfrmMain& okno);

    // The file the definitions belong to (empty: none).
    QString Fayl() const { return fayl_; }
    // Names the file of the definitions in the window title (empty: none).
    void UstanovitFayl(const QString& put);

    // Opens `put` into the definitions, first offering to save changed
    // definitions. False when cancelled or the file could not be read.
    bool Otkrit(const QString& put);
    // Reads `put` into the definitions without asking; false (with a box)
    // when it cannot be read.
    bool Prochitat(const QString& put);
    // Writes the definitions into `put`; false (with a box) when they could
    // not be written. The definitions then belong to `put`.
    bool ZapisatV(const QString& put);
    // "Сохранить": into the current file, or as "Сохранить как…" without one.
    bool Sohranit();
    // "Сохранить как…": asks for a name; false when cancelled or failed.
    bool SohranitKak();
    // Changed definitions: asks whether to save them first. True when the
    // caller may go on (saved, not wanted, or nothing to save).
    bool MozhnoZamenit();

    // The recent files, newest first (at most MAKS_NEDAVNIH), as kept in the
    // settings.
    static QStringList Nedavnie();
    static constexpr int MAKS_NEDAVNIH = 8;

    QMenu* miFayl = nullptr;
    QAction* miOtkrit = nullptr;
    QAction* miSohranit = nullptr;
    QAction* miSohranitKak = nullptr;
    QMenu* miNedavnie = nullptr;

  protected:
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    void SozdatMenu();
    void ZapolnitNedavnie();
    static void ZapomnitNedavniy(const QString& put);
    static void ZabitNedavniy(const QString& put);
    void Oshibka(const QString& tekst);
    QString Papka() const; // where the file dialogs start
    TfrmMain& okno_;
    QString fayl_;
};
