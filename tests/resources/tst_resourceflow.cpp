#include "pickoffice.h"

#include "../activities/resourcetext.h"

#include "activities/formattlist.h"

using archive::File;
using picking::Kind;

namespace {

const QString kTendaLine = equipmentListLine("ALFA", "TENDA", "L", 3);
const QString kPompaLine = equipmentListLine("ALFA", "POMPA", "L", 5);
const QString kJeepLine = vehicleListLine("ALFA", "JEEP", "L");
const QString kAlfaLine = associationListLine("ALFA", 10);

QByteArray withState(QByteArray record, char state)
{
    record[record.size() - 1] = state;
    return record;
}

} // namespace

class TestResourceFlow : public QObject {
    Q_OBJECT
private slots:
    void engageRegisterDeleteCloseThroughTheWindows();
    void leavingWithoutRegisteringGivesBackWhatWasTaken();
    void reloadingTheWindowGivesBackWhatWasTaken();
    void cancellationModeIgnoresTheResourceControls();
    void closedActivityTakesAndGivesNothing();
    void quantityIsCheckedBeforeAnythingIsTaken();
    void namesWindowAddsTickedVolunteersOnly();
    void listPressesOtherThanARightOneOnASelectedLine();
    void pickingModesAndWhereAPickCanGo();
    void equipmentStateFollowsItsQuantity();
    void nothingStaysTakenForAnActivityLeftUnregistered();
    void aNewActivityIsWhatTheWindowCancelsOrKeeps();
};

