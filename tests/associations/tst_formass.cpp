#include "registerdesk.h"

using archive::File;

// The association window in its three menu modes (what each menu entry sets:
// tst_menu); viewing mode L is driven through the association list
// (tst_formlist).
class TestFormass : public QObject {
    Q_OBJECT
private slots:
    void cercaNarrowsActivationEmpties();
    void insertCleansChecksAndPlacesTheRecord();
    void modifyActsOnTheLoadedNameAndCarriesIt();
    void deleteAsksTwiceAndRemovesDependents();
};

namespace {

const QString kDuplicate = QString::fromUtf8("Associazione già presente nell'archivio.");

struct Desk {
    MainOffice office;
    Formass *w = nullptr;

    void open(const char *entry) { w = office.fromMenu<Formass>(entry); }
    QComboBox *denom() const { return w->findChild<QComboBox *>("cmbassdenom"); }
    QLineEdit *f(const char *name) const { return lineOf(w, name); }
    void registra() const { clickButton(w, "cmdassregistra"); }
    FakePrompts &prompts() { return office.fake.prompts; }
    // Name, then the eight fields below it; the last is the volunteer count.
    void fill(const QStringList &values)
    {
        const char *names[] = {"cmbassdenom", "assindir", "asscomune", "assprov", "asstel",
                               "assfax",      "assemail", "asscampo",  "assnumvol"};
        for (int i = 0; i < 9; ++i) typeInto(f(names[i]), values.value(i));
    }
    void fill(const QString &name, const QString &num) { fill({name, "", "", "", "", "", "", "", num}); }
};

} // namespace

void TestFormass::cercaNarrowsActivationEmpties()
{
    Desk d;
    d.office.write(File::Associazioni,
                   crlf({"ANPAS,,,,,,,,1,1", "CROCE ROSSA,,,,,,,,1,1", "MISERICORDIA,,,,,,,,1,1",
                         "SOCCORSO CRO,,,,,,,,1,1"}));
    d.open("mnassamod");
    // Cerca narrows the names, in small letters; an empty text lists all.
    QCOMPARE(entries(d.denom()).size(), 4);
    typeInto(d.denom(), "cro");
    clickButton(d.w, "cmdcercaass");
    QCOMPARE(entries(d.denom()), QStringList({"CROCE ROSSA", "SOCCORSO CRO"}));
    typeInto(d.denom(), "");
    clickButton(d.w, "cmdcercaass");
    QCOMPARE(entries(d.denom()).size(), 4);
    // A new activation empties the fields.
    typeInto(d.f("assindir"), "x");
    d.office.activate(d.w);
    QCOMPARE(d.f("assindir")->text(), QString());

    clickButton(d.w, "cmdassesci");
    QVERIFY(!d.w->isVisible());
    QVERIFY(d.prompts().shown.isEmpty());
}

void TestFormass::insertCleansChecksAndPlacesTheRecord()
{
    Desk d;
    d.open("mnassains");
    QCOMPARE(d.f("assnumvol")->text(), QString("0"));
    d.fill({"Gruppo, \"Alfa\" Nord", "via roma, 1", "borgo", "xx", "", "", "", "campo 2", "12"});
    d.registra();
    QCOMPARE(d.office.read(File::Associazioni),
             crlf({"GRUPPO   ALFA  NORD,VIA ROMA  1,BORGO,XX,,,,CAMPO 2,12,12"}));
    QVERIFY(d.prompts().shown.isEmpty()); // no message on insert
    QCOMPARE(d.denom()->currentText(), QString());
    QCOMPARE(d.f("assindir")->text(), QString());
    QCOMPARE(d.f("assnumvol")->text(), QString("0"));
    QVERIFY(d.denom()->hasFocus() || d.denom()->lineEdit()->hasFocus());

    // In order by character code (digits before capitals); the records
    // copied meanwhile go out in number form.
    for (const char *r : {"alba|3", "zeta|-4", "1 gruppo|+2"}) {
        const QStringList v = QString(r).split('|');
        d.fill(v[0], v[1]);
        d.registra();
    }
    QCOMPARE(d.office.read(File::Associazioni),
             crlf({"1 GRUPPO,,,,,,,,+2,+2", "ALBA,,,,,,,, 3 , 3 ",
                   "GRUPPO   ALFA  NORD,VIA ROMA  1,BORGO,XX,,,,CAMPO 2, 12 , 12 ", "ZETA,,,,,,,,-4 ,-4 "}));

    // Refused: a message, the cleaned texts in the fields, no archive
    // touched. The checks: tst_association_records; every bad number and
    // character, field by field: tst_badinput.
    const QByteArray before = d.office.read(File::Associazioni);
    d.prompts().clear();
    d.fill({"alba", "via, due", "", "", "", "", "", "", "1"});
    d.registra();
    QCOMPARE(d.prompts().messages(), QStringList{kDuplicate});
    QCOMPARE(d.office.read(File::Associazioni), before);
    QCOMPARE(shownIn(d.w, {{"cmbassdenom", ""}, {"assindir", ""}}),
             (Typed{{"cmbassdenom", "ALBA"}, {"assindir", "VIA  DUE"}}));
    QVERIFY(neverBusyAtPrompt(d.office));
}

