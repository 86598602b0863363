// The main window from the keyboard: the tab chain, the keypad's arrow keys,
// mnemonics, F10, accessible names, the settings fields' checks, and the
// boxes the calculation thread shows (their time is not the run's).
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "number/vm_mashinnye.h"
#include "ui/tekstqt.h"
#include "ui/tfrmmain.h"

namespace {

// Runs a task once the mouse button now down has been released and the
// release has been handled (the click it ends has done its work).
class TPosleOtpuskaniya : public QObject {
  public:
    TPosleOtpuskaniya(QObject* roditel, std::function<void()> f)
        : QObject(roditel), f_(std::move(f)) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease && !otpuscheno_) {
            otpuscheno_ = true;
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                deleteLater();
                f_();
            });
        }
        return false;
    }

  private:
    std::function<void()> f_;
    bool otpuscheno_ = false;
};

} // namespace

void TfrmMain::UstanovitPoryadokTab() {
    // Reading order of the row and then the settings: definitions, name,
    // result, "=", the radix (the checked button and, when enabled, the
    // custom radix), the angle unit, the digits, and one stop for the keypad.
    // A radio group is one stop (Qt gives the tab focus to its checked
    // button); the keypad's buttons take the focus by a click or by the
    // arrow keys from the one that is a stop, since they only insert what
    // can be typed.
    QList<QPushButton*> knopki = pnKnopki->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
    std::stable_sort(knopki.begin(), knopki.end(), [](QPushButton* a, QPushButton* b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    knopki.removeOne(bnVichislit);
    for (QPushButton* b : knopki) {
        b->setFocusPolicy(Qt::ClickFocus);
        b->installEventFilter(this);
    }
    const QList<QWidget*> poryadok = {mPeremennie,
                                      ebPeremennaya,
                                      ebZnachenie,
                                      bnVichislit,
                                      rbOsnovanie16,
                                      rbOsnovanie10,
                                      rbOsnovanie3,
                                      rbOsnovanie2,
                                      rbProizvolnoeOsnovanie,
                                      ebOsnovanie,
                                      rbGradusi,
                                      rbRadiani,
                                      rbGradi,
                                      ebKolichestvoRasryadov,
                                      knopki.first()};
    knopki.first()->setFocusPolicy(Qt::StrongFocus);
    // Only the checked button of a radio group is a tab stop; the arrow keys
    // move within the group.
    for (QRadioButton* rb : pnKnopki->findChildren<QRadioButton*>()) {
        auto politika = [rb] {
            rb->setFocusPolicy(rb->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        };
        politika();
        connect(rb, &QRadioButton::toggled, this, politika);
        rb->installEventFilter(this);
    }
    for (int i = 0; i + 1 < poryadok.size(); ++i) setTabOrder(poryadok[i], poryadok[i + 1]);
}

bool TfrmMain::PereytiPoKnopkam(QWidget* ot, int klavisha) {
    if (auto* rb = qobject_cast<QRadioButton*>(ot)) {
        // Within a radio group: the next enabled button, round, checked.
        const int vpered = klavisha == Qt::Key_Right || klavisha == Qt::Key_Down ? 1
                           : klavisha == Qt::Key_Left || klavisha == Qt::Key_Up  ? -1
                                                                                 : 0;
        if (vpered == 0) return false;
        QList<QRadioButton*> gruppa =
            rb->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
        gruppa.removeIf([](QRadioButton* b) { return !b->isEnabled(); });
        std::sort(gruppa.begin(), gruppa.end(),
                  [](QRadioButton* a, QRadioButton* b) { return a->x() < b->x(); });
        const qsizetype n = gruppa.size(), i = gruppa.indexOf(rb);
        if (n == 0 || i < 0) return true;
        QRadioButton* sled = gruppa[(i + vpered + n) % n];
        sled->setFocus(Qt::TabFocusReason);
        sled->click();
        return true;
    }
    QPoint shag;
    switch (klavisha) {
    case Qt::Key_Left:
        shag = {-1, 0};
        break;
    case Qt::Key_Right:
        shag = {1, 0};
        break;
    case Qt::Key_Up:
        shag = {0, -1};
        break;
    case Qt::Key_Down:
        shag = {0, 1};
        break;
    default:
        return false;
    }
    // The nearest button whose centre lies that way, a step across the way
    // counting three times a step along it.
    const QPoint c = ot->geometry().center();
    QWidget* luchshaya = nullptr;
    int luchshe = 0;
    for (QPushButton* b : pnKnopki->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        if (b == ot || b == bnVichislit || !b->isEnabled()) continue;
        const QPoint d = b->geometry().center() - c;
        const int vdol = d.x() * shag.x() + d.y() * shag.y();
        if (vdol <= 0) continue;
        const int poperek = std::abs(d.x() * shag.y() + d.y() * shag.x());
        const int mera = vdol + 3 * poperek;
        if (luchshaya == nullptr || mera < luchshe) luchshaya = b, luchshe = mera;
    }
    if (luchshaya != nullptr) luchshaya->setFocus(Qt::TabFocusReason);
    return true;
}

void TfrmMain::UstanovitDostupnost() {
    // Mnemonics: the captions stay; a letter is marked where the caption
    // has one that no other control of the window uses.
    findChild<QMenu*>(QStringLiteral("N1"))->menuAction()->setText(QStringLiteral("&Параметры"));
    miPromegutochnieRascheti->setText(QStringLiteral("&Промежуточные расчёты"));
    miIstoriya->setText(QStringLiteral("&История вычислений"));
    gbSistemaIschisleniya->setTitle(QStringLiteral(" &Основание системы исчисления "));
    gbEdiniciIzmereniyaUgla->setTitle(QStringLiteral(" &Единицы измерения угла "));
    rbProizvolnoeOsnovanie->setText(QStringLiteral("Др&угое:"));
    rbGradusi->setText(QStringLiteral("&Градусы"));
    rbRadiani->setText(QStringLiteral("Р&адианы"));
    rbGradi->setText(QStringLiteral("Гра&ды"));
    lbKolichestvoRazryadov->setText(QStringLiteral("&Разрядов:"));
    lbKolichestvoRazryadov->setBuddy(ebKolichestvoRasryadov);

    mPeremennie->setAccessibleName(QStringLiteral("Определения"));
    ebPeremennaya->setAccessibleName(QStringLiteral("Имя вычисляемой переменной"));
    ebZnachenie->setAccessibleName(QStringLiteral("Значение"));
    ebOsnovanie->setAccessibleName(QStringLiteral("Другое основание"));
    frmIstoriya->spIstoriya->setAccessibleName(QStringLiteral("История вычислений"));
    // The history, with no room beside the window, leaves the definitions
    // and the result row in sight.
    frmIstoriya->neZakrivat = pnPeremennayaIZnachenie;

    // F10 opens the first menu, as on most desktops.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().first());
    });

    // Return applies a field at once; choosing "Другое:" puts the caret in
    // its field (a click, not a check made by the program).
    connect(ebOsnovanie, &QLineEdit::returnPressed, this, [this] { ebOsnovanieExit(); });
    connect(ebKolichestvoRasryadov, &QLineEdit::returnPressed, this,
            [this] { ebKolichestvoRasryadovExit(); });
    connect(rbProizvolnoeOsnovanie, &QAbstractButton::clicked, this, [this] {
        if (!ebOsnovanie->isEnabled()) return;
        ebOsnovanie->setFocus(Qt::OtherFocusReason);
        ebOsnovanie->selectAll();
    });
}

void TfrmMain::PriVihodeIzPolya(QLineEdit* pole, Qt::FocusReason prichina) {
    // Read without a message: only a text that needs one waits.
    const std::string b = VBaiti(pole->text());
    double znachenie = 0;
    bool verno = TekstVChislo(&znachenie, b.data(), int(b.size()), false) == TVCH_USPEH;
    if (pole == ebOsnovanie && verno)
        verno = static_cast<std::uint32_t>(Okruglit(znachenie)) - 2 <= 34; // 2..36
    auto proverit = [this, pole, nomer = voditel_->Nomer()] {
        if (pole == ebOsnovanie) {
            // Another radix chosen meanwhile: the typed one is dropped.
            if (ebOsnovanie->isEnabled())
                ebOsnovanieExit();
            else
                ebOsnovanie->setText(VQString(CeloeVStroku(ebOsnovanieTag)));
        } else if (nomer == voditel_->Nomer()) {
            // A run started meanwhile reads the field and says what is wrong.
            ebKolichestvoRasryadovExit();
        }
    };
    if (verno || prichina != Qt::MouseFocusReason)
        proverit();
    else
        new TPosleOtpuskaniya(this, proverit);
}

void TfrmMain::VernutFokus() {
    if (zakrit_) return;
    // A run that did not start for its empty name: the name is to be typed.
    if (!voditel_->Zapis().uspeh && voditel_->Zapis().imya.isEmpty()) {
        ebPeremennaya->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A field the user is typing in while the run went on keeps the caret.
    auto* pole = qobject_cast<QLineEdit*>(focusWidget());
    if (pole == nullptr || pole == ebZnachenie) mPeremennie->setFocus(Qt::OtherFocusReason);
}

bool TfrmMain::PriPokazeOshibki(QMessageBox* box) {
    if (zakrit_) return false; // the window goes: its run ends without a word
    oknaZapuska_.append(box);
    voditel_->OknoOtkrito();
    connect(box, &QDialog::finished, this, [this] { voditel_->OknoZakrito(); });
    return true;
}

void TfrmMain::ZakritOknaZapuska() {
    const QList<QPointer<QMessageBox>> okna = std::exchange(oknaZapuska_, {});
    for (const QPointer<QMessageBox>& b : okna)
        if (b != nullptr && b->isVisible()) b->done(QMessageBox::Ok);
}
