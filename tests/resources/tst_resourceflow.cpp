#include "pickoffice.h"

#include "resourcetext.h"

#include "activities/formattlist.h"
#include "associations/formass.h"
#include "associations/formlist.h"
#include "equipment/formattr.h"
#include "equipment/formattrlist.h"
#include "vehicles/formauto.h"
#include "vehicles/formautolist.h"

#include <QComboBox>
#include <QFile>

using archive::File;

namespace {

const QString kTendaLine = equipmentListLine("ALFA", "TENDA", "L", 3);
const QString kPompaLine = equipmentListLine("ALFA", "POMPA", "L", 5);
const QString kJeepLine = vehicleListLine("ALFA", "JEEP", "L");
const QString kAlfaLine = associationListLine("ALFA", 10);
const QString kAlfa50 = QString("ALFA").leftJustified(50);

QByteArray withState(QByteArray record, char state)
{
    record[record.size() - 1] = state;
    return record;
}

// The registers as a rewrite leaves them: state and pieces of POMPA and
// TENDA, volunteers of ALFA.
QByteArray equipmentRecords(const QByteArray &pompa, const QByteArray &tenda)
{
    return crlf({"ALFA,POMPA," + pompa, "ALFA,TENDA," + tenda, "BETA,GENERATORE,L, 2 "});
}
QByteArray associationRecords(int alfa)
{
    return crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, " + QByteArray::number(alfa) + " , 12 ",
                 "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "});
}
const QByteArray kAllFree = equipmentRecords("L, 5 ", "L, 3 ");
const QByteArray kTendaTaken = equipmentRecords("L, 5 ", "A, 0 ");
const QByteArray kVehiclesFree = crlf({kJeep, kAmbulanza});
const QByteArray kJeepTaken = crlf({withState(kJeep, 'A'), kAmbulanza});

} // namespace

class TestResourceFlow : public QObject {
    Q_OBJECT
private slots:
    void engageRegisterDeleteCloseThroughTheRealLists();
    void aListComeBackToAfterAPickShowsWhatItTook();
    void aNewActivityLeftUnregisteredGivesBack_data();
    void aNewActivityLeftUnregisteredGivesBack();
    void cancellationModeIgnoresTheResourceControls();
    void closedActivityTakesAndGivesNothing();
    void quantitiesTypedAndWhatTheyTakeOrGive();
    void namesWindowAddsTickedVolunteersOnly();
    void pressesAndPicksThatGoNowhere();
    void aNewActivityIsWhatTheWindowCancelsOrKeeps();
    void undoKeepsWhatOtherWindowsRegistered_data();
    void undoKeepsWhatOtherWindowsRegistered();
    void anUndoThatFailsStaysToBeUndone();
};

