// Colouring of the definitions field: the name left of the first "=",
// number literals (with their separator, exponent and radix marks), the
// sixteen function names before their "(", operators, and brackets, a
// bracket without partner on its line marked as an error. It only adds
// formats to the layout: the text, and so what a run reads, stays as it is.
// Main thread only.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QPlainTextEdit;

class TPodsvetka : public QSyntaxHighlighter {
  public:
    enum Vid { IMYA, CHISLO, FUNKCIYA, OPERATOR, SKOBKA, OSHIBKA, VIDOV };

    // Colours the document of `pole` and follows its palette.
    explicit TPodsvetka(QPlainTextEdit* pole);

    // The format of each kind of token, from the palette of the field.
    const QTextCharFormat& Format(Vid v) const { return formati_[v]; }

  protected:
    void highlightBlock(const QString& stroka) override;
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    void PostroitFormati();
    // Colours the expression part of a line, from `nachalo` on.
    void Virazhenie(const QString& s, int nachalo);
    QPlainTextEdit* pole_;
    QTextCharFormat formati_[VIDOV];
};
