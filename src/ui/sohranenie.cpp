#include "ui/sohranenie.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <QStringDecoder>

#include "eval/zapusk.h"
#include "ui/fayli.h"
#include "ui/tfrmistoriya.h"
#include "ui/tfrmmain.h"

namespace {

constexpr int VERSIYA_SESSII = 1;

// One warning per file and process: the settings file is opened more than
// once (the recent files read it too).
void Predupredit(const QString& put, const QString& prichina) {
    static QSet<QString> uzhe;
    if (uzhe.contains(put)) return;
    uzhe.insert(put);
    qWarning("ciframer: %s: %s, не учитывается", qUtf8Printable(QDir::toNativeSeparators(put)),
             qUtf8Printable(prichina));
}

QString PapkaSostoyaniya() {
    QString baza = qEnvironmentVariable("XDG_STATE_HOME");
    if (baza.isEmpty() || !QDir::isAbsolutePath(baza))
        baza = QDir::homePath() + QStringLiteral("/.local/state");
    return baza + QStringLiteral("/ciframer");
}

// The radix selection as kept: 16, 10, 3 or 2, or 0 for "Другое:".
int VibranniyRadix(const TfrmMain& o) {
    if (o.rbOsnovanie16->isChecked()) return 16;
    if (o.rbOsnovanie3->isChecked()) return 3;
    if (o.rbOsnovanie2->isChecked()) return 2;
    if (o.rbProizvolnoeOsnovanie->isChecked()) return 0;
    return 10;
}

QJsonObject VJson(const TZapisIstorii& z) {
    return {{QStringLiteral("imya"), z.imya},
            {QStringLiteral("osnovanie"), z.osnovanie},
            {QStringLiteral("ugol"), z.edinicaUgla},
            {QStringLiteral("razryadov"), z.razryadov},
            {QStringLiteral("uspeh"), z.uspeh},
            {QStringLiteral("tekst"), z.tekst},
            {QStringLiteral("ms"), double(z.ms)},
            {QStringLiteral("preduprezhdeniya"), QJsonArray::fromStringList(z.preduprezhdeniya)}};
}

// A kept run; false for one that no run can have produced.
bool IzJson(const QJsonObject& o, TZapisIstorii& z) {
    z.imya = o.value(QStringLiteral("imya")).toString();
    z.osnovanie = o.value(QStringLiteral("osnovanie")).toInt(-1);
    z.edinicaUgla = o.value(QStringLiteral("ugol")).toInt(-1);
    z.razryadov = o.value(QStringLiteral("razryadov")).toInt(-1);
    z.uspeh = o.value(QStringLiteral("uspeh")).toBool();
    z.tekst = o.value(QStringLiteral("tekst")).toString();
    z.ms = qint64(o.value(QStringLiteral("ms")).toDouble(-1));
    for (const QJsonValue& p : o.value(QStringLiteral("preduprezhdeniya")).toArray())
        z.preduprezhdeniya.append(p.toString());
    return z.osnovanie >= 2 && z.osnovanie <= 36 && z.edinicaUgla >= 0 && z.edinicaUgla <= 2 &&
           z.razryadov >= 0 && z.razryadov <= 100 && z.ms >= 0;
}

// QSettings reads almost any bytes as an INI file: a file that is not text
// at all (a NUL byte, not UTF-8) is damaged whatever it makes of it.
bool TekstovoyFayl(const QString& put) {
    QFile f(put);
    if (!f.open(QIODevice::ReadOnly)) return true; // absent, or QSettings tells
    const QByteArray baiti = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString tekst = utf8.decode(baiti); // decoded only when made a QString
    return !baiti.contains('\0') && !utf8.hasError();
}

} // namespace

std::unique_ptr<QSettings> OtkritNastroyki() {
    const auto otkrit = [] {
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("ciframer"), QStringLiteral("ciframer"));
    };
    std::unique_ptr<QSettings> n = otkrit();
    // Every section parsed now: a file the process has read before is
    // checked only as far as it is read.
    n->allKeys();
    const QString put = n->fileName();
    if (n->status() == QSettings::AccessError) {
        Predupredit(put, QStringLiteral("файл не читается"));
        n->clear();
    } else if (n->status() == QSettings::FormatError || !TekstovoyFayl(put)) {
        // Nothing of it is taken; the next write makes it anew.
        Predupredit(put, QStringLiteral("файл повреждён"));
        n.reset();
        QFile::remove(put);
        n = otkrit();
    }
    return n;
}

QString PutSessii() {
    return PapkaSostoyaniya() + QStringLiteral("/sessiya.json");
}

void TSohranenie::Vosstanovit() {
    VosstanovitNastroyki();
    VosstanovitSessiyu();
}

void TSohranenie::Zapisat() {
    ZapisatNastroyki();
    ZapisatSessiyu();
}

