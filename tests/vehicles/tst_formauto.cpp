#include "office.h"
#include "widgets.h"

#include "app/formvelmo.h"
#include "vehicles/formauto.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using archive::File;

class TestFormauto : public QObject {
    Q_OBJECT
private slots:
    void controlsAndCerca();
    void insertAndRefusals();
    void modifyAndDeleteActOnTheChosenVehicle();
};

namespace {

const QString kDuplicate = QString::fromUtf8("Automezzo già presente nell'archivio.");

struct Desk {
    TestOffice office;
    Formvelmo *main = office.windows->get<Formvelmo>();
    Formauto *w = nullptr;

    void open(const char *entry)
    {
        main->action(QString::fromLatin1(entry))->trigger();
        w = office.windows->get<Formauto>();
        office.activate(w);
    }
    QComboBox *list(const char *n) const { return w->findChild<QComboBox *>(QString::fromLatin1(n)); }
    QLineEdit *f(const char *n) const { return w->findChild<QLineEdit *>(QString::fromLatin1(n)); }
    QPushButton *b(const char *n) const { return w->findChild<QPushButton *>(QString::fromLatin1(n)); }
    void click(const char *n) const { QTest::mouseClick(b(n), Qt::LeftButton); }
    FakePrompts &prompts() { return office.fake.prompts; }
    // Association, description, the four dates and times, state.
    void fill(const QStringList &v)
    {
        typeInto(list("cmbass"), v[0]);
        typeInto(list("cmbdes"), v[1]);
        const char *times[] = {"dataar", "oraar", "datapa", "orapa"};
        for (int i = 0; i < 4; ++i) typeInto(f(times[i]), v[2 + i]);
        typeInto(list("cmbstato"), v[6]);
    }
    bool neverBusyAtPrompt() const
    {
        return !office.fake.prompts.busyAtPrompt.contains(true) && office.fake.busy.depth == 0;
    }
};

const QByteArray kAssociations = crlf({"ALFA,,,,,,,,1,1", "BETA,,,,,,,,1,1", "BETA,,,,,,,,2,2",
                                       "CROCE,,,,,,,,1,1"});

} // namespace

void TestFormauto::controlsAndCerca()
{
    Desk d;
    d.office.write(File::Associazioni, kAssociations);
    d.open("mnautamod");
    const QString pick = "Scegliere l'associazione o digitare alcuni caratteri di ricerca e "
                         "cliccare 'CERCA', quindi scegliere l'associazione.";
    QCOMPARE(d.list("cmbass")->toolTip(), pick);
    QCOMPARE(d.list("cmbdes")->toolTip(), pick);
    QCOMPARE(d.f("campo")->toolTip(), QString("Digitare il campo di stazionamento del volontario."));
    QCOMPARE(d.f("note")->toolTip(), d.f("campo")->toolTip());
    QStringList labels;
    for (auto *l : d.w->findChildren<QLabel *>()) labels << l->text();
    for (const char *t : {"Denominazione ass.", "Descrizione", "Campo", "Data arrivo",
                          "Ora di arrivo", "Data partenza", "Ora partenza", "Specializzazione",
                          "Stato (A/B/L/R)"})
        QVERIFY2(labels.contains(QString(t)), t);
    QCOMPARE(entries(d.list("cmbstato")),
             QStringList({"A = Attivo", "B = Bloccato", "L = Libero", "R = Riposo"}));

    // Each association once; Cerca narrows them, in small letters.
    QCOMPARE(entries(d.list("cmbass")), QStringList({"ALFA", "BETA", "CROCE"}));
    typeInto(d.list("cmbass"), "e");
    d.click("cmdcercaass");
    QCOMPARE(entries(d.list("cmbass")), QStringList({"BETA", "CROCE"}));
    QCOMPARE(d.list("cmbass")->currentText(), QString());
    d.click("cmdcercaass");
    QCOMPARE(entries(d.list("cmbass")).size(), 3);

    // The date and time buttons read the clock (03/03/2025 09.05).
    d.click("cmddataar");
    QCOMPARE(d.f("dataar")->text(), QString("03/03/2025"));
    QCOMPARE(d.f("oraar")->text(), QString("09.05"));
    d.office.fake.clock.time = QDateTime(QDate(2026, 12, 5), QTime(23, 7));
    d.click("cmdorapa");
    QCOMPARE(d.f("orapa")->text(), QString("23.07"));
    QCOMPARE(d.f("datapa")->text(), QString());
    d.click("cmddatapa");
    QCOMPARE(d.f("datapa")->text(), QString("05/12/2026"));
    d.click("cmdoraar");
    QCOMPARE(d.f("oraar")->text(), QString("23.07"));
    d.click("cmdcognome"); // no action
    d.click("cmdesci");
    QVERIFY(!d.w->isVisible());
    QVERIFY(d.prompts().shown.isEmpty());
    QVERIFY(!d.office.exists(File::Automezzi));
}