void TestResourceFlow::engageRegisterDeleteCloseThroughTheRealLists()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    o.fillRequest();

    // Equipment: a click on TENDA in the general list; the quantity the list
    // shows is proposed.
    auto *equipmentList = o.pickInList<Formattrlist>("cmdattr", kTendaLine);
    QVERIFY(o.ris()->isVisible());
    QCOMPARE(child<QLineEdit>(o.ris(), "risorsa")->text(), kTendaLine);
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("3"));
    QVERIFY(!child<QPushButton>(o.ris(), "cmdnomi")->isVisible());
    press(o.ris(), "cmdaggiungi");
    QVERIFY(!o.ris()->isVisible());
    QCOMPARE(o.read(File::Attrezzature), kTendaTaken);

    // A vehicle: always one, whatever the quantity field says.
    auto *vehicleList = o.pickInList<Formautolist>("cmdauto", kJeepLine);
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("1"));
    typeText(o.ris(), "qta", "5");
    press(o.ris(), "cmdaggiungi");
    QCOMPARE(o.read(File::Automezzi), kJeepTaken);

    // Volunteers of ALFA, four of them, one named (the empty first item
    // ticked too).
    o.pickInList<Formlist>("cmdvol", kAlfaLine);
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
    QCOMPARE(o.read(File::Associazioni), associationRecords(6));

    // The lists show what was taken when they are activated again.
    o.activate(vehicleList);
    QVERIFY(items(child<LineList>(vehicleList, "List1")).contains(vehicleListLine("ALFA", "JEEP", "A")));
    o.activate(equipmentList);
    QVERIFY(items(child<LineList>(equipmentList, "List1")).contains(equipmentListLine("ALFA", "TENDA", "A", 0)));

    const QString attr = "ATTR      3   " + kTendaLine;
    const QString autom = "AUTO      1   " + kJeepLine;
    const QString named = "VOL>      0   " + kAlfa50 + " LUCA BIANCHI";
    const QString vol = "VOL.      4   " + kAlfa50;
    QCOMPARE(items(o.resourceList()), QStringList({attr, autom, named, vol}));
    QVERIFY(o.fake.prompts.shown.isEmpty());

    // Back to the activity window: its own mode again; register.
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::I);
    press(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività inserita correttamente.")}));
    QCOMPARE(o.read(File::Attivita), crlf({"7,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,A"}));
    const QStringList risorse{"7,ATTR,3,ALFA,TENDA,O", "7,AUTO,1,ALFA,JEEP,O", "7,VOL.,4,ALFA,,O",
                              "7,VOL>,0,ALFA,LUCA BIANCHI,O"};
    QCOMPARE(resourceRecords(o.read(File::Risorse)), risorse);
    for (auto pair : {std::pair{File::Associazioni, File::AssociazioniSav},
                      std::pair{File::Automezzi, File::AutomezziSav},
                      std::pair{File::Attrezzature, File::AttrezzatureSav}})
        QCOMPARE(o.read(pair.second), o.read(pair.first));

    // Deleting the vehicle line gives the vehicle back at once; "No" leaves
    // everything as it is.
    o.fake.prompts.clear();
    o.deleteRow(1);
    QCOMPARE(o.fake.prompts.questions(), QStringList({"Elimino la riga selezionata?"}));
    QCOMPARE(o.read(File::Automezzi), kVehiclesFree);
    QVERIFY(o.ctx.g.risorsecambiate);
    QCOMPARE(items(o.resourceList()), QStringList({attr, named, vol}));
    o.deleteRow(0, false);
    QCOMPARE(o.resourceList()->count(), 3);
    QCOMPARE(o.read(File::Attrezzature), kTendaTaken);

    // Leaving without registering the deletion rolls back to the
    // registration: the vehicle is taken again, the resource lines stand.
    press(w, "cmdesci");
    QVERIFY(!w->isVisible());
    QVERIFY(!o.ctx.g.risorsecambiate);
    QCOMPARE(o.read(File::Automezzi), kJeepTaken);
    QCOMPARE(resourceRecords(o.read(File::Risorse)), risorse);

    // Re-opened from the main window and closed: everything goes back.
    w = o.openFromMain("7");
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::M);
    QCOMPARE(items(o.resourceList()),
             QStringList({attr.left(114), autom.left(114), vol.leftJustified(114),
                          // the reader drops the blank in front of the name
                          "VOL>      0   " + kAlfa50 + QString("LUCA BIANCHI").leftJustified(50)}));
    typeText(w, "datafi", "05/03/2025");
    typeText(w, "orafi", "18.00");
    o.fake.prompts.clear();
    press(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività modificata correttamente.")}));
    QCOMPARE(o.read(File::Attivita),
             crlf({"7,05/03/2025,14.30,,,05/03/2025,18.00,INCENDIO,ROMA,ROSSI,,C"}));
    QCOMPARE(resourceRecords(o.read(File::Risorse)).join('|'), risorse.join('|').replace(",O", ",L"));

    // Checked after closing and again after leaving: nothing was engaged
    // since, so leaving changes nothing.
    for (int leave : {0, 1}) {
        if (leave) press(w, "cmdesci");
        QCOMPARE(o.read(File::Attrezzature), kAllFree);
        QCOMPARE(o.read(File::Automezzi), kVehiclesFree);
        QCOMPARE(o.read(File::Associazioni), associationRecords(10));
    }
    QCOMPARE(o.read(File::AutomezziSav), kVehiclesFree);
}

