// Damaged archives: every window lists exactly what it lists without the
// unreadable lines; a rewrite of 50 MB keeps each of them verbatim in its
// place (the byte rules of a rewrite are tst_archive's).
#include "desks.h"

#include "archive/io.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "activities/formris.h"
#include "activities/formsto.h"
#include "vehicles/records.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>

using archive::File;

namespace {

const QByteArray kBinary("\x00\x01\xff\xfe\x80\x9d\x7f", 7);
const QByteArray kAlfa = "ALFA,VIA UNO,COMUNE,PR,011,,,CAMPO, 10 , 10 ", kZeta = "ZETA,VIA TRE,COMUNE,PR,,,,CAMPO, 3 , 3 ";
const QMap<File, QList<QPair<QByteArray, bool>>> kDamaged{
    {File::Associazioni,
     {{kAlfa, true},
      {"BETA,VIA DUE", false},                        // items missing
      {"GAMMA,A,B,C,D,E,F,G, 1 , 1 ,ALTRO", false},   // one item more
      {"DELTA,,,,,,,,DIECI, 1 ", false},              // not a number
      {"EPSILON,,,,,,,, 40000 , 1 ", false},          // beyond 16 bits
      {kBinary + ",,,,,,,," + kBinary + ",1", false}, // binary
      {"", false},                                    // an empty line
      {kZeta, true}}},
    {File::Automezzi,
     {{"ALFA,JEEP,CAMPO,01/03/2025,08.00,,,FUORISTRADA,L", true},
      {"ALFA,CAMION,A,B,C,D,E,F,L,ALTRO", false},
      {"ALFA,MOTO", true}, // missing items read as empty
      {kBinary + ",,,,,,,,,," + kBinary, false},
      {"ZETA,GRU,CAMPO,01/03/2025,08.00,,,SOLLEVAMENTO,A", true}}},
    {File::Attrezzature,
     {{"ALFA,TENDA,L, 20 ", true}, {"ALFA,BRANDA", false}, {"ALFA,PALA,L,MOLTE", false}, {"ALFA,PICCONE,L, 70000 ", false}, {"ALFA,PICCOZZA,L, -32769 ", false}, {"ALFA,SECCHIO,L, 2 ,ALTRO", false}, {kBinary, false}, {"ALFA,TORCIA,L, 5 ", true}}},
    {File::Attivita,
     {{" 7 ,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A", true},
      {" SETTE ,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A", false},
      {" 6 ,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A,ALTRO", false},
      {kBinary, false},
      {" 9 ,01/03/2025,09.00,02/03/2025,10.00,,,RICERCA,BOSCO,PREFETTO,,A", true}}},
    {File::Risorse,
     {{" 7 ,ATTR,2,ALFA,TENDA,O", true}, {" X ,ATTR,2,ALFA,TENDA,O", false}, {" 7 ,AUTO,1,ALFA,JEEP,O,ALTRO", false}, {" 9 ,AUTO,1,ZETA,GRU,O", true}}},
    {File::Volontari,
     {{"ALFA,MARIO,ROSSI,,,,,,,", true}, {"ALFA,LUCA,BIANCHI,,,,,,,,ALTRO", false}, {"ALFA," + kBinary, true}, // texts only: binary bytes are a name
      {"ALFA,ANNA,VERDI", true}}},
};

void writeDamaged(TestOffice &o, bool readableOnly)
{
    for (auto it = kDamaged.begin(); it != kDamaged.end(); ++it) {
        QList<QByteArray> lines;
        for (const auto &[bytes, readable] : it.value())
            if (!readableOnly || readable) lines << bytes;
        o.write(it.key(), crlf(lines));
    }
    o.write(File::NumeroProt, "9\r\n");
    o.write(File::Emergenza, "PROVA\r\n");
}

// Every window that shows what the archives hold, with association ALFA chosen.
using ShowRows = QList<QPair<QString, std::function<QWidget *(MainOffice &)>>>;
const ShowRows &showingWindows()
{
    static ShowRows rows;
    if (!rows.empty()) return rows;
    rows.append({"Formvelmo", [](MainOffice &o) -> QWidget * { return o.activate(o.main), o.main; }});
    for (const MenuEntry &e : menuTable())
        if (*e.window)
            rows.append({QString::fromLatin1(e.name), [name = e.name](MainOffice &o) {
                             QWidget *w = openEntry(o, name);
                             if (auto *ass = w->findChild<QComboBox *>(QStringLiteral("cmbass"))) chooseEntry(ass, "ALFA");
                             return w;
                         }});
    rows.append({"Formattivita M", [](MainOffice &o) -> QWidget * {
                     o.ctx.g.protsel = QStringLiteral("7");
                     o.ctx.g.modoatt = modes::Activity::M;
                     o.activate(o.windows->get<Formattivita>());
                     return o.windows->get<Formattivita>();
                 }});
    rows.append({"Formsto", [](MainOffice &o) -> QWidget * {
                     clickButton(o.fromMenu<Formattivita>("mnattains"), "cmdvol");
                     o.main->offerPicked(ResourceKind::Association, QStringLiteral("ALFA").leftJustified(50) + " 10");
                     clickButton(o.windows->get<Formris>(), "cmdnomi");
                     o.activate(o.windows->get<Formsto>());
                     return o.windows->get<Formsto>();
                 }});
    return rows;
}

// Everything each window shows (a drop-down list's popup is its entries).
QStringList showAll(MainOffice &o, const ShowRows &rows = showingWindows())
{
    QStringList out;
    for (const auto &[name, open] : rows) {
        QWidget *w = open(o);
        out << QStringLiteral("== %1").arg(name);
        for (auto *l : w->findChildren<QAbstractItemView *>()) {
            bool inCombo = false;
            for (QObject *p = l->parent(); p && p != w; p = p->parent()) inCombo = inCombo || qobject_cast<QComboBox *>(p);
            if (!inCombo && l->model()) out << QStringLiteral("[%1]").arg(l->objectName()) << lineTexts(l);
        }
        for (auto *c : w->findChildren<QComboBox *>())
            out << QStringLiteral("[%1]").arg(c->objectName()) << entries(c) << c->currentText();
        for (auto *e : w->findChildren<QLineEdit *>())
            if (!qobject_cast<QComboBox *>(e->parentWidget())) out << QStringLiteral("[%1] %2").arg(e->objectName(), e->text());
    }
    return out;
}

QByteArray noise(QRandomGenerator &random, qsizetype size, bool commas)
{
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        char c = char(random.bounded(256));
        out[i] = c == '\r' || c == '\n' || (!commas && c == ',') ? '#' : c;
    }
    return out;
}

