// The association window in its three menu modes (what each menu entry sets:
// tst_menu); viewing mode L is driven through the association list
// (tst_formlist). The checks: tst_register_records; every bad number and
// character, field by field: tst_badinput.
#include "registerdesk.h"

using archive::File;

namespace {

const QString kDuplicate = QString::fromUtf8("Associazione già presente nell'archivio.");

struct Desk {
    MainOffice office;
    Formass *w = nullptr;

    void open(const char *entry) { w = office.fromMenu<Formass>(entry); }
    QComboBox *denom() const { return w->findChild<QComboBox *>("cmbassdenom"); }
    // Types the name, the fields in `more` and the count; registers; the messages.
    QStringList registra(const QString &name, const QString &num, const Typed &more = {})
    {
        office.fake.prompts.clear();
        typeAll(w, Typed{{"cmbassdenom", name}} + more + Typed{{"assnumvol", num}});
        clickButton(w, "cmdassregistra");
        return office.fake.prompts.texts();
    }
    // Chooses `name` in the list, answers the questions and registers.
    QStringList remove(const QString &name, const QList<bool> &answers = {})
    {
        office.fake.prompts.clear();
        if (!name.isEmpty() && !chooseEntry(denom(), name)) return {"not in the list"};
        office.fake.prompts.answers << answers;
        clickButton(w, "cmdassregistra");
        return office.fake.prompts.texts();
    }
    QList<QByteArray> archives() const
    {
        QList<QByteArray> out;
        for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Volontari})
            out << office.read(f);
        return out;
    }
};

} // namespace

class TestFormass : public QObject {
    Q_OBJECT
private slots:
    void insertCleansChecksAndPlacesTheRecord()
    {
        Desk d;
        d.open("mnassains");
        const Typed more{{"assindir", "via roma, 1"}, {"asscomune", "borgo"}, {"assprov", "xx"}, {"asscampo", "campo 2"}};
        QCOMPARE(d.registra("Gruppo, \"Alfa\" Nord", "12", more), QStringList()); // no message on insert
        QCOMPARE(d.office.read(File::Associazioni), crlf({"GRUPPO   ALFA  NORD,VIA ROMA  1,BORGO,XX,,,,CAMPO 2,12,12"}));
        const Typed emptied{{"cmbassdenom", ""}, {"assindir", ""}, {"assnumvol", "0"}};
        QCOMPARE(shownIn(d.w, emptied), emptied);
        QVERIFY(d.denom()->hasFocus() || d.denom()->lineEdit()->hasFocus());

        // In order by character code (digits before capitals); the records
        // copied meanwhile go out in number form.
        for (const auto &[name, num] : QList<QPair<QString, QString>>{{"alba", "3"}, {"zeta", "-4"}, {"1 gruppo", "+2"}})
            d.registra(name, num);
        QCOMPARE(d.office.read(File::Associazioni),
                 crlf({"1 GRUPPO,,,,,,,,+2,+2", "ALBA,,,,,,,, 3 , 3 ",
                       "GRUPPO   ALFA  NORD,VIA ROMA  1,BORGO,XX,,,,CAMPO 2, 12 , 12 ", "ZETA,,,,,,,,-4 ,-4 "}));

        // Refused: a message, the cleaned texts in the fields, no archive
        // touched.
        const QByteArray before = d.office.read(File::Associazioni);
        QCOMPARE(d.registra("alba", "1", {{"assindir", "via, due"}}), QStringList{kDuplicate});
        QCOMPARE(d.office.read(File::Associazioni), before);
        QCOMPARE(shownIn(d.w, {{"cmbassdenom", ""}, {"assindir", ""}}),
                 (Typed{{"cmbassdenom", "ALBA"}, {"assindir", "VIA  DUE"}}));
        QVERIFY(neverBusyAtPrompt(d.office));
    }