void TestResourceFlow::aListComeBackToAfterAPickShowsWhatItTook()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    o.fillRequest();
    auto *equipmentList = o.pickInList<Formattrlist>("cmdattr", kTendaLine);
    LineList *eqList = child<LineList>(equipmentList, "List1");
    // The window system activates the resource window, then, once it is
    // gone, the list again: the list is filled anew.
    QVERIFY(QTest::qWaitFor([&] { return o.ris()->isActiveWindow(); }, 1000));
    typeText(o.ris(), "qta", "2");
    press(o.ris(), "cmdaggiungi");
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(equipmentList, &activation);
    QVERIFY(items(eqList).contains(equipmentListLine("ALFA", "TENDA", "L", 1)));

    // Back in the activity window, then a second pick from the list still
    // open: coming back once more keeps everything the window holds.
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::I);
    QVERIFY(clickLineStarting(eqList, kPompaLine));
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::RT);
    press(o.ris(), "cmdaggiungi");
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::I);
    QCOMPARE(child<QLineEdit>(w, "tipoatt")->text(), QString("incendio"));
    QCOMPARE(o.resourceList()->count(), 2);
    QCOMPARE(o.read(File::Attrezzature), equipmentRecords("A, 0 ", "L, 1 "));
}

// A new activity never registered: whatever way the user leaves it, what it
// took goes back once (a line deleted gave its part back already), and the
// result is the new rollback point.
void TestResourceFlow::aNewActivityLeftUnregisteredGivesBack_data()
{
    QTest::addColumn<QString>("moment");
    for (const char *m : {"cmdesci", "title bar", "reload", "main list", "mnfine"}) QTest::newRow(m) << QString(m);
}

void TestResourceFlow::aNewActivityLeftUnregisteredGivesBack()
{
    QFETCH(QString, moment);
    PickOffice o;
    const QByteArray three = crlf({"3,01/03/2025,09.00,,,,,FRANA,PISA,NERI,,A"});
    o.write(File::Attivita, three);
    Formattivita *w = o.openInsert();
    o.fillRequest();
    o.add("cmdauto", ResourceKind::Vehicle, kJeepLine);
    o.add("cmdattr", ResourceKind::Equipment, kPompaLine, "2");
    o.add("cmdvol", ResourceKind::Association, kAlfaLine, "3");
    QCOMPARE(o.read(File::Attrezzature), equipmentRecords("L, 3 ", "L, 3 "));
    QCOMPARE(o.read(File::Associazioni), associationRecords(7));
    o.activate(w);
    o.deleteRow(0);
    QCOMPARE(o.read(File::Automezzi), kVehiclesFree);
    o.fake.prompts.clear();
    if (moment == "cmdesci") press(w, "cmdesci");
    else if (moment == "title bar") w->close();
    else if (moment == "main list") o.openFromMain("3");
    else o.activate(o.main);
    if (moment == "reload") {
        o.activate(w);
        QCOMPARE(o.resourceList()->count(), 0);
    }
    if (moment == "mnfine") o.main->action("mnfine")->trigger();
    QVERIFY(o.fake.prompts.shown.isEmpty());
    // Opening the window again gives nothing back twice.
    for (bool again : {false, true}) {
        if (again) press(o.openInsert(), "cmdesci");
        QCOMPARE(o.read(File::Automezzi), kVehiclesFree);
        QCOMPARE(o.read(File::Attrezzature), kAllFree);
        QCOMPARE(o.read(File::Associazioni), associationRecords(10));
        QCOMPARE(o.read(File::AutomezziSav), kVehiclesFree);
        QVERIFY(!o.exists(File::Risorse));
        QCOMPARE(o.read(File::Attivita), three);
    }
}