void TestResourceFlow::engageRegisterDeleteCloseThroughTheWindows()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    QCOMPARE(child<QLineEdit>(w, "numprot")->text(), QString("7"));
    o.fillRequest();

    // Equipment: the quantity the list shows is proposed.
    o.pick("cmdattr", Kind::Equipment, kTendaLine);
    QCOMPARE(o.ctx.g.modoatt, QString("RT"));
    QCOMPARE(o.ctx.g.modoattprec, QString("I"));
    QCOMPARE(o.ctx.g.modoattrlist, QString("GA"));
    QCOMPARE(o.ctx.g.tiporisorsa, QString("AT"));
    QCOMPARE(o.ctx.g.rigarisorsa, kTendaLine);
    QVERIFY(o.ris()->isVisible());
    QCOMPARE(o.ris()->windowTitle(), QString::fromUtf8("Risorse per una attività"));
    QCOMPARE(child<QLineEdit>(o.ris(), "risorsa")->text(), kTendaLine);
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("3"));
    QVERIFY(!child<QPushButton>(o.ris(), "cmdnomi")->isVisible());
    press(o.ris(), "cmdaggiungi");
    QVERIFY(!o.ris()->isVisible());
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,A, 0 ", "BETA,GENERATORE,L, 2 "}));

    // A vehicle: always one, whatever the quantity field says.
    o.pick("cmdauto", Kind::Vehicle, kJeepLine);
    QCOMPARE(o.ctx.g.modoatt, QString("RU"));
    QCOMPARE(o.ctx.g.modoattprec, QString("I"));
    QCOMPARE(o.ctx.g.modoautolist, QString("GA"));
    QCOMPARE(o.ctx.g.tiporisorsa, QString("AU"));
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("1"));
    typeText(o.ris(), "qta", "5");
    press(o.ris(), "cmdaggiungi");
    QCOMPARE(o.read(File::Automezzi), crlf({withState(kJeep, 'A'), kAmbulanza}));

    // Volunteers of ALFA, four of them, two named (the empty first item
    // ticked too).
    o.pick("cmdvol", Kind::Association, kAlfaLine);
    QCOMPARE(o.ctx.g.modoatt, QString("RA"));
    QCOMPARE(o.ctx.g.modoasslist, QString("RA"));
    QCOMPARE(o.ctx.g.tiporisorsa, QString("AS"));
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("10"));
    QVERIFY(child<QPushButton>(o.ris(), "cmdnomi")->isVisible());
    typeText(o.ris(), "qta", "4");
    press(o.ris(), "cmdnomi");
    Formsto *sto = o.sto();
    QVERIFY(sto->isVisible());
    o.activate(sto);
    QListWidget *names = child<QListWidget>(sto, "List1");
    QCOMPARE(items(names), QStringList({"", "MARIO ROSSI", "LUCA BIANCHI"}));
    names->item(0)->setCheckState(Qt::Checked);
    names->item(2)->setCheckState(Qt::Checked);
    press(sto, "cmdinserimento");
    QVERIFY(!sto->isVisible());
    QVERIFY(o.ris()->isVisible());
    press(o.ris(), "cmdaggiungi");
    QCOMPARE(o.read(File::Associazioni),
             crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 6 , 12 ",
                   "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "}));

    const QString attr = "ATTR      3   " + kTendaLine;
    const QString autom = "AUTO      1   " + kJeepLine;
    const QString named = "VOL>      0   " + QString("ALFA").leftJustified(50) + " LUCA BIANCHI";
    const QString vol = "VOL.      4   " + QString("ALFA").leftJustified(50);
    QCOMPARE(items(o.resourceList()), QStringList({attr, autom, named, vol}));
    QVERIFY(o.fake.prompts.shown.isEmpty());

    // Back to the activity window: its own mode again; register.
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, QString("I"));
    press(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività inserita correttamente.")}));
    QCOMPARE(o.read(File::Attivita), crlf({"7,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,A"}));
    // One pass per line: the last line stands as typed, the others as copied.
    const QByteArray risorse = crlf({copied("7", "ATTR", 3, "ALFA", "TENDA", "O"),
                                     copied("7", "AUTO", 1, "ALFA", "JEEP", "O"),
                                     stored("7", "VOL.", 4, "ALFA", "", "O"),
                                     copied("7", "VOL>", 0, "ALFA", " LUCA BIANCHI", "O")});
    QCOMPARE(o.read(File::Risorse), risorse);
    const QByteArray vehiclesTaken = o.read(File::Automezzi);
    for (auto pair : {std::pair{File::Associazioni, File::AssociazioniSav},
                      std::pair{File::Automezzi, File::AutomezziSav},
                      std::pair{File::Attrezzature, File::AttrezzatureSav}})
        QCOMPARE(o.read(pair.second), o.read(pair.first));

    // Deleting the vehicle line gives the vehicle back at once.
    o.fake.prompts.clear();
    o.deleteRow(1);
    QCOMPARE(o.fake.prompts.questions(), QStringList({"Elimino la riga selezionata?"}));
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QCOMPARE(o.ctx.g.risorsecambiate, QString("1"));
    QCOMPARE(items(o.resourceList()), QStringList({attr, named, vol}));
    // "No" leaves everything as it is.
    o.deleteRow(0, false);
    QCOMPARE(o.resourceList()->count(), 3);
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,A, 0 ", "BETA,GENERATORE,L, 2 "}));

    // Leaving without registering the deletion rolls back to the
    // registration: the vehicle is taken again, the resource lines stand.
    press(w, "cmdesci");
    QVERIFY(!w->isVisible());
    QCOMPARE(o.ctx.g.risorsecambiate, QString("0"));
    QCOMPARE(o.read(File::Automezzi), vehiclesTaken);
    QCOMPARE(o.read(File::Risorse), risorse);

    // Re-opened from the main window and closed: everything goes back.
    w = o.openFromMain("7");
    QCOMPARE(o.ctx.g.modoatt, QString("M"));
    QCOMPARE(items(o.resourceList()),
             QStringList({attr.left(114), autom.left(114), vol.leftJustified(114),
                          // the reader drops the blank in front of the name
                          "VOL>      0   " + QString("ALFA").leftJustified(50)
                              + QString("LUCA BIANCHI").leftJustified(50)}));
    typeText(w, "datafi", "05/03/2025");
    typeText(w, "orafi", "18.00");
    o.fake.prompts.clear();
    press(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività modificata correttamente.")}));
    QCOMPARE(o.read(File::Attivita),
             crlf({"7,05/03/2025,14.30,,,05/03/2025,18.00,INCENDIO,ROMA,ROSSI,,C"}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("7", "ATTR", 3, "ALFA", "TENDA", "L"),
                                          copied("7", "AUTO", 1, "ALFA", "JEEP", "L"),
                                          copied("7", "VOL.", 4, "ALFA", "", "L"),
                                          copied("7", "VOL>", 0, "ALFA", " LUCA BIANCHI", "L")}));
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QCOMPARE(o.read(File::Associazioni),
             crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 10 , 12 ",
                   "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "}));
    for (int i = 0; i < o.resourceList()->count(); ++i)
        QCOMPARE(o.resourceList()->item(i)->data(Formattivita::kStateRole).toString(), QString("L"));

    // Leaving now changes nothing: nothing was engaged since.
    const QByteArray equipmentNow = o.read(File::Attrezzature);
    const QByteArray associationsNow = o.read(File::Associazioni);
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Attrezzature), equipmentNow);
    QCOMPARE(o.read(File::Associazioni), associationsNow);
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QCOMPARE(o.read(File::AutomezziSav), crlf({kJeep, kAmbulanza}));
}