void TestFormass::modifyActsOnTheLoadedNameAndCarriesIt()
{
    Desk d;
    d.office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1, 5 , 9 ",
                                             "GAMMA,,,,,,,,1,1"}));
    d.office.write(File::Automezzi, crlf({"BETA,AMB,,,,,,,L", "ALFA,JEEP,,,,,,,L"}));
    d.office.write(File::Attrezzature, crlf({"BETA,TENDA,L,4"}));
    d.office.write(File::Volontari, QByteArray("BETA,MARIO,ROSSI,,,,,,,\r\nALFA , ANNA,NERI,1,2,3,4,5,6,7\r\n\r\n")
                                        + "BETA,LIA,VERDI,1,2,3,4,5,6,7,8,9\r\nBETA,J\xC3\xBCRGEN,\xC5\x81UK,,,,,,,\r\n");
    auto archives = [&] {
        QList<QByteArray> out;
        for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Volontari})
            out << d.office.read(f);
        return out;
    };
    d.open("mnassamod");
    QCOMPARE(entries(d.denom()), QStringList({"ALFA", "BETA", "GAMMA"}));

    // To a name another association has: refused, no file touched.
    QVERIFY(chooseEntry(d.denom(), "ALFA"));
    const auto before = archives();
    typeInto(d.denom(), "gamma");
    d.registra();
    QCOMPARE(d.prompts().messages(), QStringList{kDuplicate});
    QCOMPARE(archives(), before);

    d.prompts().clear();
    QVERIFY(chooseEntry(d.denom(), "BETA"));
    QCOMPARE(d.office.ctx.g.nomecaricato, QString("BETA"));
    QCOMPARE(d.f("assemail")->text(), QString("B@X.IT"));
    QCOMPARE(d.f("assnumvol")->text(), QString("5"));
    typeInto(d.denom(), "zeta");
    typeInto(d.f("assnumvol"), "6");
    d.registra();
    QCOMPARE(d.prompts().messages(), QStringList{"Associazione modificata."});
    // The record moves to its place, the others go out in number form;
    // vehicles and equipment keep their order. Volunteers: field 1 renamed,
    // every other item kept, a UTF-8 line stays UTF-8, a line of more items
    // keeps them all, an empty line stays.
    QCOMPARE(archives(),
             (QList<QByteArray>{
                 crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 ", "ZETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1,6,6"}),
                 crlf({"ZETA,AMB,,,,,,,L", "ALFA,JEEP,,,,,,,L"}), crlf({"ZETA,TENDA,L, 4 "}),
                 QByteArray("ZETA,MARIO,ROSSI,,,,,,,\r\nALFA,ANNA,NERI,1,2,3,4,5,6,7\r\n\r\n")
                     + "ZETA,LIA,VERDI,1,2,3,4,5,6,7,8,9\r\nZETA,J\xC3\xBCRGEN,\xC5\x81UK,,,,,,,\r\n"}));
    QCOMPARE(d.denom()->currentText(), QString("ZETA")); // fields keep their contents

    // The loaded name is still BETA, even in a later opening: with no record
    // BETA left, the values go in as a new one.
    d.w->hide();
    d.open("mnassamod");
    d.prompts().clear();
    d.fill("omega", "2");
    d.registra();
    QCOMPARE(d.prompts().messages(), QStringList{"Associazione modificata."});
    QCOMPARE(d.office.read(File::Associazioni),
             crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 ", "OMEGA,,,,,,,,2,2",
                   "ZETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1, 6 , 6 "}));
    QVERIFY(neverBusyAtPrompt(d.office));
}