void TestResourceFlow::cancellationModeIgnoresTheResourceControls()
{
    PickOffice o;
    o.write(File::Attivita, crlf({"5,01/03/2025,10.00,,,,,FRANA,PISA,BIANCHI,,A"}));
    o.write(File::Risorse, crlf({"5,AUTO,1,ALFA,JEEP,O"}));
    o.write(File::Automezzi, kJeepTaken);
    auto *l = o.fromMenu<Formattlist>("mnattaann");
    QVERIFY(clickLineStarting(child<LineList>(l, "List1"), "     5 "));
    Formattivita *w = o.shown<Formattivita>();
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::A);
    QCOMPARE(o.resourceList()->count(), 1);

    o.ctx.g.modoattprec = modes::Activity::RU;
    for (const char *b : {"cmdattr", "cmdauto", "cmdvol"}) press(w, b);
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::A);
    QCOMPARE(o.ctx.g.modoattprec, modes::Activity::RU);
    QVERIFY(o.ctx.g.modoattrlist == modes::PairList::Unset && o.ctx.g.modoautolist == modes::PairList::Unset
            && o.ctx.g.modoasslist == modes::AssociationList::Unset);
    // A line picked anyway has nowhere to go.
    picking::offerResource(o.ctx, ResourceKind::Vehicle, kJeepLine);
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::A);
    QVERIFY(o.windows->existing<Formris>() == nullptr || !o.ris()->isVisible());
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    // No deletion either.
    o.fake.prompts.clear();
    o.deleteRow(0);
    o.fake.prompts.answers.clear();
    QVERIFY(o.fake.prompts.questions().isEmpty());
    QCOMPARE(o.resourceList()->count(), 1);
    QCOMPARE(o.read(File::Automezzi), kJeepTaken);
}

void TestResourceFlow::closedActivityTakesAndGivesNothing()
{
    PickOffice o;
    o.write(File::Attivita,
            crlf({"5,01/03/2025,10.00,01/03/2025,11.00,01/03/2025,12.00,FRANA,PISA,BIANCHI,,C"}));
    o.write(File::Risorse, crlf({"5,ATTR,2,ALFA,POMPA,L"}));
    // Chosen from the list of "Fine/Modifica Attività".
    QVERIFY(clickLineStarting(child<LineList>(o.fromMenu<Formattlist>("mnattamod"), "List1"), "     5 "));
    Formattivita *w = o.shown<Formattivita>();
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::M);
    QVERIFY(o.ctx.g.attchiusa);
    const QByteArray registers = o.read(File::Attrezzature) + o.read(File::Automezzi);
    o.add("cmdauto", ResourceKind::Vehicle, kJeepLine);
    o.add("cmdattr", ResourceKind::Equipment, kTendaLine);
    QCOMPARE(o.resourceList()->count(), 3);
    QCOMPARE(o.resourceList()->item(1)->data(Formattivita::kStateRole).toString(), QString("L"));
    o.activate(w);
    o.deleteRow(0);
    o.deleteRow(0);
    QCOMPARE(items(o.resourceList()), QStringList({"ATTR      3   " + kTendaLine}));
    QCOMPARE(o.read(File::Attrezzature) + o.read(File::Automezzi), registers);
    o.ctx.g.risorsecambiate = false;
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Attrezzature) + o.read(File::Automezzi), registers);
}