void TSohranenie::VosstanovitNastroyki() {
    const std::unique_ptr<QSettings> n = OtkritNastroyki();
    TfrmMain& o = okno_;
    // Each value is taken only when it is one the window can hold, so that
    // no message box comes up at start.
    const int drugoe = n->value(QStringLiteral("drugoeOsnovanie"), -1).toInt();
    if (drugoe >= 2 && drugoe <= 36) {
        o.ebOsnovanieTag = drugoe;
        o.ebOsnovanie->setText(QString::number(drugoe));
    }
    switch (n->value(QStringLiteral("osnovanie"), 10).toInt()) {
    case 16:
        o.rbOsnovanie16->setChecked(true);
        break;
    case 3:
        o.rbOsnovanie3->setChecked(true);
        break;
    case 2:
        o.rbOsnovanie2->setChecked(true);
        break;
    case 0:
        o.rbProizvolnoeOsnovanie->setChecked(true); // applies ebOsnovanie
        break;
    default:
        break;
    }
    switch (n->value(QStringLiteral("ugol"), 1).toInt()) {
    case 0:
        o.rbRadiani->setChecked(true);
        break;
    case 2:
        o.rbGradi->setChecked(true);
        break;
    default:
        break;
    }
    const int razryadov = n->value(QStringLiteral("razryadov"), -1).toInt();
    if (razryadov >= 0 && razryadov <= 100) {
        o.ebKolichestvoRasryadovTag = razryadov;
        o.ebKolichestvoRasryadov->setText(QString::number(razryadov));
    }
    o.miPromegutochnieRascheti->setChecked(
        n->value(QStringLiteral("promezhutochnieRascheti"), false).toBool());
    // A window placed from the last start is not fitted again once shown;
    // restoreGeometry keeps it on a screen that exists now.
    if (o.restoreGeometry(n->value(QStringLiteral("geometriya")).toByteArray())) o.podognan_ = true;
    // Where the user last put the progress window; one off every screen
    // now is not used (the window then goes beside the main one).
    o.UstanovitMestoOknaSostoyaniya(n->value(QStringLiteral("mestoOknaSostoyaniya")).toRect());
}

void TSohranenie::ZapisatNastroyki() {
    const std::unique_ptr<QSettings> n = OtkritNastroyki();
    const TfrmMain& o = okno_;
    n->setValue(QStringLiteral("osnovanie"), VibranniyRadix(o));
    n->setValue(QStringLiteral("drugoeOsnovanie"), o.ebOsnovanieTag);
    n->setValue(QStringLiteral("ugol"), o.rbRadiani->isChecked() ? 0
                                        : o.rbGradi->isChecked() ? 2
                                                                 : 1);
    n->setValue(QStringLiteral("razryadov"), o.ebKolichestvoRasryadovTag);
    n->setValue(QStringLiteral("promezhutochnieRascheti"), o.miPromegutochnieRascheti->isChecked());
    n->setValue(QStringLiteral("geometriya"), o.saveGeometry());
    if (o.MestoOknaSostoyaniya().isValid())
        n->setValue(QStringLiteral("mestoOknaSostoyaniya"), o.MestoOknaSostoyaniya());
    n->sync();
    if (n->status() != QSettings::NoError)
        qWarning("ciframer: %s: настройки не записаны",
                 qUtf8Printable(QDir::toNativeSeparators(n->fileName())));
}

void TSohranenie::VosstanovitSessiyu() {
    QFile f(PutSessii());
    if (!f.exists()) return;
    if (!f.open(QIODevice::ReadOnly)) {
        Predupredit(f.fileName(), QStringLiteral("файл не читается"));
        return;
    }
    QJsonParseError oshibka{};
    const QJsonDocument d = QJsonDocument::fromJson(f.readAll(), &oshibka);
    const QJsonObject s = d.object();
    if (oshibka.error != QJsonParseError::NoError || !d.isObject() ||
        s.value(QStringLiteral("versiya")).toInt() != VERSIYA_SESSII) {
        Predupredit(f.fileName(), QStringLiteral("файл повреждён"));
        return;
    }
    TfrmMain& o = okno_;
    o.mPeremennie->setPlainText(s.value(QStringLiteral("opredeleniya")).toString());
    const QJsonValue imya = s.value(QStringLiteral("imya"));
    if (imya.isString()) o.ebPeremennaya->setText(imya.toString());
    o.fayli->UstanovitFayl(s.value(QStringLiteral("fayl")).toString());
    o.mPeremennie->document()->setModified(s.value(QStringLiteral("izmeneno")).toBool());
    const QJsonArray istoriya = s.value(QStringLiteral("istoriya")).toArray();
    for (qsizetype i = std::max<qsizetype>(0, istoriya.size() - TfrmIstoriya::MAKS_ZAPISEY);
         i < istoriya.size(); ++i) {
        TZapisIstorii z;
        if (IzJson(istoriya[i].toObject(), z)) o.frmIstoriya->Dobavit(z);
    }
}

void TSohranenie::ZapisatSessiyu() {
    const TfrmMain& o = okno_;
    QJsonArray istoriya;
    for (const TZapisIstorii& z : o.frmIstoriya->Zapisi()) istoriya.append(VJson(z));
    const QJsonObject s{{QStringLiteral("versiya"), VERSIYA_SESSII},
                        {QStringLiteral("opredeleniya"), o.mPeremennie->toPlainText()},
                        {QStringLiteral("imya"), o.ebPeremennaya->text()},
                        {QStringLiteral("fayl"), o.fayli->Fayl()},
                        {QStringLiteral("izmeneno"), o.mPeremennie->document()->isModified()},
                        {QStringLiteral("istoriya"), istoriya}};
    const QString put = PutSessii();
    QSaveFile f(put);
    if (!QDir().mkpath(QFileInfo(put).path()) || !f.open(QIODevice::WriteOnly) ||
        f.write(QJsonDocument(s).toJson(QJsonDocument::Compact)) < 0 || !f.commit())
        qWarning("ciframer: %s: сессия не записана: %s",
                 qUtf8Printable(QDir::toNativeSeparators(put)), qUtf8Printable(f.errorString()));
}
