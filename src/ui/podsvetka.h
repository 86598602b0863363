// Colouring of the definitions field: the name left of the first "=",
// number literals (with their separator, exponent and radix marks), the
// function names before their "(", operators, and brackets, a bracket
// without partner on its line marked as an error. As the user types it also
// marks, with a wavy underline in the warnings' colour, a literal with a
// digit not valid in the radix selected now and a name before "(" that is
// no function. The tokens, the literal grammar and the function names are
// the evaluator's own (eval/yazik.h). It only adds formats to the layout:
// the text, and so what a run reads, stays as it is. Main thread only,
// while an engine exists (the literal rules need its tables).
#pragma once

#include <QColor>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QPlainTextEdit;

// The colour of a warning's wavy underline: a reddish orange that stands
// out on light and on dark bases alike.
QColor CvetPreduprezhdeniya();

class TPodsvetka : public QSyntaxHighlighter {
  public:
    enum Vid {
        IMYA,
        CHISLO,
        FUNKCIYA,
        OPERATOR,
        SKOBKA,
        OSHIBKA,
        NEVERNOE_CHISLO, // a literal not valid in the radix selected
        NET_FUNKCII,     // a name before "(" that is no function
        VIDOV
    };

    // Colours the document of `pole` and follows its palette.
    explicit TPodsvetka(QPlainTextEdit* pole);

    // The format of each kind of token, from the palette of the field.
    const QTextCharFormat& Format(Vid v) const { return formati_[v]; }

    // The radix literals are checked against (2..36; 10 at first); the
    // text is coloured again when it changes.
    void UstanovitOsnovanie(int osnovanie);

  protected:
    void highlightBlock(const QString& stroka) override;
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    void PostroitFormati();
    QPlainTextEdit* pole_;
    QTextCharFormat formati_[VIDOV];
    int osnovanie_ = 10;
};