void TestFormauto::insertAndRefusals()
{
    Desk d;
    d.office.write(File::Associazioni, kAssociations);
    d.office.write(File::Automezzi, crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 2,,,,,,,L"}));
    d.open("mnautains");
    QVERIFY(chooseEntry(d.list("cmbass"), "BETA"));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"AMB 2"}));
    d.fill({"BETA", "ambulanza, 1", "05/12/2026", "14.30", "", "", "attivo"});
    typeInto(d.f("campo"), "campo 2");
    typeInto(d.f("note"), "sanitaria");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Automezzo registrato correttamente."});
    QCOMPARE(d.office.read(File::Automezzi),
             crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 2,,,,,,,L",
                   "BETA,AMBULANZA  1,CAMPO 2,05/12/2026,14.30,,,SANITARIA,A"}));
    // Ready for the next vehicle of the same arrival.
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"AMB 2", "AMBULANZA  1"}));
    QCOMPARE(d.list("cmbdes")->currentText(), QString());
    QCOMPARE(d.f("campo")->text(), QString());
    QCOMPARE(d.f("note")->text(), QString());
    QCOMPARE(d.f("dataar")->text(), QString("05/12/2026"));
    QCOMPARE(d.f("oraar")->text(), QString("14.30"));
    QCOMPARE(d.list("cmbstato")->currentText(), QString("attivo"));

    typeInto(d.list("cmbdes"), "AMB 1");
    typeInto(d.f("datapa"), "06/12/2026");
    d.click("cmdregistra");
    QCOMPARE(d.office.read(File::Automezzi),
             crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB 1,,05/12/2026,14.30,06/12/2026,,,A",
                   "BETA,AMB 2,,,,,,,L", "BETA,AMBULANZA  1,CAMPO 2,05/12/2026,14.30,,,SANITARIA,A"}));

    // The same key again: refused, the fields as typed.
    d.prompts().clear();
    const QByteArray before = d.office.read(File::Automezzi);
    typeInto(d.list("cmbdes"), "amb 2");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{kDuplicate});
    QCOMPARE(d.office.read(File::Automezzi), before);
    QCOMPARE(d.list("cmbdes")->currentText(), QString("amb 2"));

    // The checks, in this order; a character the archives cannot hold is
    // refused field by field in tst_badinput.
    const struct {
        const char *ass, *dataar, *oraar, *datapa, *orapa, *stato, *message;
    } cases[] = {
        {"", "x", "x", "", "", "", "Manca denominazione Associazione."},
        {"alfa", "32/01/2026", "x", "", "", "", "Data arrivo errata."},
        {"alfa", "01/01/2026", "24.00", "", "", "", "Ora arrivo errata."},
        {"alfa", "30/01/2026", "10.00", "29/01/2026", "", "", "Data partenza errata."},
        {"alfa", "30/01/2026", "10.00", "30/01/2026", "09.00", "", "Ora partenza errata."},
        {"alfa", "30/01/2026", "10.00", "", "", "", "Manca stato."},
        {"alfa", "30/01/2026", "10.00", "", "", "x", "Stato non previsto."},
    };
    for (const auto &c : cases) {
        d.prompts().clear();
        d.fill({c.ass, "nuovo", c.dataar, c.oraar, c.datapa, c.orapa, c.stato});
        d.click("cmdregistra");
        QCOMPARE(d.prompts().messages(), QStringList{QString(c.message)});
        QCOMPARE(d.office.read(File::Automezzi), before);
        QCOMPARE(d.f("dataar")->text(), QString(c.dataar));
    }
    QVERIFY(d.neverBusyAtPrompt());

    // Activation empties the fields again.
    d.office.activate(d.w);
    QCOMPARE(d.f("dataar")->text(), QString());
    QCOMPARE(d.list("cmbass")->currentText(), QString());
}