void registerAssociation(MainOffice &o)
{
    const WindowRow &formass = registerWindows().front();
    QWidget *w = formass.open(o);
    fillGood(w, formass);
    o.fake.prompts.clear();
    clickButton(w, formass.button);
}

} // namespace

class TestDamaged : public QObject {
    Q_OBJECT
private slots:
    void everyWindowListsWhatItCanRead()
    {
        MainOffice damaged, clean;
        writeDamaged(damaged, false);
        writeDamaged(clean, true);
        QStringList withDamage = showAll(damaged);
        const QStringList readableOnly = showAll(clean);
        // The engagement and attendance reports tell, in a note of their own
        // after a blank line, how many lines they left out.
        int notes = 0;
        for (qsizetype i = withDamage.size() - 1; i >= 0; --i) {
            if (!withDamage[i].startsWith(QLatin1String("Righe illeggibili non considerate: "))) continue;
            const bool afterBlank = i > 0 && withDamage[i - 1].isEmpty();
            withDamage.remove(i - afterBlank, 1 + afterBlank);
            ++notes;
        }
        QCOMPARE(notes, 2);
        QCOMPARE(withDamage, readableOnly);
        for (const char *text : {"ALFA", "ZETA", "JEEP", "MOTO", "TENDA", "TORCIA", "SOCCORSO", "RICERCA",
                                 "ATTR      2   ALFA", "MARIO ROSSI", "ANNA VERDI"})
            QVERIFY2(readableOnly.filter(QLatin1String(text)).size() > 0, text);
    }

