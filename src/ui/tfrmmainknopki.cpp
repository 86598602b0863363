// The input buttons of the main window and what each one inserts into the
// definitions field.
#include <QApplication>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>

#include "number/vm_tekst.h"
#include "number/vm_chislo.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"
#include "ui/tekstqt.h"
#include "ui/tfrmmain.h"

namespace {

// What a button of the pad puts into the definitions.
enum class TDeystvie {
    Shablon,    // a template, around the selection when there is one
    Tekst,      // a text, over the selection
    Razdelitel, // the decimal separator of the literal tables
    Poryadok,   // the exponent letter
    Osnovanie,  // the radix letter
    ChisloE,    // e in the radix selected now
    ChisloPI,   // pi in the radix selected now
    Rezultat,   // the result shown, as a number
};

} // namespace

// One button of the pad: its name, caption, hint and place, and what it
// does. A template `tekst` goes in as it is when nothing is selected, else
// `sVydeleniem` goes in with every %1 replaced by the selection; a text
// `tekst` replaces the selection.
struct TKnopkaPaneli {
    const char* imya;
    const char* nadpis;
    const char* podskazka; // null: no hint
    int ryad;              // 0..4
    int stolbec;           // 0..9
    TDeystvie deystvie;
    const char* tekst = nullptr;
    const char* sVydeleniem = nullptr;
};

namespace {

using D = TDeystvie;

constexpr int VERH_RYADA[5] = {56, 88, 120, 152, 184};
constexpr int LEVO_STOLBCA[10] = {8, 68, 128, 188, 252, 312, 376, 430, 484, 538};

// Every button but the digits, in rows and columns of the button block.
const TKnopkaPaneli KNOPKI[] = {
    {"bnKvadrat", "x^2", "Квадрат sqr", 0, 0, D::Shablon, "sqr(x)", "sqr(%1)"},
    {"bnKoren", "sqrt(x)", "Квадратный корень sqrt", 0, 1, D::Shablon, "sqrt(x)", "sqrt(%1)"},
    {"bnStepen", "a^x", "Степень ^", 0, 2, D::Tekst, "^"},
    {"bnEksponenta", "e^x", "Экспонента exp", 0, 3, D::Shablon, "exp(x)", "exp(%1)"},
    {"bnRazdelitel", "Sep", "Разделитель , или .", 0, 4, D::Razdelitel},
    {"bnOkruglitDoMenshego", "INT-", "Ближайшее меньнее целое", 0, 5, D::Shablon, "int(x;-1)",
     "int(%1;-1)"},
    {"bnObratnoe", "1/x", "Обратное 1/x", 1, 0, D::Shablon, "1/x", "1/(%1)"},
    {"bnFaktorial", "n!", "Факториал fact", 1, 1, D::Shablon, "fact(x)", "fact(%1)"},
    {"bnDeleniePoModulyu", "x mod n", "Деление по модулю %", 1, 2, D::Tekst, "%"},
    {"bnSdvig", "<<", "Сдвиг мантиссы <<", 1, 3, D::Tekst, "<<"},
    {"bnPoryadok", "Exp", "Порядок E", 1, 4, D::Poryadok},
    {"bnOkruglitDoBligayshego", "INT", "Ближайшее целое", 1, 5, D::Shablon, "int(x;0)",
     "int(%1;0)"},
    {"bnNaturalniyLogarifm", "ln(x)", "Натуральный логарифм ln", 2, 0, D::Shablon, "ln(x)",
     "ln(%1)"},
    {"bnDesyatichniyLogarifm", "lg(x)", "Десятичный логарифм lg", 2, 1, D::Shablon, "lg(x)",
     "lg(%1)"},
    {"bnLogarifm", "log(a,x)", "Логарифм по основанию log", 2, 2, D::Shablon, "log(a;x)",
     "log(a;%1)"},
    {"bnChisloE", "e", nullptr, 2, 3, D::ChisloE},
    {"bnOsnovanie", "Rdx", "Основание R", 2, 4, D::Osnovanie},
    {"bnOkruglitDoBolshego", "INT+", "Ближайшее большее целое", 2, 5, D::Shablon, "int(x;1)",
     "int(%1;1)"},
    {"bnSinus", "sin(x)", "Синус sin", 3, 0, D::Shablon, "sin(x)", "sin(%1)"},
    {"bnKosinus", "cos(x)", "Косинус cos", 3, 1, D::Shablon, "cos(x)", "cos(%1)"},
    {"bnTangens", "tg(x)", "Тангенс tg", 3, 2, D::Shablon, "tg(x)", "tg(%1)"},
    {"bnChisloPI", "pi", nullptr, 3, 3, D::ChisloPI},
    {"bnChislo", "x=y", "Вставить результат", 3, 4, D::Rezultat},
    {"bnDrobnayaChast", "FRAC-", "Дробная часть", 3, 5, D::Shablon, "frac(x)", "frac(%1)"},
    {"bnArksinus", "arcsin(x)", "Арксинус arcsin", 4, 0, D::Shablon, "arcsin(x)", "arcsin(%1)"},
    {"bnArkkosinus", "arccos(x)", "Арккосинус arccos", 4, 1, D::Shablon, "arccos(x)", "arccos(%1)"},
    {"bnArktangens", "arctg(x)", "Арктангенс arctg", 4, 2, D::Shablon, "arctg(x)", "arctg(%1)"},
    // The selection is the angle argument of both the cosine and the sine.
    {"bnArktangens2", "arctg(c,s)", "Арктангенс arctg2", 4, 3, D::Shablon, "arctg2(cos(x);sin(x))",
     "arctg2(cos(%1);sin(%1))"},
    {"bnOtkritSkobku", "(", nullptr, 4, 4, D::Tekst, "("},
    {"bnZakritSkobku", ")", nullptr, 4, 5, D::Tekst, ")"},
    {"bnPribavit", "+", "Сложение", 4, 6, D::Tekst, "+"},
    {"bnOtnyat", "-", "Вычитание", 4, 7, D::Tekst, "-"},
    {"bnUmnogit", "*", "Умножение", 4, 8, D::Tekst, "*"},
    {"bnRazdelit", "/", "Деление", 4, 9, D::Tekst, "/"},
};

// Where each digit button stands: digit -> (row, column).
constexpr int RYAD_CIFRI[16] = {3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0};
constexpr int STOLBEC_CIFRI[16] = {6, 7, 8, 9, 6, 7, 8, 9, 6, 7, 8, 9, 6, 7, 8, 9};

QRect Mesto(int ryad, int stolbec) {
    const int shirina = stolbec < 6 ? 54 : 48;
    return QRect(LEVO_STOLBCA[stolbec], VERH_RYADA[ryad], shirina, 25);
}

QString Simvol(char c) {
    return VQString(std::string(1, c));
}

} // namespace