void TestFormauto::modifyAndDeleteActOnTheChosenVehicle()
{
    Desk d;
    d.office.write(File::Associazioni, kAssociations);
    d.office.write(File::Automezzi,
                   crlf({"ALFA,AMB 1,C1,01/01/2026,10.00,02/01/2026,11.00,SAN,L",
                         "ALFA,AMB 2,,01/01/2026,10.00,,,,L", "BETA,JEEP,,01/01/2026,10.00,,,,A"}));
    d.open("mnautamod");
    // Nothing chosen yet: not found, nothing written.
    d.fill({"ALFA", "AMB 1", "01/01/2026", "10.00", "", "", "L"});
    const QByteArray before = d.office.read(File::Automezzi);
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Automezzo non trovato."});
    QCOMPARE(d.office.read(File::Automezzi), before);
    QCOMPARE(d.list("cmbdes")->currentText(), QString("AMB 1"));

    d.office.activate(d.w);
    QVERIFY(chooseEntry(d.list("cmbass"), "ALFA"));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"AMB 1", "AMB 2"}));
    QVERIFY(chooseEntry(d.list("cmbdes"), "AMB 1"));
    QCOMPARE(d.f("campo")->text(), QString("C1"));
    QCOMPARE(d.f("orapa")->text(), QString("11.00"));
    QCOMPARE(d.f("note")->text(), QString("SAN"));
    QCOMPARE(d.list("cmbstato")->currentText(), QString("L"));
    QCOMPARE(d.w->chiaveauto().descrizione, QString("AMB 1"));

    // To a key another vehicle has: refused.
    d.prompts().clear();
    typeInto(d.list("cmbdes"), "amb 2");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{kDuplicate});
    QCOMPARE(d.office.read(File::Automezzi), before);

    // A new description keeps the record at its place.
    d.prompts().clear();
    typeInto(d.list("cmbdes"), "zeta");
    typeInto(d.list("cmbstato"), "b");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Automezzo modificato correttamente."});
    QCOMPARE(d.office.read(File::Automezzi),
             crlf({"ALFA,ZETA,C1,01/01/2026,10.00,02/01/2026,11.00,SAN,B",
                   "ALFA,AMB 2,,01/01/2026,10.00,,,,L", "BETA,JEEP,,01/01/2026,10.00,,,,A"}));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"ZETA", "AMB 2"}));
    QCOMPARE(d.f("dataar")->text(), QString());
    QCOMPARE(d.list("cmbstato")->currentText(), QString());

    // Delete in another opening acts on the vehicle chosen there, even when
    // the name is edited afterwards; then that vehicle is gone.
    d.w->hide();
    d.open("mnautaann");
    QVERIFY(chooseEntry(d.list("cmbass"), "BETA"));
    QVERIFY(chooseEntry(d.list("cmbdes"), "JEEP"));
    typeInto(d.list("cmbass"), "ALFA");
    const QString deleted = "Automezzo eliminato correttamente.";
    for (const QString &message : {deleted, QString("Automezzo non trovato.")}) {
        d.prompts().clear();
        d.fill({"ALFA", d.list("cmbdes")->currentText(), "01/01/2026", "10.00", "", "", "L"});
        d.click("cmdregistra");
        QCOMPARE(d.prompts().messages(), QStringList{message});
        QCOMPARE(d.office.read(File::Automezzi),
                 crlf({"ALFA,ZETA,C1,01/01/2026,10.00,02/01/2026,11.00,SAN,B",
                       "ALFA,AMB 2,,01/01/2026,10.00,,,,L"}));
    }
    QVERIFY(d.neverBusyAtPrompt());
}

QTEST_MAIN(TestFormauto)
#include "tst_formauto.moc"