void TestResourceFlow::leavingWithoutRegisteringGivesBackWhatWasTaken()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    o.fillRequest();
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    o.add("cmdattr", Kind::Equipment, kPompaLine, "2");
    o.add("cmdvol", Kind::Association, kAlfaLine, "3");
    QCOMPARE(o.read(File::Automezzi), crlf({withState(kJeep, 'A'), kAmbulanza}));
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 3 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    o.activate(w);
    press(w, "cmdesci");
    QVERIFY(o.fake.prompts.shown.isEmpty());
    // Given back line by line, and the result is the new rollback point.
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    QCOMPARE(o.read(File::Associazioni),
             crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 10 , 12 ",
                   "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "}));
    QCOMPARE(o.read(File::AutomezziSav), o.read(File::Automezzi));
    QCOMPARE(o.read(File::AttrezzatureSav), o.read(File::Attrezzature));
    QCOMPARE(o.read(File::AssociazioniSav), o.read(File::Associazioni));
    QVERIFY(!o.exists(File::Risorse));
    QVERIFY(!o.exists(File::Attivita));

    // A change another window registered meanwhile is not undone: no
    // snapshot is restored for this.
    w = o.openInsert();
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    o.write(File::Automezzi, crlf({withState(kJeep, 'A'), withState(kAmbulanza, 'B')}));
    o.activate(w);
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, withState(kAmbulanza, 'B')}));

    // Opening the window again gives nothing back twice.
    w = o.openInsert();
    QCOMPARE(o.resourceList()->count(), 0);
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, withState(kAmbulanza, 'B')}));
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));

    // With a line deleted the rollback runs as before, and it already takes
    // back what the other lines took: nothing is given back twice.
    w = o.openInsert();
    o.add("cmdattr", Kind::Equipment, kPompaLine, "2");
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    o.activate(w);
    o.deleteRow(0);
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Automezzi), o.read(File::AutomezziSav));
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, withState(kAmbulanza, 'B')}));
    w = o.openInsert();
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, withState(kAmbulanza, 'B')}));
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
}

void TestResourceFlow::reloadingTheWindowGivesBackWhatWasTaken()
{
    PickOffice o;
    o.openInsert();
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    QCOMPARE(o.read(File::Automezzi), crlf({withState(kJeep, 'A'), kAmbulanza}));
    // Going to the main window and back reloads the window: the line is
    // gone, and so is what it took.
    o.activate(o.activity());
    QCOMPARE(o.resourceList()->count(), 1);
    o.activate(o.main);
    o.activate(o.activity());
    QCOMPARE(o.resourceList()->count(), 0);
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
}

void TestResourceFlow::cancellationModeIgnoresTheResourceControls()
{
    PickOffice o;
    o.write(File::Attivita, crlf({"5,01/03/2025,10.00,,,,,FRANA,PISA,BIANCHI,,A"}));
    o.write(File::Risorse, crlf({stored("5", "AUTO", 1, "ALFA", "JEEP", "O")}));
    o.write(File::Automezzi, crlf({withState(kJeep, 'A'), kAmbulanza}));
    auto *l = o.fromMenu<Formattlist>("mnattaann");
    LineList *lines = child<LineList>(l, "List1");
    int row = -1;
    for (int i = 0; i < lines->count(); ++i)
        if (lines->text(i).left(6).trimmed() == "5") row = i;
    QVERIFY(row >= 0);
    clickLine(lines, row);
    Formattivita *w = o.shown<Formattivita>();
    QCOMPARE(o.ctx.g.modoatt, QString("A"));
    QCOMPARE(o.resourceList()->count(), 1);

    o.ctx.g.modoattprec = "X";
    for (const char *b : {"cmdattr", "cmdauto", "cmdvol"}) press(w, b);
    QCOMPARE(o.ctx.g.modoatt, QString("A"));
    QCOMPARE(o.ctx.g.modoattprec, QString("X"));
    QVERIFY(o.ctx.g.modoattrlist.isEmpty() && o.ctx.g.modoautolist.isEmpty()
            && o.ctx.g.modoasslist.isEmpty());
    // A line picked anyway has nowhere to go.
    picking::offerResource(o.ctx, Kind::Vehicle, kJeepLine);
    QCOMPARE(o.ctx.g.modoatt, QString("A"));
    QVERIFY(o.windows->existing<Formris>() == nullptr || !o.ris()->isVisible());
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    // No deletion either.
    o.fake.prompts.clear();
    o.deleteRow(0);
    o.fake.prompts.answers.clear();
    QVERIFY(o.fake.prompts.questions().isEmpty());
    QCOMPARE(o.resourceList()->count(), 1);

    // Cancelling the open activity gives its vehicle back.
    press(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività annullata correttamente.")}));
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("5", "AUTO", 1, "ALFA", "JEEP", "L")}));
    QCOMPARE(o.read(File::Attivita), crlf({" 5 ,01/03/2025,10.00,,,,,FRANA,PISA,BIANCHI,,S"}));
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QCOMPARE(o.read(File::Attivita), crlf({" 5 ,01/03/2025,10.00,,,,,FRANA,PISA,BIANCHI,,S"}));
}