void TestResourceFlow::quantitiesTypedAndWhatTheyTakeOrGive()
{
    PickOffice o;
    Formattivita *w = o.openInsert();
    const QByteArray before = o.read(File::Attrezzature) + o.read(File::Associazioni);
    const QString refusal = QString::fromUtf8("Quantità errata: inserire un numero intero da -9999 a 32767.");
    for (auto [button, kind, line, bad] : {std::tuple{"cmdattr", ResourceKind::Equipment, kPompaLine, "3x"},
                                           std::tuple{"cmdvol", ResourceKind::Association, kAlfaLine, "40000"}}) {
        o.fake.prompts.clear();
        o.pick(button, kind, line);
        typeText(o.ris(), "qta", bad);
        press(o.ris(), "cmdaggiungi");
        QCOMPARE(o.fake.prompts.messages(), QStringList({refusal}));
        QVERIFY(o.ris()->isVisible());
    }
    QCOMPARE(o.resourceList()->count(), 0);
    // "Annulla" hides the window and changes nothing.
    press(o.ris(), "cmdannulla");
    QVERIFY(!o.ris()->isVisible());
    QCOMPARE(o.read(File::Attrezzature) + o.read(File::Associazioni), before);

    // A decimal is rounded; a negative quantity gives pieces back.
    o.fake.prompts.clear();
    o.add("cmdattr", ResourceKind::Equipment, kPompaLine, "2.6");
    o.add("cmdattr", ResourceKind::Equipment, kTendaLine, "-2");
    QVERIFY(o.fake.prompts.shown.isEmpty());
    QCOMPARE(items(o.resourceList()),
             QStringList({"ATTR      3   " + kPompaLine, "ATTR     -2   " + kTendaLine}));
    QCOMPARE(o.read(File::Attrezzature), equipmentRecords("L, 2 ", "L, 5 "));

    // A count that would leave the 16-bit range is refused as a whole.
    const QByteArray nearTheEdge = crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,-32000,12"});
    o.write(File::Associazioni, nearTheEdge);
    o.fake.prompts.clear();
    o.add("cmdvol", ResourceKind::Association, kAlfaLine, "9000");
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QVERIFY(o.fake.prompts.messages().first().contains("-32768"));
    QCOMPARE(o.read(File::Associazioni), nearTheEdge);
    QCOMPARE(o.resourceList()->count(), 2);

    // The negative line takes its pieces again when deleted.
    o.activate(w);
    o.deleteRow(1);
    QCOMPARE(o.read(File::Attrezzature), equipmentRecords("L, 2 ", "L, 3 "));
    // A record renamed meanwhile: the line comes and goes without a word.
    o.fake.prompts.clear();
    o.add("cmdattr", ResourceKind::Equipment, equipmentListLine("GAMMA", "TENDA", "L", 4));
    QCOMPARE(o.resourceList()->count(), 2);
    o.activate(w);
    o.deleteRow(1);
    QCOMPARE(o.resourceList()->count(), 1);
    QCOMPARE(o.fake.prompts.messages(), QStringList());
    QCOMPARE(o.read(File::Attrezzature), equipmentRecords("L, 2 ", "L, 3 "));
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
    o.pick("cmdvol", ResourceKind::Association, kAlfaLine);
    Formsto *sto = o.sto();
    QListWidget *names = child<QListWidget>(sto, "List1");
    auto openNames = [&] {
        press(o.ris(), "cmdnomi");
        o.activate(sto);
    };
    openNames();
    QCOMPARE(items(names), QStringList({"", "MARIO ROSSI", "LUCA BIANCHI"}));
    // Both names, in list order (the empty item alone adds nothing: see the
    // main flow).
    names->item(2)->setCheckState(Qt::Checked);
    names->item(1)->setCheckState(Qt::Checked);
    press(sto, "cmdinserimento");
    const QString luca = "VOL>      0   " + kAlfa50 + " LUCA BIANCHI";
    QCOMPARE(items(o.resourceList()), QStringList({"VOL>      0   " + kAlfa50 + " MARIO ROSSI", luca}));
    // Esci hides without adding.
    openNames();
    names->item(1)->setCheckState(Qt::Checked);
    press(sto, "cmdesci");
    QVERIFY(!sto->isVisible());
    QCOMPARE(o.resourceList()->count(), 2);
    press(o.ris(), "cmdaggiungi");
    QCOMPARE(o.resourceList()->count(), 3);

    // A name from a volunteer archive prepared elsewhere (UTF-8) with a
    // letter Windows-1252 cannot hold is told and left out.
    o.write(File::Volontari, "ALFA,\xc5\x81UKASZ,NOWAK\r\nALFA,LUCA,BIANCHI\r\n");
    openNames();
    QCOMPARE(items(names), QStringList({"", QString::fromUtf8("\xc5\x81UKASZ NOWAK"), "LUCA BIANCHI"}));
    names->item(1)->setCheckState(Qt::Checked);
    names->item(2)->setCheckState(Qt::Checked);
    o.fake.prompts.clear();
    press(sto, "cmdinserimento");
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QCOMPARE(o.resourceList()->count(), 4);
    QCOMPARE(o.resourceList()->item(3)->text(), luca);
    delete o.resourceList()->item(3);

    // The association of the long name, cut to 50 by the list.
    o.write(File::Volontari, crlf({longName.toLatin1() + ",PIA,NERI"}));
    o.pick("cmdvol", ResourceKind::Association, associationListLine(longName, 3));
    QCOMPARE(child<QLineEdit>(o.ris(), "qta")->text(), QString("3"));
    openNames();
    QCOMPARE(items(names), QStringList({"", "PIA NERI"}));

    // Deleting the "VOL." line gives ALFA its ten back and leaves its named
    // volunteers; they give nothing back when deleted.
    o.activate(w);
    o.deleteRow(2);
    QCOMPARE(o.resourceList()->count(), 2);
    QCOMPARE(o.read(File::Associazioni), associationRecords(10));
    o.deleteRow(0);
    QCOMPARE(o.read(File::Associazioni), associationRecords(10));
    QCOMPARE(o.resourceList()->count(), 1);
}