    void cercaAndModifyOnTheLoadedName()
    {
        Desk d;
        d.office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1, 5 , 9 ",
                                                 "GAMMA,,,,,,,,1,1"}));
        d.office.write(File::Automezzi, crlf({"BETA,AMB,,,,,,,L", "ALFA,JEEP,,,,,,,L"}));
        d.office.write(File::Attrezzature, crlf({"BETA,TENDA,L,4"}));
        d.office.write(File::Volontari, QByteArray("BETA,MARIO,ROSSI,,,,,,,\r\nALFA , ANNA,NERI,1,2,3,4,5,6,7\r\n\r\n")
                                            + "BETA,LIA,VERDI,1,2,3,4,5,6,7,8,9\r\nBETA,J\xC3\xBCRGEN,\xC5\x81UK,,,,,,,\r\n");
        d.open("mnassamod");
        QCOMPARE(entries(d.denom()), QStringList({"ALFA", "BETA", "GAMMA"}));
        // Cerca narrows the names, in small letters (an empty text lists
        // all, as the activation above).
        typeInto(d.denom(), "et");
        clickButton(d.w, "cmdcercaass");
        QCOMPARE(entries(d.denom()), QStringList({"BETA"}));

        // To a name another association has: refused, no file touched.
        QVERIFY(chooseEntry(d.denom(), "BETA"));
        const auto before = d.archives();
        QCOMPARE(d.registra("gamma", "3"), QStringList{kDuplicate});
        QCOMPARE(d.archives(), before);

        QVERIFY(chooseEntry(d.denom(), "BETA"));
        QCOMPARE(shownIn(d.w, {{"assemail", ""}, {"assnumvol", ""}}), (Typed{{"assemail", "B@X.IT"}, {"assnumvol", "5"}}));
        QCOMPARE(d.registra("zeta", "6"), QStringList{"Associazione modificata."});
        // The record moves to its place, the others go out in number form;
        // vehicles and equipment keep their order. Volunteers: field 1
        // renamed, every other item kept, a UTF-8 line stays UTF-8, a line of
        // more items keeps them all, an empty line stays.
        QCOMPARE(d.archives(),
                 (QList<QByteArray>{
                     crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 ", "ZETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1,6,6"}),
                     crlf({"ZETA,AMB,,,,,,,L", "ALFA,JEEP,,,,,,,L"}), crlf({"ZETA,TENDA,L, 4 "}),
                     QByteArray("ZETA,MARIO,ROSSI,,,,,,,\r\nALFA,ANNA,NERI,1,2,3,4,5,6,7\r\n\r\n")
                         + "ZETA,LIA,VERDI,1,2,3,4,5,6,7,8,9\r\nZETA,J\xC3\xBCRGEN,\xC5\x81UK,,,,,,,\r\n"}));
        QCOMPARE(d.denom()->currentText(), QString("ZETA")); // fields keep their contents

        // A new activation empties the fields; the loaded name is still
        // BETA: with no record BETA left, the values go in as a new one.
        d.w->hide();
        d.open("mnassamod");
        QCOMPARE(lineOf(d.w, "assindir")->text(), QString());
        QCOMPARE(d.registra("omega", "2"), QStringList{"Associazione modificata."});
        QCOMPARE(d.office.read(File::Associazioni),
                 crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 ", "OMEGA,,,,,,,,2,2",
                       "ZETA,VIA UNO,PISA,PI,050,051,B@X.IT,CAMPO 1, 6 , 6 "}));
        QVERIFY(neverBusyAtPrompt(d.office));
        // Chosen, then two volunteers taken by an activity meanwhile: not undone unseen.
        QVERIFY(chooseEntry(d.denom(), "GAMMA"));
        d.office.write(File::Associazioni, crlf({"GAMMA,,,,,,,,1,3"}));
        QCOMPARE(d.registra("GAMMA", "3"), QStringList{QString::fromUtf8("L'associazione GAMMA è cambiata nell'archivio da quando è stata scelta: nulla è stato modificato. Sceglierla di nuovo per vederla com'è ora.")});
        QCOMPARE(d.office.read(File::Associazioni), crlf({"GAMMA,,,,,,,,1,3"}));
        clickButton(d.w, "cmdassesci");
        QVERIFY(!d.w->isVisible());
    }

    void deleteAsksTwiceAndRemovesDependents()
    {
        Desk d;
        d.office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,5,5", "GAMMA,,,,,,,,1,1"}));
        d.office.write(File::Automezzi, crlf({"BETA,AMB,,,,,,,L", "GAMMA,JEEP,,,,,,,L"}));
        d.office.write(File::Attrezzature, crlf({"ALFA,PALA,L,2", "BETA,TENDA,L,4"}));
        d.open("mnassaann");
        const QString qEq = "Ci sono attrezzature registrate per questa associazione. Elimino tutte le attrezzature?";
        const QString qVeh = "Ci sono Automezzi registrati per questa associazione. Elimino tutti gli automezzi?";
        const QString giveUp = "Rinuncio ad eliminare l'associazione", done = "Associazione eliminata.";

        // A "No" to either question gives up with nothing written.
        const auto before = d.archives();
        QCOMPARE(d.remove("BETA", {false}), QStringList({qEq, giveUp}));
        QCOMPARE(d.archives(), before);
        QCOMPARE(d.remove("", {true, false}), QStringList({qEq, qVeh, giveUp}));
        QCOMPARE(d.archives(), before);

        QCOMPARE(d.remove("", {true, true}), QStringList({qEq, qVeh, done}));
        QCOMPARE(d.archives(), (QList<QByteArray>{crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 "}),
                                                  crlf({"GAMMA,JEEP,,,,,,,L"}), crlf({"ALFA,PALA,L, 2 "}), "<missing>"}));
        // The list still offers the deleted name until the next activation;
        // deleting it again: not found, nothing asked, nothing written.
        const auto after = d.archives();
        QCOMPARE(d.remove("BETA"), QStringList{"Associazione non trovata."});
        QCOMPARE(d.archives(), after);

        // Only equipment: one question; nothing depending on it: none.
        QCOMPARE(d.remove("ALFA", {true}), QStringList({qEq, done}));
        QCOMPARE(d.office.read(File::Attrezzature), QByteArray());
        QCOMPARE(d.office.read(File::Automezzi), crlf({"GAMMA,JEEP,,,,,,,L"}));
        d.office.write(File::Automezzi, QByteArray());
        QCOMPARE(d.remove("GAMMA"), QStringList{done});
        QCOMPARE(d.office.read(File::Associazioni), QByteArray());
        QVERIFY(neverBusyAtPrompt(d.office));
    }
};

QTEST_MAIN(TestFormass)
#include "tst_formass.moc"