void TestResourceFlow::closedActivityTakesAndGivesNothing()
{
    PickOffice o;
    o.write(File::Attivita,
            crlf({"5,01/03/2025,10.00,01/03/2025,11.00,01/03/2025,12.00,FRANA,PISA,BIANCHI,,C"}));
    o.write(File::Risorse, crlf({stored("5", "ATTR", 2, "ALFA", "POMPA", "L")}));
    Formattivita *w = o.activity();
    o.ctx.g.modoatt = "M";
    o.ctx.g.protsel = "5";
    w->prepare(QString::fromUtf8("Attività - Modifica"), "Modifica", true);
    o.activate(w);
    QCOMPARE(o.ctx.g.attchiusa, QString("1"));
    const QByteArray equipment = o.read(File::Attrezzature);
    const QByteArray vehicles = o.read(File::Automezzi);
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    o.add("cmdattr", Kind::Equipment, kTendaLine);
    QCOMPARE(o.resourceList()->count(), 3);
    QCOMPARE(o.resourceList()->item(1)->data(Formattivita::kStateRole).toString(), QString("L"));
    o.activate(w);
    o.deleteRow(0);
    o.deleteRow(0);
    QCOMPARE(items(o.resourceList()), QStringList({"ATTR      3   " + kTendaLine}));
    QCOMPARE(o.read(File::Attrezzature), equipment);
    QCOMPARE(o.read(File::Automezzi), vehicles);
    o.ctx.g.risorsecambiate.clear();
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Attrezzature), equipment);
    QCOMPARE(o.read(File::Automezzi), vehicles);
}