void TestResourceFlow::pressesAndPicksThatGoNowhere()
{
    PickOffice o;
    // No activity window open: the pick is refused and nothing changes.
    picking::offerResource(o.ctx, ResourceKind::Vehicle, kJeepLine);
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QVERIFY(o.ctx.g.rigarisorsa.isEmpty());
    QVERIFY(o.windows->existing<Formris>() == nullptr);

    Formattivita *w = o.openInsert();
    o.add("cmdauto", ResourceKind::Vehicle, kJeepLine);
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
    QCOMPARE(o.read(File::Automezzi), kJeepTaken);
    QVERIFY(!o.ctx.g.risorsecambiate);
    // A line of a type no register knows stays.
    w->addResourceLine("XXXX      1   " + kJeepLine);
    o.deleteRow(1);
    QCOMPARE(o.fake.prompts.questions().size(), 1);
    QCOMPARE(l->count(), 2);
    QVERIFY(!o.ctx.g.risorsecambiate);
    QCOMPARE(o.read(File::Automezzi), kJeepTaken);

    // Two buttons in a row keep the mode to return to.
    press(w, "cmdattr");
    press(w, "cmdauto");
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::RU);
    QCOMPARE(o.ctx.g.modoattprec, modes::Activity::I);
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::I);
    // A line picked in a list still open after the user came back to the
    // activity window goes back to that window's mode as well.
    picking::offerResource(o.ctx, ResourceKind::Association, kAlfaLine);
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::RA);
    QCOMPARE(o.ctx.g.modoattprec, modes::Activity::I);
    QCOMPARE(o.ctx.g.rigarisorsa, kAlfaLine);

    // The activity window left meanwhile: "Aggiungi" takes nothing.
    o.activate(w);
    press(w, "cmdesci");
    const QByteArray assocNow = o.read(File::Associazioni);
    o.fake.prompts.clear();
    press(o.ris(), "cmdaggiungi");
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QVERIFY(!o.ris()->isVisible());
    QCOMPARE(o.read(File::Associazioni), assocNow);
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