void TestFormass::deleteAsksTwiceAndRemovesDependents()
{
    Desk d;
    const QByteArray assoc = crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,5,5", "GAMMA,,,,,,,,1,1"});
    const QByteArray veh = crlf({"BETA,AMB,,,,,,,L", "GAMMA,JEEP,,,,,,,L"});
    const QByteArray eq = crlf({"ALFA,PALA,L,2", "BETA,TENDA,L,4"});
    d.office.write(File::Associazioni, assoc);
    d.office.write(File::Automezzi, veh);
    d.office.write(File::Attrezzature, eq);
    d.open("mnassaann");
    const QString qEq = "Ci sono attrezzature registrate per questa associazione. Elimino tutte le "
                        "attrezzature?";
    const QString qVeh = "Ci sono Automezzi registrati per questa associazione. Elimino tutti gli "
                         "automezzi?";
    const QString giveUp = "Rinuncio ad eliminare l'associazione";

    // A "No" to either question gives up with nothing written.
    QVERIFY(chooseEntry(d.denom(), "BETA"));
    const QList<QPair<QList<bool>, QStringList>> refused = {{{false}, {qEq, giveUp}},
                                                            {{true, false}, {qEq, qVeh, giveUp}}};
    for (const auto &[answers, texts] : refused) {
        d.prompts().clear();
        d.prompts().answers << answers;
        d.registra();
        QCOMPARE(d.prompts().texts(), texts);
        QCOMPARE(d.office.read(File::Associazioni), assoc);
        QCOMPARE(d.office.read(File::Automezzi), veh);
        QCOMPARE(d.office.read(File::Attrezzature), eq);
    }

    d.prompts().clear();
    d.prompts().answers << QList<bool>{true, true};
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList({qEq, qVeh, "Associazione eliminata."}));
    QCOMPARE(d.office.read(File::Associazioni), crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 "}));
    QCOMPARE(d.office.read(File::Automezzi), crlf({"GAMMA,JEEP,,,,,,,L"}));
    QCOMPARE(d.office.read(File::Attrezzature), crlf({"ALFA,PALA,L, 2 "}));
    // The list still offers the deleted name until the next activation.
    QVERIFY(entries(d.denom()).contains("BETA"));

    // Deleting it again: not found, nothing asked, nothing written.
    d.prompts().clear();
    const QByteArray a = d.office.read(File::Associazioni);
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList{"Associazione non trovata."});
    QCOMPARE(d.office.read(File::Associazioni), a);

    // Only equipment: one question.
    d.prompts().clear();
    QVERIFY(chooseEntry(d.denom(), "ALFA"));
    d.prompts().answers << QList<bool>{true};
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList({qEq, "Associazione eliminata."}));
    QCOMPARE(d.office.read(File::Attrezzature), QByteArray());
    QCOMPARE(d.office.read(File::Automezzi), crlf({"GAMMA,JEEP,,,,,,,L"}));

    // Nothing depending on it: no question.
    d.office.write(File::Automezzi, QByteArray());
    d.prompts().clear();
    QVERIFY(chooseEntry(d.denom(), "GAMMA"));
    d.registra();
    QCOMPARE(d.prompts().texts(), QStringList({"Associazione eliminata."}));
    QCOMPARE(d.office.read(File::Associazioni), QByteArray());
    QCOMPARE(d.prompts().unexpected, 0);
    QVERIFY(neverBusyAtPrompt(d.office));
}

QTEST_MAIN(TestFormass)
#include "tst_formass.moc"