void TestResourceFlow::quantityIsCheckedBeforeAnythingIsTaken()
{
    PickOffice o;
    o.openInsert();
    const QByteArray equipment = o.read(File::Attrezzature);
    const QByteArray associations = o.read(File::Associazioni);
    const QString refusal = QString::fromUtf8("Quantità errata: inserire un numero intero da -9999 a 32767.");
    for (const char *bad : {"", "abc", "3x", "40000", "-10000", "1,5,0"}) {
        o.fake.prompts.clear();
        o.pick("cmdattr", Kind::Equipment, kPompaLine);
        typeText(o.ris(), "qta", bad);
        press(o.ris(), "cmdaggiungi");
        QCOMPARE(o.fake.prompts.messages(), QStringList({refusal}));
        QVERIFY(o.ris()->isVisible());
        o.fake.prompts.clear();
        o.pick("cmdvol", Kind::Association, kAlfaLine);
        typeText(o.ris(), "qta", bad);
        press(o.ris(), "cmdaggiungi");
        QCOMPARE(o.fake.prompts.messages(), QStringList({refusal}));
    }
    QCOMPARE(o.resourceList()->count(), 0);
    QCOMPARE(o.read(File::Attrezzature), equipment);
    QCOMPARE(o.read(File::Associazioni), associations);
    // "Annulla" hides the window and changes nothing.
    press(o.ris(), "cmdannulla");
    QVERIFY(!o.ris()->isVisible());
    QCOMPARE(o.read(File::Attrezzature), equipment);

    // A decimal is rounded; a negative quantity gives pieces back.
    o.fake.prompts.clear();
    o.add("cmdattr", Kind::Equipment, kPompaLine, "2.6");
    o.add("cmdattr", Kind::Equipment, kTendaLine, "-2");
    QVERIFY(o.fake.prompts.shown.isEmpty());
    QCOMPARE(items(o.resourceList()),
             QStringList({"ATTR      3   " + kPompaLine, "ATTR     -2   " + kTendaLine}));
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 2 ", "ALFA,TENDA,L, 5 ", "BETA,GENERATORE,L, 2 "}));

    // A count that would leave the 16-bit range is refused as a whole.
    o.write(File::Associazioni, crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,-32000,12"}));
    o.fake.prompts.clear();
    o.add("cmdvol", Kind::Association, kAlfaLine, "9000");
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QVERIFY(o.fake.prompts.messages().first().contains("-32768"));
    QCOMPARE(o.read(File::Associazioni), crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,-32000,12"}));
    QCOMPARE(o.resourceList()->count(), 2);
}

void TestResourceFlow::namesWindowAddsTickedVolunteersOnly()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    // A volunteer archive prepared elsewhere, with a longer association name
    // than the list shows.
    const QString longName = QString("ASSOCIAZIONE VOLONTARI DEL SOCCORSO ALPINO E SPELEOLOGICO");
    o.write(File::Volontari, crlf({"ALFA,MARIO,ROSSI,X,Y,,,,,", longName.toLatin1() + ",PIA,NERI",
                                   "ALFAB,NON,QUESTO", "ALFA,LUCA,BIANCHI"}));
    o.pick("cmdvol", Kind::Association, kAlfaLine);
    press(o.ris(), "cmdnomi");
    Formsto *sto = o.sto();
    QCOMPARE(sto->windowTitle(), QString("Volontari -  Inserimento nominativi volontari "));
    o.activate(sto);
    QListWidget *names = child<QListWidget>(sto, "List1");
    QCOMPARE(names->toolTip(), QString("Spuntare i volontari da inserire."));
    QCOMPARE(items(names), QStringList({"", "MARIO ROSSI", "LUCA BIANCHI"}));
    for (int i = 0; i < names->count(); ++i)
        QVERIFY(names->item(i)->flags() & Qt::ItemIsUserCheckable);
    // Only the empty item ticked: nothing added.
    names->item(0)->setCheckState(Qt::Checked);
    press(sto, "cmdinserimento");
    QCOMPARE(o.resourceList()->count(), 0);
    QVERIFY(!sto->isVisible());
    // Both names, in list order.
    press(o.ris(), "cmdnomi");
    o.activate(sto);
    QCOMPARE(names->item(1)->checkState(), Qt::Unchecked);
    names->item(2)->setCheckState(Qt::Checked);
    names->item(1)->setCheckState(Qt::Checked);
    press(sto, "cmdinserimento");
    const QString alfa = QString("ALFA").leftJustified(50);
    QCOMPARE(items(o.resourceList()), QStringList({"VOL>      0   " + alfa + " MARIO ROSSI",
                                                   "VOL>      0   " + alfa + " LUCA BIANCHI"}));
    // Esci hides without adding.
    press(o.ris(), "cmdnomi");
    o.activate(sto);
    names->item(1)->setCheckState(Qt::Checked);
    press(sto, "cmdesci");
    QVERIFY(!sto->isVisible());
    QCOMPARE(o.resourceList()->count(), 2);
    press(o.ris(), "cmdaggiungi");
    QCOMPARE(o.resourceList()->count(), 3);

    // A name from a volunteer archive prepared elsewhere (UTF-8) with a
    // letter Windows-1252 cannot hold is told and left out.
    o.write(File::Volontari, "ALFA,\xc5\x81UKASZ,NOWAK\r\nALFA,LUCA,BIANCHI\r\n");
    press(o.ris(), "cmdnomi");
    o.activate(sto);
    QCOMPARE(items(names), QStringList({"", QString::fromUtf8("\xc5\x81UKASZ NOWAK"), "LUCA BIANCHI"}));
    names->item(1)->setCheckState(Qt::Checked);
    names->item(2)->setCheckState(Qt::Checked);
    o.fake.prompts.clear();
    press(sto, "cmdinserimento");
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QCOMPARE(o.resourceList()->count(), 4);
    QCOMPARE(o.resourceList()->item(3)->text(), "VOL>      0   " + alfa + " LUCA BIANCHI");
    delete o.resourceList()->item(3);
    o.write(File::Volontari, crlf({longName.toLatin1() + ",PIA,NERI"}));

    // The association of the long name, cut to 50 by the list.
    o.pick("cmdvol", Kind::Association, associationListLine(longName, 3));
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("3"));
    press(o.ris(), "cmdnomi");
    o.activate(sto);
    QCOMPARE(items(names), QStringList({"", "PIA NERI"}));

    // Deleting the "VOL." line leaves its named volunteers; they give
    // nothing back when deleted.
    o.activate(w);
    const QByteArray before = o.read(File::Associazioni);
    o.deleteRow(2);
    QCOMPARE(o.resourceList()->count(), 2);
    QCOMPARE(o.read(File::Associazioni),
             crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 10 , 12 ",
                   "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "}));
    QVERIFY(before != o.read(File::Associazioni));
    const QByteArray after = o.read(File::Associazioni);
    o.deleteRow(0);
    QCOMPARE(o.read(File::Associazioni), after);
    QCOMPARE(o.resourceList()->count(), 1);
}