namespace {

// Activity 7, open, registered with TENDA (3 pieces), JEEP and 4 volunteers
// of ALFA, the registers as its registration left them.
const QByteArray kJeepTakenLine = withState(kJeep, 'A');
const QByteArray kAmbulanzaTakenLine = withState(kAmbulanza, 'A');
const QByteArray kAlfa6 = "ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 6 , 12 ";

void registeredSeven(PickOffice &o)
{
    o.write(File::Associazioni, crlf({kAlfa6, "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2, 5 , 5 "}));
    o.write(File::Automezzi, crlf({kJeepTakenLine, kAmbulanza}));
    o.write(File::Attrezzature, kTendaTaken);
    o.write(File::Attivita, crlf({" 7 ,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,A"}));
    o.write(File::Risorse, crlf({"7,ATTR,3,ALFA,TENDA,O", "7,AUTO,1,ALFA,JEEP,O", "7,VOL.,4,ALFA,,O"}));
}

// Every archive of the office, to compare byte for byte.
QList<QByteArray> archives(const PickOffice &o)
{
    QList<QByteArray> out;
    for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita,
                   File::Risorse, File::Volontari, File::NumeroProt})
        out << o.read(f);
    return out;
}

} // namespace

// Undoing what the activity window changed without registering it gives
// back, or takes again, exactly the records it touched: a correction
// registered meanwhile in a register window stays, whatever the moment of
// the undo.
void TestResourceFlow::undoKeepsWhatOtherWindowsRegistered_data()
{
    QTest::addColumn<QString>("correction");
    QTest::addColumn<QString>("moment");
    QTest::addColumn<bool>("pending");
    const char *moments[] = {"cmdesci", "title bar", "reload", "main list", "mnattains",
                             "mnattamod", "mnattaann", "mnfine"};
    for (const char *correction : {"association", "vehicle", "equipment"})
        for (const char *moment : moments)
            for (bool pending : {false, true})
                QTest::addRow("%s %s%s", correction, moment, pending ? " unregistered" : "")
                    << QString(correction) << QString(moment) << pending;
    QTest::addRow("renamed meanwhile") << QString("rename") << QString("cmdesci") << true;
}