    void binaryEmptyMissingAndFolderArchivesOpenEveryWindow()
    {
        const File all[] = {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita,
                            File::Risorse, File::Volontari, File::NumeroProt, File::Emergenza};
        MainOffice missing, empty;
        for (File f : all) empty.write(f, QByteArray());
        QCOMPARE(showAll(empty), showAll(missing));

        // Binary files: every window opens; nothing is written but snapshots.
        QRandomGenerator random(4242);
        for (int round = 0; round < 3; ++round) {
            MainOffice o;
            for (File f : all) {
                QByteArray bytes = noise(random, 20000, round != 1);
                for (int k = 0; k < 40 && round != 2; ++k)
                    bytes.insert(random.bounded(bytes.size()), QList<const char *>{"\r\n", "\n", "\r"}[k % 3]);
                o.write(f, bytes);
            }
            const auto before = o.files();
            showAll(o);
            auto after = o.files();
            after.removeIf([](auto it) { return it.key().endsWith(QLatin1String(".sav")); });
            QCOMPARE(after, before);
        }

        // A folder where an archive should stand: a registration names it.
        MainOffice o;
        seedOffice(o);
        for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita, File::Risorse}) {
            QFile::remove(o.path(f));
            QVERIFY(QDir(o.dir()).mkdir(archive::fileName(f)));
        }
        showAll(o);
        registerAssociation(o);
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList{archive::IoResult::fail(archive::IoResult::ReadFailed, o.path(File::Associazioni)).message()});
        QVERIFY(QFileInfo(o.path(File::Associazioni)).isDir());
    }

    void aKeyInAnUnreadableLineIsTaken()
    {
        // A key that stands only in a damaged line is taken, for a new record
        // or a renamed one.
        TestOffice o;
        writeDamaged(o, false);
        const auto &f = o.ctx.folder;
        const QStringList delta{"DELTA", "", "", "", "", "", "", "", "1", "1"};
        const QStringList camion{"ALFA", "CAMION", "", "", "", "", "", "", "L"}, pala{"ALFA", "PALA", "L", "1"};
        const auto archives = [&] {
            QByteArray all; // the work files hold what a refused rewrite got to
            for (File a : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Volontari}) all += o.read(a);
            return all;
        };
        const QByteArray before = archives();
        for (const auto &attempt : std::initializer_list<std::function<registers::Outcome()>>{
                 [&] { return associations::insert(f, delta); },
                 [&] { return associations::modify(f, "ALFA", delta); },
                 [&] { return vehicles::insert(f, camion); },
                 [&] { return vehicles::modify(f, {"ALFA", "JEEP"}, camion); },
                 [&] { return equipment::insert(f, pala); },
                 [&] { return equipment::modify(f, {"ALFA", "TENDA"}, pala); }}) {
            QCOMPARE(attempt().status, registers::Outcome::Duplicate);
            QCOMPARE(archives(), before);
        }
    }

    void fiftyMegabytes()
    {
        // Every kind of line end, none after the last line.
        QRandomGenerator random(505050);
        QList<QByteArray> lines{kAlfa};
        QByteArray file = kAlfa + "\r\n";
        file.reserve(52 << 20);
        while (file.size() < (50 << 20)) {
            lines << noise(random, 1 + random.bounded(4000), false);
            file += lines.last() + QList<const char *>{"\r\n", "\n", "\r"}[random.bounded(3)];
        }
        lines << kZeta;
        file += kZeta;
        MainOffice o;
        o.write(File::Associazioni, file);
        o.write(File::Attivita, file);
        file.clear();
        ShowRows rows;
        for (const auto &row : showingWindows())
            if (QStringList{"Formvelmo", "mnassains", "mnautains", "mnatrains", "mnattains", "mnassvel", "mnattvgen"}.contains(row.first))
                rows << row;
        const QStringList all = showAll(o, rows);
        QVERIFY(all.contains(QStringLiteral("ALFA")) && all.contains(QStringLiteral("ZETA")));
        registerAssociation(o);
        lines.insert(lines.size() - 1, "NUOVA,,,,,,,,5,5");
        const QByteArray expected = crlf(lines), got = o.read(File::Associazioni);
        lines.clear();
        QVERIFY2(got == expected, qPrintable(QString::number(got.size())));
    }
};

QTEST_MAIN(TestDamaged)
#include "tst_damaged.moc"