void TestResourceFlow::listPressesOtherThanARightOneOnASelectedLine()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    o.activate(w);
    QListWidget *l = o.resourceList();
    const QPoint at = l->visualItemRect(l->item(0)).center();
    // Nothing selected: the right press asks nothing.
    l->clearSelection();
    QTest::mousePress(l->viewport(), Qt::RightButton, {}, at);
    QVERIFY(o.fake.prompts.questions().isEmpty());
    // The left and the middle button only select.
    QTest::mouseClick(l->viewport(), Qt::MiddleButton, {}, at);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(o.fake.prompts.questions().isEmpty());
    QCOMPARE(l->count(), 1);
    QCOMPARE(o.read(File::Automezzi), crlf({withState(kJeep, 'A'), kAmbulanza}));
    QVERIFY(o.ctx.g.risorsecambiate != "1");

    // A line of a type no register knows stays.
    w->addResourceLine("XXXX      1   " + kJeepLine);
    o.deleteRow(1);
    QCOMPARE(o.fake.prompts.questions().size(), 1);
    QCOMPARE(l->count(), 2);
    QVERIFY(o.ctx.g.risorsecambiate != "1");
    QCOMPARE(o.read(File::Automezzi), crlf({withState(kJeep, 'A'), kAmbulanza}));
}

void TestResourceFlow::pickingModesAndWhereAPickCanGo()
{
    PickOffice o;
    // No activity window open: the pick is refused and nothing changes.
    picking::offerResource(o.ctx, Kind::Vehicle, kJeepLine);
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QVERIFY(o.ctx.g.rigarisorsa.isEmpty());
    QVERIFY(o.windows->existing<Formris>() == nullptr);

    Formattivita *w = o.openInsert();
    // Two buttons in a row keep the mode to return to.
    press(w, "cmdattr");
    press(w, "cmdauto");
    QCOMPARE(o.ctx.g.modoatt, QString("RU"));
    QCOMPARE(o.ctx.g.modoattprec, QString("I"));
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, QString("I"));
    // A line picked in a list still open after the user came back to the
    // activity window goes back to that window's mode as well.
    picking::offerResource(o.ctx, Kind::Association, kAlfaLine);
    QCOMPARE(o.ctx.g.modoatt, QString("RA"));
    QCOMPARE(o.ctx.g.modoattprec, QString("I"));
    QCOMPARE(o.ctx.g.rigarisorsa, kAlfaLine);

    // The activity window left meanwhile: "Aggiungi" takes nothing.
    o.activate(w);
    press(w, "cmdesci");
    const QByteArray associations = o.read(File::Associazioni);
    o.fake.prompts.clear();
    press(o.ris(), "cmdaggiungi");
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QVERIFY(!o.ris()->isVisible());
    QCOMPARE(o.read(File::Associazioni), associations);
}

