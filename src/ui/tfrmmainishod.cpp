// What the main window shows of a run's outcome: the history row, the
// failure selected in the definitions, the warning line and the underlines.
// Main thread only.
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>

#include "ui/podsvetka.h"
#include "ui/tekstqt.h"
#include "ui/tfrmmain.h"

// --- The record of a run: history, failure, warnings ---------------------------

void TfrmMain::NachatZapisZapuska() {
    voditel_->NachatZapis(ebPeremennaya->text().trimmed(), PoluchitOsnovanie());
    opredeleniyaZapuska_ = mPeremennie->toPlainText();
    UbratPreduprezhdeniya();
}

void TfrmMain::ZavershitZapisZapuska(const TIshodOkna& ishod) {
    const TZapisIstorii& zapis = voditel_->ZavershitZapis(ishod, ebKolichestvoRasryadovTag);
    frmIstoriya->Dobavit(zapis);
    if (zakrit_) return;
    PokazatPreduprezhdeniya(ishod.preduprezhdeniya);
    if (!zapis.uspeh) VydelitNeudachu(ishod);
}

void TfrmMain::VydelitNeudachu(const TIshodOkna& ishod) {
    if (ishod.sostoyanie == TSostoyanieProgona::Ostanovlen || ishod.stroka <= 0 ||
        mPeremennie->toPlainText() != opredeleniyaZapuska_)
        return;
    const QTextBlock blok = mPeremennie->document()->findBlockByNumber(ishod.stroka - 1);
    if (!blok.isValid()) return;
    QTextCursor k(blok);
    const int dlinaStroki = blok.length() - 1; // without its line break
    if (ishod.nachalo >= 0 && ishod.dlina > 0 && ishod.nachalo + ishod.dlina <= dlinaStroki) {
        k.setPosition(blok.position() + ishod.nachalo);
        k.setPosition(blok.position() + ishod.nachalo + ishod.dlina, QTextCursor::KeepAnchor);
    } else {
        k.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    mPeremennie->setTextCursor(k);
    videlenieNeudachi_ = {k.selectionStart(), k.selectionEnd()};
    mPeremennie->ensureCursorVisible();
    mPeremennie->setFocus();
}

void TfrmMain::PokazatPreduprezhdeniya(const QList<TPreduprezhdenieOkna>& preduprezhdeniya) {
    UbratPreduprezhdeniya();
    if (preduprezhdeniya.isEmpty()) return;
    QStringList vse;
    for (const TPreduprezhdenieOkna& p : preduprezhdeniya)
        vse.append(TekstPreduprezhdeniya(p.stroka, p.tekst));
    tekstPreduprezhdeniya_ = vse.first();
    if (vse.size() > 1) tekstPreduprezhdeniya_ += QStringLiteral(" (ещё %1)").arg(vse.size() - 1);
    lbPreduprezhdenie->setToolTip(vse.join(QLatin1Char('\n')));
    PodognatPreduprezhdenie();

    // The spans are positions in the text the run read.
    if (mPeremennie->toPlainText() != opredeleniyaZapuska_) return;
    QList<QTextEdit::ExtraSelection> videleniya;
    QTextDocument* dokument = mPeremennie->document();
    for (const TPreduprezhdenieOkna& p : preduprezhdeniya) {
        const QTextBlock blok = dokument->findBlockByNumber(p.stroka - 1);
        if (p.stroka <= 0 || !blok.isValid() || p.nachalo < 0 || p.dlina <= 0 ||
            p.nachalo + p.dlina > blok.length() - 1)
            continue;
        QTextEdit::ExtraSelection v;
        v.cursor = QTextCursor(dokument);
        v.cursor.setPosition(blok.position() + p.nachalo);
        v.cursor.setPosition(blok.position() + p.nachalo + p.dlina, QTextCursor::KeepAnchor);
        v.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        v.format.setUnderlineColor(CvetPreduprezhdeniya());
        videleniya.append(v);
        podcherkivaniya_.append({v.cursor.selectionStart(), v.cursor.selectionEnd(), p.tekst});
    }
    mPeremennie->setExtraSelections(videleniya);
}

void TfrmMain::UbratPreduprezhdeniya() {
    tekstPreduprezhdeniya_.clear();
    lbPreduprezhdenie->clear();
    lbPreduprezhdenie->setToolTip(QString());
    UbratPodcherkivaniya();
}

void TfrmMain::UbratPodcherkivaniya() {
    if (podcherkivaniya_.isEmpty()) return;
    podcherkivaniya_.clear();
    mPeremennie->setExtraSelections({});
}

void TfrmMain::PodognatPreduprezhdenie() {
    lbPreduprezhdenie->setText(lbPreduprezhdenie->fontMetrics().elidedText(
        tekstPreduprezhdeniya_, Qt::ElideRight, lbPreduprezhdenie->width()));
}

QString TfrmMain::PreduprezhdenieV(const QPoint& tochka) const {
    // The line of the field does not wrap: a span is one stretch of one
    // line, from the caret rectangle at its start to the one at its end.
    const int mesto = mPeremennie->cursorForPosition(tochka).position();
    for (const TPodcherkivanie& p : podcherkivaniya_) {
        if (mesto < p.nachalo || mesto > p.konec) continue;
        QTextCursor k(mPeremennie->document());
        k.setPosition(p.nachalo);
        const QRect nachalo = mPeremennie->cursorRect(k);
        k.setPosition(p.konec);
        const QRect konec = mPeremennie->cursorRect(k);
        if (tochka.x() >= nachalo.left() && tochka.x() <= konec.right() &&
            tochka.y() >= nachalo.top() && tochka.y() <= nachalo.bottom())
            return p.tekst;
    }
    return QString();
}

void TfrmMain::VstavitIzIstorii(const QString& tekst) {
    // The selection that marks a failed line is the program's, not the
    // user's: a result from the history goes in after it, not over it.
    QTextCursor k = mPeremennie->textCursor();
    if (k.hasSelection() && k.selectionStart() == videlenieNeudachi_.first &&
        k.selectionEnd() == videlenieNeudachi_.second) {
        k.setPosition(k.selectionEnd());
        mPeremennie->setTextCursor(k);
    }
    Vstavit(tekst);
    activateWindow();
    mPeremennie->setFocus();
}