void TestResourceFlow::undoKeepsWhatOtherWindowsRegistered()
{
    QFETCH(QString, correction);
    QFETCH(QString, moment);
    QFETCH(bool, pending);
    PickOffice o;
    registeredSeven(o);

    // A line deleted and the deletion registered: nothing is left to undo.
    Formattivita *w = o.openFromMain("7");
    o.deleteRow(0);
    QVERIFY(o.ctx.g.risorsecambiate);
    o.fake.prompts.clear();
    press(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività modificata correttamente.")}));
    QVERIFY(!o.ctx.g.risorsecambiate);
    QCOMPARE(o.read(File::Attrezzature), kAllFree);

    // Then, unless the row says otherwise, a deleted line (the jeep given
    // back) and a fresh one (the ambulance taken), neither registered.
    QCOMPARE(o.read("sospese.dat"), QByteArray());
    if (pending) {
        o.deleteRow(0);
        o.add("cmdauto", ResourceKind::Vehicle, vehicleListLine("BETA", "AMBULANZA", "L"));
        QCOMPARE(o.read(File::Automezzi), crlf({kJeep, kAmbulanzaTakenLine}));
        // Kept on disk too, for a start after an abnormal end.
        QCOMPARE(o.read("sospese.dat"),
                 "R," + ("AUTO      1   " + kJeepLine).left(114).toLatin1() + "\r\nP,AUTO      1   "
                     + vehicleListLine("BETA", "AMBULANZA", "L").toLatin1() + "\r\n");
    }

    // The correction, registered in its own window.
    o.fake.prompts.clear();
    if (correction == "association" || correction == "rename") {
        auto *a = o.fromMenu<Formass>("mnassamod");
        QVERIFY(chooseEntry(child<QComboBox>(a, "cmbassdenom"), "ALFA"));
        if (correction == "rename") typeInto(child<QComboBox>(a, "cmbassdenom"), "alfa due");
        else typeText(a, "assnumvol", "20");
        press(a, "cmdassregistra");
        QCOMPARE(o.fake.prompts.messages(), QStringList({"Associazione modificata."}));
    } else if (correction == "vehicle") {
        auto *v = o.fromMenu<Formauto>("mnautains");
        typeInto(child<QComboBox>(v, "cmbass"), "BETA");
        typeInto(child<QComboBox>(v, "cmbdes"), "FURGONE");
        typeText(v, "dataar", "05/03/2025");
        typeText(v, "oraar", "15.00");
        typeInto(child<QComboBox>(v, "cmbstato"), "L");
        press(v, "cmdregistra");
        QCOMPARE(o.fake.prompts.messages(), QStringList({"Automezzo registrato correttamente."}));
    } else {
        auto *e = o.fromMenu<Formattr>("mnatrains");
        typeInto(child<QComboBox>(e, "cmbass"), "BETA");
        typeInto(child<QComboBox>(e, "cmbdes"), "BARELLA");
        typeText(e, "qta", "4");
        typeInto(child<QComboBox>(e, "cmbstato"), "L");
        press(e, "cmdregistra");
        QCOMPARE(o.fake.prompts.messages(), QStringList({"Attrezzatura registrata correttamente."}));
    }

    // What the registrations left: the unregistered jeep and ambulance
    // lines undone, the correction kept.
    QList<QByteArray> expected = archives(o);
    if (pending && correction != "rename")
        expected[1].replace(kJeep, kJeepTakenLine).replace(kAmbulanzaTakenLine, kAmbulanza);
    if (correction == "rename") expected[1].replace(kAmbulanzaTakenLine, kAmbulanza);

    o.fake.prompts.clear();
    if (moment == "cmdesci" || moment == "title bar" || moment == "reload") {
        o.activate(w);
        if (moment == "cmdesci") press(w, "cmdesci");
        else if (moment == "title bar") w->close();
        else o.activate(o.main), o.activate(w);
    } else if (moment == "main list") {
        o.openFromMain("7");
    } else {
        o.activate(o.main);
        o.main->action(moment)->trigger();
    }
    QCOMPARE(archives(o), expected);
    QCOMPARE(o.read("sospese.dat"), QByteArray());
    QVERIFY(!o.ctx.g.risorsecambiate);
    if (correction == "rename") {
        // The jeep's association is renamed: it is named, nothing is taken.
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QVERIFY(o.fake.prompts.messages().first().contains("automezzo JEEP dell'associazione ALFA"));
    } else {
        QCOMPARE(o.fake.prompts.messages(), QStringList());
    }
    // Undone once: a later moment changes nothing more.
    o.activate(o.main);
    o.main->action("mnattains")->trigger();
    QCOMPARE(archives(o), expected);
}

// An undo that cannot be made now (a register read-only) is not lost when
// the window goes on to another activity, nor taken for registered with it.
void TestResourceFlow::anUndoThatFailsStaysToBeUndone()
{
    PickOffice o;
    registeredSeven(o);
    Formattivita *w = o.openFromMain("7");
    o.deleteRow(0); // the tent given back, not registered
    QCOMPARE(o.read(File::Attrezzature), kAllFree);
    const QByteArray held = o.read("sospese.dat");
    QFile::setPermissions(o.path(File::Attrezzature), QFile::ReadOwner);
    o.fake.prompts.clear();
    w = o.openInsert();
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QCOMPARE(o.read(File::Attrezzature), kAllFree);
    QCOMPARE(o.read("sospese.dat"), held);
    // A new activity registered meanwhile keeps the undo pending.
    o.fillRequest();
    typeText(w, "numprot", "8");
    o.add("cmdvol", ResourceKind::Association, associationListLine("BETA", 5), "1");
    o.activate(w);
    o.fake.prompts.clear();
    press(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività inserita correttamente.")}));
    QCOMPARE(o.read("sospese.dat"), held);
    // Writable again: the next occasion takes the tent again.
    QFile::setPermissions(o.path(File::Attrezzature), QFile::ReadOwner | QFile::WriteOwner);
    press(w, "cmdesci");
    QCOMPARE(o.read(File::Attrezzature), kTendaTaken);
    QCOMPARE(o.read("sospese.dat"), QByteArray());
}

QTEST_MAIN(TestResourceFlow)
#include "tst_resourceflow.moc"