void TfrmMain::SozdatKnopki() {
    for (const TKnopkaPaneli& k : KNOPKI) {
        auto* b = new QPushButton(QString::fromUtf8(k.nadpis), pnKnopki);
        b->setObjectName(QString::fromLatin1(k.imya));
        const QString podskazka = k.podskazka ? QString::fromUtf8(k.podskazka) : QString();
        b->setToolTip(podskazka);
        b->setAccessibleName(podskazka.isEmpty() ? b->text() : podskazka);
        b->setGeometry(Mesto(k.ryad, k.stolbec));
        connect(b, &QPushButton::clicked, this, [this, &k] { bnKnopkaClick(k); });
    }
    for (int c = 0; c < 16; ++c) {
        const QString cifra = QString(QLatin1Char("0123456789ABCDEF"[c]));
        auto* b = new QPushButton(cifra, pnKnopki);
        b->setObjectName(QStringLiteral("bn") + cifra);
        b->setAccessibleName(cifra);
        b->setGeometry(Mesto(RYAD_CIFRI[c], STOLBEC_CIFRI[c]));
        connect(b, &QPushButton::clicked, this, [this, c] { bnCifraClick(c); });
        bnCifri[c] = b;
    }
    bnVichislit = new QPushButton(QStringLiteral("="), pnKnopki);
    bnVichislit->setObjectName(QStringLiteral("bnVichislit"));
    // No fixed accessible name: assistive tools read the caption, which
    // turns into "Стоп" while a run is in progress.
    bnVichislit->setGeometry(596, 56, 60, 153);
    connect(bnVichislit, &QPushButton::clicked, this, [this] { bnVichislitClick(); });
}

void TfrmMain::Vstavit(const QString& tekst) {
    QTextCursor kursor = mPeremennie->textCursor();
    kursor.insertText(tekst); // replaces the selection; the caret follows the text
    mPeremennie->setTextCursor(kursor);
}

void TfrmMain::VstavitShablon(const QString& shablon, const QString& sVydeleniem) {
    // QTextCursor marks line breaks inside a selection as U+2029.
    QString s = mPeremennie->textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    // One pass: a %1 inside the selection itself stays as it is.
    Vstavit(s.isEmpty() ? shablon : sVydeleniem.arg(s));
}

QString TfrmMain::TekstChisla(const vmChislo& x) {
    TAnsiString t;
    vmVTekst(t, &x, 1, PoluchitRazryadi(), VM_AVTO_EKSPONENTA | VM_S_OSNOVANIEM);
    return VQString(t);
}

void TfrmMain::bnKnopkaClick(const TKnopkaPaneli& k) {
    switch (k.deystvie) {
    case D::Shablon:
        VstavitShablon(QString::fromUtf8(k.tekst), QString::fromUtf8(k.sVydeleniem));
        break;
    case D::Tekst:
        Vstavit(QString::fromUtf8(k.tekst));
        break;
    case D::Razdelitel:
        Vstavit(Simvol(vmSimvoli.Razdelitel));
        break;
    case D::Poryadok:
        Vstavit(Simvol(vmSimvoli.Eksponenta));
        break;
    case D::Osnovanie:
        Vstavit(Simvol(vmSimvoli.Osnovanie));
        break;
    case D::ChisloE:
        Vstavit(TekstKonstanti(VM_K_E));
        break;
    case D::ChisloPI:
        Vstavit(TekstKonstanti(VM_K_PI));
        break;
    case D::Rezultat:
        Vstavit(TekstRezultata());
        break;
    }
    mPeremennie->setFocus();
}

void TfrmMain::bnCifraClick(int cifra) {
    Vstavit(QString(QLatin1Char("0123456789ABCDEF"[cifra])));
    mPeremennie->setFocus();
}

// The number buttons compute on the main thread, also while a run is in
// progress. A stopped run leaves CalcCancelled set until the next run starts;
// TBezOtmeny keeps that request from cutting these computations short.
// Building e or pi the first time in a radix may take seconds: the window
// shows the wait cursor meanwhile.
QString TfrmMain::TekstKonstanti(TVidKonstanti vid) {
    TBezOtmeny bezOtmeny;
    vmChislo x;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    vmKonstanta(&x, vid, static_cast<std::uint8_t>(PoluchitOsnovanie()));
    QApplication::restoreOverrideCursor();
    return TekstChisla(x);
}

QString TfrmMain::TekstRezultata() {
    TBezOtmeny bezOtmeny;
    TAnsiString s = VAnsi(ebZnachenie->text());
    vmChislo x;
    vmIzTeksta(&x, s);
    return TekstChisla(x);
}