void TestResourceFlow::equipmentStateFollowsItsQuantity()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    o.add("cmdattr", Kind::Equipment, kTendaLine, "3");
    o.add("cmdattr", Kind::Equipment, kPompaLine, "2");
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 3 ", "ALFA,TENDA,A, 0 ", "BETA,GENERATORE,L, 2 "}));
    o.activate(w);
    o.deleteRow(0);
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 3 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    // A negative quantity gives pieces when added and takes them when deleted.
    o.add("cmdattr", Kind::Equipment, kPompaLine, "-3");
    o.activate(w);
    o.deleteRow(1);
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 3 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    // A record renamed meanwhile: the line comes and goes without a word.
    o.fake.prompts.clear();
    o.add("cmdattr", Kind::Equipment, equipmentListLine("GAMMA", "TENDA", "L", 4));
    QCOMPARE(o.resourceList()->count(), 2);
    o.activate(w);
    o.deleteRow(1);
    QCOMPARE(o.resourceList()->count(), 1);
    QCOMPARE(o.fake.prompts.messages(), QStringList());
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 3 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
}

void TestResourceFlow::nothingStaysTakenForAnActivityLeftUnregistered()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    o.fillRequest();
    o.add("cmdattr", Kind::Equipment, kTendaLine, "3");
    o.activate(w);
    press(w, "cmdregistra");
    press(w, "cmdesci");
    const QByteArray risorse = o.read(File::Risorse);
    const QByteArray taken = crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,A, 0 ", "BETA,GENERATORE,L, 2 "});
    QCOMPARE(o.read(File::Attrezzature), taken);

    // A new activity left open while the user clicks another one in the main
    // window: the vehicle goes back before the new rollback point is taken.
    o.openInsert();
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    QCOMPARE(o.read(File::Automezzi), crlf({withState(kJeep, 'A'), kAmbulanza}));
    w = o.openFromMain("7");
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QCOMPARE(o.read(File::AutomezziSav), crlf({kJeep, kAmbulanza}));

    // A deleted line comes back when the activity is opened again without
    // registering, and so does what its deletion gave back: the pieces are
    // not counted twice.
    o.deleteRow(0);
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    w = o.openFromMain("7");
    QCOMPARE(o.resourceList()->count(), 1);
    QCOMPARE(o.ctx.g.risorsecambiate, QString("0"));
    QCOMPARE(o.read(File::Attrezzature), taken);
    QCOMPARE(o.read(File::AttrezzatureSav), taken);
    QCOMPARE(o.read(File::Risorse), risorse);
    typeText(w, "orafi", "18.00");
    press(w, "cmdregistra");
    QCOMPARE(o.read(File::Attrezzature),
             crlf({"ALFA,POMPA,L, 5 ", "ALFA,TENDA,L, 3 ", "BETA,GENERATORE,L, 2 "}));
    press(w, "cmdesci");

    // Closed from its title bar, the window leaves as "Esci" does.
    w = o.openInsert();
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    o.activate(w);
    w->close();
    QVERIFY(!w->isVisible());
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QCOMPARE(o.read(File::AutomezziSav), crlf({kJeep, kAmbulanza}));

    // "Fine" with a vehicle taken for an activity never registered.
    o.openInsert();
    o.add("cmdauto", Kind::Vehicle, kJeepLine);
    o.activate(o.main);
    o.fake.prompts.clear();
    o.main->action("mnfine")->trigger();
    QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanza}));
    QVERIFY(o.fake.prompts.questions().isEmpty());
}

void TestResourceFlow::aNewActivityIsWhatTheWindowCancelsOrKeeps()
{
    PickOffice o;
    o.write(File::Attivita, crlf({"3,01/03/2025,09.00,,,,,FRANA,PISA,NERI,,A"}));
    Formattivita *w = o.openInsert();
    o.fillRequest();
    press(w, "cmdregistra");
    const QByteArray both = crlf({" 3 ,01/03/2025,09.00,,,,,FRANA,PISA,NERI,,A",
                                  "7,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,A"});
    QCOMPARE(o.read(File::Attivita), both);
    QCOMPARE(o.read(File::AttivitaSav), both);

    // "Annullamento Attività" while the new activity is still shown: leaving
    // keeps it, and "Annulla" cancels the activity the window shows.
    o.fromMenu<Formattlist>("mnattaann");
    o.activate(w);
    QCOMPARE(child<QLineEdit>(w, "numprot")->text(), QString("7"));
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Attivita), both);
    o.fromMenu<Formattlist>("mnattaann");
    o.activate(w);
    press(w, "cmdregistra");
    QCOMPARE(o.read(File::Attivita),
             crlf({" 3 ,01/03/2025,09.00,,,,,FRANA,PISA,NERI,,A",
                   " 7 ,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,S"}));
}

QTEST_MAIN(TestResourceFlow)
#include "tst_resourceflow.moc"
