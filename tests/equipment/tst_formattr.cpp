#include "office.h"
#include "widgets.h"

#include "app/formvelmo.h"
#include "equipment/formattr.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using archive::File;

class TestFormattr : public QObject {
    Q_OBJECT
private slots:
    void controlsAndCerca();
    void insertRefusalsAndChoices();
    void modifyAndDeleteActOnTheSelectedKey();
};

namespace {

const QString kDuplicate = QString::fromUtf8("Attrezzatura già presente in archivio.");

struct Desk {
    TestOffice office;
    Formvelmo *main = office.windows->get<Formvelmo>();
    Formattr *w = nullptr;

    Desk()
    {
        office.write(File::Associazioni,
                     crlf({"ALFA,,,,,,,,1,1", "BETA,,,,,,,,1,1", "CROCE BETA,,,,,,,,1,1"}));
    }
    void open(const char *entry)
    {
        main->action(QString::fromLatin1(entry))->trigger();
        w = office.windows->get<Formattr>();
        office.activate(w);
    }
    QComboBox *list(const char *n) const { return w->findChild<QComboBox *>(QString::fromLatin1(n)); }
    QLineEdit *qta() const { return w->findChild<QLineEdit *>("qta"); }
    QPushButton *b(const char *n) const { return w->findChild<QPushButton *>(QString::fromLatin1(n)); }
    void click(const char *n) const { QTest::mouseClick(b(n), Qt::LeftButton); }
    FakePrompts &prompts() { return office.fake.prompts; }
    void fill(const char *a, const char *d, const char *s, const char *q)
    {
        typeInto(list("cmbass"), a);
        typeInto(list("cmbdes"), d);
        typeInto(list("cmbstato"), s);
        typeInto(qta(), q);
    }
    bool neverBusyAtPrompt() const
    {
        return !office.fake.prompts.busyAtPrompt.contains(true) && office.fake.busy.depth == 0;
    }
};

} // namespace

void TestFormattr::controlsAndCerca()
{
    Desk d;
    d.open("mnatramod");
    const QString pick = "Scegliere l'associazione o digitare alcuni caratteri di ricerca e "
                         "cliccare 'CERCA', quindi scegliere l'associazione.";
    QCOMPARE(d.list("cmbass")->toolTip(), pick);
    QCOMPARE(d.list("cmbdes")->toolTip(), pick);
    QStringList labels;
    for (auto *l : d.w->findChildren<QLabel *>()) labels << l->text();
    QCOMPARE(labels, QStringList({"Denominazione ass.", "Descrizione", "Stato (A/B/L/R)",
                                  QString::fromUtf8("Quantità")}));
    QCOMPARE(entries(d.list("cmbass")), QStringList({"ALFA", "BETA", "CROCE BETA"}));
    QCOMPARE(entries(d.list("cmbstato")),
             QStringList({"A = Attivo", "B = Bloccato", "L = Libero", "R = Riposo"}));

    // Cerca narrows the association list as the tooltip says.
    typeInto(d.list("cmbass"), "beta");
    d.click("cmdcercaass");
    QCOMPARE(entries(d.list("cmbass")), QStringList({"BETA", "CROCE BETA"}));
    d.click("cmdcognome"); // no action
    d.click("cmdesci");
    QVERIFY(!d.w->isVisible());
    QVERIFY(d.prompts().shown.isEmpty());
}

void TestFormattr::insertRefusalsAndChoices()
{
    Desk d;
    d.office.write(File::Attrezzature, crlf({"ALFA,PALA,L,2", "BETA,TENDA,L,4"}));
    d.open("mnatrains");
    QVERIFY(chooseEntry(d.list("cmbass"), "BETA"));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"TENDA"}));
    QCOMPARE(d.w->selectedKey().associazione, QString("BETA"));
    d.fill("BETA", "branda, da campo", "libero", "12");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Attrezzatura registrata correttamente."});
    QCOMPARE(d.office.read(File::Attrezzature),
             crlf({"ALFA,PALA,L, 2 ", "BETA,BRANDA  DA CAMPO,L,12", "BETA,TENDA,L, 4 "}));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"BRANDA  DA CAMPO", "TENDA"}));
    QCOMPARE(d.list("cmbstato")->currentText(), QString("libero"));
    QCOMPARE(d.qta()->text(), QString("12"));

    // Checked in this order; the description shows in capitals once both
    // names are there.
    const QByteArray before = d.office.read(File::Attrezzature);
    const struct {
        const char *a, *d, *s, *q;
        QString message;
        const char *desAfter;
    } cases[] = {
        {"", "x", "L", "1", "Manca Associazione.", "x"},
        {"beta", "", "L", "1", "Manca descrizione automezzo.", ""},
        {"beta", "nuova", "", "1", "Manca stato.", "NUOVA"},
        {"beta", "nuova", "x", "1", "Stato non previsto.", "NUOVA"},
        {"beta", "nuova", "L", "", QString::fromUtf8("Manca quantità."), "NUOVA"},
        {"beta", "nuova", "L", "2.5", QString::fromUtf8("Quantità dell'attrezzatura errata."), "NUOVA"},
        {"beta", "tenda", "A", "1", kDuplicate, "TENDA"},
    };
    for (const auto &c : cases) {
        d.prompts().clear();
        d.fill(c.a, c.d, c.s, c.q);
        d.click("cmdregistra");
        QCOMPARE(d.prompts().messages(), QStringList{c.message});
        QCOMPARE(d.office.read(File::Attrezzature), before);
        QCOMPARE(d.list("cmbdes")->currentText(), QString(c.desAfter));
    }
    QVERIFY(d.neverBusyAtPrompt());

    // Typing an existing description and leaving the field loads nothing;
    // the arrow keys choose, as a click in the list does.
    QVERIFY(chooseEntry(d.list("cmbass"), "BETA"));
    d.list("cmbdes")->setFocus();
    typeInto(d.list("cmbdes"), "TENDA");
    QTest::keyClick(d.list("cmbdes"), Qt::Key_Return);
    typeInto(d.qta(), "9");
    d.qta()->setFocus();
    QCOMPARE(d.qta()->text(), QString("9"));
    QCOMPARE(d.w->selectedKey().descrizione, QString());
    d.list("cmbdes")->setCurrentIndex(-1);
    QTest::keyClick(d.list("cmbdes"), Qt::Key_Down);
    QCOMPARE(d.w->selectedKey().descrizione, QString("BRANDA  DA CAMPO"));
    QCOMPARE(d.qta()->text(), QString("12"));
}

void TestFormattr::modifyAndDeleteActOnTheSelectedKey()
{
    Desk d;
    d.office.write(File::Attrezzature, crlf({"ALFA,PALA,L,2", "BETA,BRANDA,B,-3", "BETA,TENDA,L,4"}));
    d.open("mnatramod");
    QVERIFY(chooseEntry(d.list("cmbass"), "BETA"));
    QVERIFY(chooseEntry(d.list("cmbdes"), "BRANDA"));
    QCOMPARE(d.list("cmbstato")->currentText(), QString("B"));
    QCOMPARE(d.qta()->text(), QString("-3"));

    // Keeping the key: same place, new values.
    typeInto(d.list("cmbstato"), "R = Riposo");
    typeInto(d.qta(), "5");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{"Attrezzatura modificata correttamente."});
    QCOMPARE(d.office.read(File::Attrezzature),
             crlf({"ALFA,PALA,L, 2 ", "BETA,BRANDA,R,5", "BETA,TENDA,L, 4 "}));

    // To a key the association already has: refused.
    d.prompts().clear();
    const QByteArray before = d.office.read(File::Attrezzature);
    typeInto(d.list("cmbdes"), "tenda");
    d.click("cmdregistra");
    QCOMPARE(d.prompts().messages(), QStringList{kDuplicate});
    QCOMPARE(d.office.read(File::Attrezzature), before);

    // A new description: the record moves to its place.
    typeInto(d.list("cmbdes"), "zaino");
    d.click("cmdregistra");
    QCOMPARE(d.office.read(File::Attrezzature),
             crlf({"ALFA,PALA,L, 2 ", "BETA,TENDA,L, 4 ", "BETA,ZAINO,R,5"}));
    QCOMPARE(entries(d.list("cmbdes")), QStringList({"TENDA", "ZAINO"}));

    // Delete acts on the chosen record, whatever the fields say afterwards.
    // Then the selected association is BETA, the description still PALA:
    // nothing matches, nothing is written and no success is reported.
    d.w->hide();
    d.open("mnatraann");
    QVERIFY(chooseEntry(d.list("cmbass"), "ALFA"));
    QVERIFY(chooseEntry(d.list("cmbdes"), "PALA"));
    for (const char *message : {"Attrezzatura eliminata correttamente.", "Attrezzatura non trovata."}) {
        d.fill("BETA", "TENDA", "L", "1");
        d.prompts().clear();
        d.click("cmdregistra");
        QCOMPARE(d.prompts().messages(), QStringList{QString::fromUtf8(message)});
        QCOMPARE(d.office.read(File::Attrezzature), crlf({"BETA,TENDA,L, 4 ", "BETA,ZAINO,R, 5 "}));
    }
    QVERIFY(d.neverBusyAtPrompt());
}

QTEST_MAIN(TestFormattr)
#include "tst_formattr.moc"
