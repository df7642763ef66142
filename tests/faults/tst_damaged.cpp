// Damaged archives: lines with missing or extra items, numbers that are not
// numbers or leave 16 bits, binary bytes, empty files and a file of 50 MB.
// Every window opens and lists what it can read, exactly what it lists when
// the unreadable lines are not there; a rewrite keeps every line it could
// not read, verbatim, in its place.
#include "desks.h"

#include "activities/formattlist.h"
#include "app/emergenzaform.h"
#include "app/formprot.h"
#include "app/formvelmo.h"
#include "app/picking.h"
#include "associations/formlist.h"
#include "resources/formris.h"
#include "resources/formsto.h"
#include "equipment/formattrlist.h"
#include "vehicles/formautolist.h"
#include "archive/io.h"

#include <QDir>
#include <QFileInfo>
#include <QAbstractItemView>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTest>

using archive::File;

class TestDamaged : public QObject {
    Q_OBJECT
private slots:
    void everyWindowListsWhatItCanRead();
    void binaryEmptyAndMissingFilesOpenEveryWindow();
    void folderInPlaceOfAnArchive();
    void rewritesKeepUnreadableLinesVerbatim();
    void fiftyMegabytes();
};

namespace {

// One line of a damaged archive and whether a reader can take it as its record.
struct Line {
    QByteArray bytes;
    bool readable;
};
using Archive = QList<Line>;

const QByteArray kBinary("\x00\x01\xff\xfe\x80\x9d\x7f", 7);

QMap<File, Archive> damagedArchives()
{
    return {
        {File::Associazioni,
         {{"ALFA,VIA UNO,COMUNE,PR,011,,,CAMPO, 10 , 10 ", true},
          {"BETA,VIA DUE", false},                          // items missing
          {"GAMMA,A,B,C,D,E,F,G, 1 , 1 ,ALTRO", false},     // one item more
          {"DELTA,,,,,,,,DIECI, 1 ", false},                // not a number
          {"EPSILON,,,,,,,, 40000 , 1 ", false},            // beyond 16 bits
          {"ETA,,,,,,,, 2.5 , 1 ", false},                  // a decimal
          {kBinary + ",,,,,,,," + kBinary + ",1", false},   // binary
          {"", false},                                      // an empty line
          {"ZETA,VIA TRE,COMUNE,PR,,,,CAMPO, 3 , 3 ", true}}},
        {File::Automezzi,
         {{"ALFA,JEEP,CAMPO,01/03/2025,08.00,,,FUORISTRADA,L", true},
          {"ALFA,CAMION,A,B,C,D,E,F,L,ALTRO", false},
          {"ALFA,MOTO", true}, // missing items read as empty
          {kBinary + ",,,,,,,,,," + kBinary, false},
          {"ZETA,GRU,CAMPO,01/03/2025,08.00,,,SOLLEVAMENTO,A", true}}},
        {File::Attrezzature,
         {{"ALFA,TENDA,L, 20 ", true},
          {"ALFA,BRANDA", false},
          {"ALFA,PALA,L,MOLTE", false},
          {"ALFA,PICCONE,L, 70000 ", false},
          {"ALFA,PICCOZZA,L, -32769 ", false},
          {"ALFA,SECCHIO,L, 2 ,ALTRO", false},
          {kBinary, false},
          {"ALFA,TORCIA,L, 5 ", true}}},
        {File::Attivita,
         {{" 7 ,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A", true},
          {" SETTE ,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A", false},
          {" 99999 ,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A", false},
          {" 6 ,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A,ALTRO", false},
          {kBinary, false},
          {" 9 ,01/03/2025,09.00,02/03/2025,10.00,,,RICERCA,BOSCO,PREFETTO,,A", true}}},
        {File::Risorse,
         {{" 7 ,ATTR,2,ALFA,TENDA,O", true},
          {" X ,ATTR,2,ALFA,TENDA,O", false},
          {" 7 ,AUTO,1,ALFA,JEEP,O,ALTRO", false},
          {" 9 ,AUTO,1,ZETA,GRU,O", true}}},
        {File::Volontari,
         {{"ALFA,MARIO,ROSSI,,,,,,,", true},
          {"ALFA,LUCA,BIANCHI,,,,,,,,ALTRO", false},
          {"ALFA," + kBinary, true}, // texts only: binary bytes are a name
          {"ALFA,ANNA,VERDI", true}}},
    };
}

QByteArray joined(const Archive &a, bool readableOnly)
{
    QByteArray out;
    for (const Line &l : a)
        if (!readableOnly || l.readable) out += l.bytes + "\r\n";
    return out;
}

void writeAll(TestOffice &o, const QMap<File, Archive> &archives, bool readableOnly)
{
    for (auto it = archives.begin(); it != archives.end(); ++it)
        o.write(it.key(), joined(it.value(), readableOnly));
    o.write(File::NumeroProt, "9\r\n");
    o.write(File::Emergenza, "PROVA\r\n");
}

// The windows that show what the archives hold, each opened as the user
// opens it; a window that lands later is one more row.
struct ShowRow {
    const char *name;
    std::function<QWidget *(MainOffice &)> open;
};

template <class W> ShowRow fromMenu(const char *name, const char *entry)
{
    return {name, [entry](MainOffice &o) -> QWidget * { return o.fromMenu<W>(entry); }};
}

// After opening, the association is chosen where the window offers it.
QWidget *withAssociation(QWidget *w)
{
    if (auto *ass = w->findChild<QComboBox *>(QStringLiteral("cmbass")))
        chooseEntry(ass, QStringLiteral("ALFA"));
    return w;
}

const std::vector<ShowRow> &showingWindows()
{
    static const std::vector<ShowRow> rows = {
        {"Formvelmo",
         [](MainOffice &o) -> QWidget * {
             o.activate(o.main);
             return o.main;
         }},
        fromMenu<Formass>("Formass I", "mnassains"),
        fromMenu<Formass>("Formass M", "mnassamod"),
        fromMenu<Formass>("Formass A", "mnassaann"),
        {"Formauto I", [](MainOffice &o) { return withAssociation(o.fromMenu<Formauto>("mnautains")); }},
        {"Formauto M", [](MainOffice &o) { return withAssociation(o.fromMenu<Formauto>("mnautamod")); }},
        {"Formattr I", [](MainOffice &o) { return withAssociation(o.fromMenu<Formattr>("mnatrains")); }},
        {"Formattr A", [](MainOffice &o) { return withAssociation(o.fromMenu<Formattr>("mnatraann")); }},
        fromMenu<Formattivita>("Formattivita I", "mnattains"),
        {"Formattivita M",
         [](MainOffice &o) -> QWidget * {
             // As the activity list does when the user picks activity 7.
             auto *w = o.windows->get<Formattivita>();
             o.ctx.g.protsel = QStringLiteral("7");
             o.ctx.g.modoatt = QStringLiteral("M");
             o.activate(w);
             return w;
         }},
        fromMenu<Formlist>("Formlist", "mnassvel"),
        fromMenu<Formautolist>("Formautolist G", "mnautvelg"),
        {"Formautolist A", [](MainOffice &o) { return withAssociation(o.fromMenu<Formautolist>("mnautvass")); }},
        fromMenu<Formautolist>("Formautolist R", "mnautvric"),
        fromMenu<Formattrlist>("Formattrlist G", "mnatrvelg"),
        {"Formattrlist A", [](MainOffice &o) { return withAssociation(o.fromMenu<Formattrlist>("mnatrvass")); }},
        fromMenu<Formattrlist>("Formattrlist R", "mnatrvric"),
        fromMenu<Formattlist>("Formattlist G", "mnattvgen"),
        fromMenu<Formattlist>("Formattlist V", "mnattvchi"),
        fromMenu<Formattlist>("Formattlist Z", "mnattvann"),
        fromMenu<Formattlist>("Formattlist M", "mnattamod"),
        fromMenu<Formattlist>("Formattlist A", "mnattaann"),
        fromMenu<Formprot>("Formprot", "mnrippro"),
        fromMenu<emergenzaform>("emergenzaform", "mnemergenza"),
        {"Formsto",
         [](MainOffice &o) -> QWidget * {
             // The names of ALFA's volunteers, for a new activity.
             auto *activity = o.fromMenu<Formattivita>("mnattains");
             clickButton(activity, "cmdvol");
             picking::offerResource(o.ctx, picking::Kind::Association,
                                    QStringLiteral("ALFA").leftJustified(50) + " 10");
             clickButton(o.windows->get<Formris>(), "cmdnomi");
             auto *names = o.windows->get<Formsto>();
             o.activate(names);
             return names;
         }},
    };
    return rows;
}

// Everything a window shows: its lists, drop-down lists and fields.
QStringList shown(QWidget *w)
{
    QStringList out;
    // Lists of any kind (the popups of the drop-down lists come below).
    for (auto *l : w->findChildren<QAbstractItemView *>()) {
        bool inCombo = false;
        for (QObject *p = l->parent(); p && p != w; p = p->parent())
            inCombo = inCombo || qobject_cast<QComboBox *>(p);
        if (inCombo || !l->model()) continue;
        out << QStringLiteral("[%1]").arg(l->objectName());
        for (int i = 0; i < l->model()->rowCount(); ++i)
            out << l->model()->index(i, 0).data().toString();
    }
    for (auto *c : w->findChildren<QComboBox *>()) {
        out << QStringLiteral("[%1]").arg(c->objectName()) << entries(c) << c->currentText();
    }
    for (auto *e : w->findChildren<QLineEdit *>())
        if (!qobject_cast<QComboBox *>(e->parentWidget()))
            out << QStringLiteral("[%1] %2").arg(e->objectName(), e->text());
    return out;
}

QStringList showAll(MainOffice &o, const std::vector<ShowRow> &rows)
{
    QStringList out;
    for (const ShowRow &row : rows) {
        out << QStringLiteral("== %1").arg(row.name);
        out << shown(row.open(o));
    }
    return out;
}

// Binary bytes without line ends: of `size` bytes, in lines of up to 4000.
QByteArray noise(QRandomGenerator &random, qsizetype size, bool commas)
{
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        char c = char(random.bounded(256));
        if (c == '\r' || c == '\n' || (!commas && c == ',')) c = '#';
        out[i] = c;
    }
    return out;
}

} // namespace

void TestDamaged::everyWindowListsWhatItCanRead()
{
    MainOffice damaged, clean;
    writeAll(damaged, damagedArchives(), false);
    writeAll(clean, damagedArchives(), true);
    const QStringList withDamage = showAll(damaged, showingWindows());
    const QStringList readableOnly = showAll(clean, showingWindows());
    QCOMPARE(withDamage, readableOnly);
    // And they do list what is readable.
    for (const char *text : {"ALFA", "ZETA", "JEEP", "MOTO", "TENDA", "TORCIA", "SOCCORSO", "RICERCA",
                             "ATTR      2   ALFA", "MARIO ROSSI", "ANNA VERDI"})
        QVERIFY2(readableOnly.filter(QLatin1String(text)).size() > 0, text);
    for (const char *text : {"BETA", "GAMMA", "DELTA", "EPSILON", "CAMION", "PALA", "PICCONE", "SETTE",
                             "LUCA"})
        QVERIFY2(withDamage.filter(QLatin1String(text)).isEmpty(), text);
}

void TestDamaged::binaryEmptyAndMissingFilesOpenEveryWindow()
{
    const File all[] = {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita,
                        File::Risorse, File::Volontari, File::NumeroProt, File::Emergenza};
    // Missing files and empty files show the same: nothing.
    MainOffice missing, empty;
    for (File f : all) empty.write(f, QByteArray());
    QCOMPARE(showAll(empty, showingWindows()), showAll(missing, showingWindows()));

    // Binary files, with and without line ends and commas: every window
    // opens; nothing is written by opening.
    QRandomGenerator random(4242);
    for (int round = 0; round < 3; ++round) {
        MainOffice o;
        for (File f : all) {
            QByteArray bytes = noise(random, 20000, round != 1);
            for (int k = 0; k < 40 && round != 2; ++k) {
                const char *ends[] = {"\r\n", "\n", "\r"};
                bytes.insert(random.bounded(bytes.size()), ends[k % 3]);
            }
            o.write(f, bytes);
        }
        const auto before = folderState(o);
        showAll(o, showingWindows());
        auto after = folderState(o);
        // Opening the activity window and lists takes snapshots: only .sav files may appear.
        for (const QString &name : after.keys())
            if (name.endsWith(QLatin1String(".sav"))) after.remove(name);
        QCOMPARE(after, before);
    }
}

void TestDamaged::folderInPlaceOfAnArchive()
{
    // A folder where an archive should stand cannot be read: every window
    // opens with nothing from it, and a registration says which file.
    MainOffice o;
    seedOffice(o);
    for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita,
                   File::Risorse}) {
        QFile::remove(o.path(f));
        QVERIFY(QDir(o.dir()).mkdir(archive::fileName(f)));
    }
    showAll(o, showingWindows());
    const WindowRow &formass = registerWindows().front();
    QWidget *w = formass.open(o);
    fillGood(w, formass);
    o.fake.prompts.clear();
    clickButton(w, formass.button);
    QCOMPARE(o.fake.prompts.messages(),
             QStringList{archive::IoResult::fail(archive::IoResult::ReadFailed,
                                                 o.path(File::Associazioni))
                             .message()});
    QVERIFY(QFileInfo(o.path(File::Associazioni)).isDir());
}

void TestDamaged::rewritesKeepUnreadableLinesVerbatim()
{
    const auto archives = damagedArchives();
    for (const WindowRow &row : registerWindows()) {
        MainOffice o;
        writeAll(o, archives, false);
        const Archive &a = archives.value(row.archive);
        QWidget *w = row.open(o);
        fillGood(w, row);
        o.fake.prompts.clear();
        clickButton(w, row.button);
        QCOMPARE(o.fake.prompts.messages(),
                 row.done.isEmpty() ? QStringList{} : QStringList{row.done});
        // What the rewrite gives: the new record in its place, every other
        // line as it was.
        QList<QByteArray> expected;
        switch (row.archive) {
        case File::Associazioni:
            expected = {a[0].bytes, a[1].bytes, a[2].bytes, a[3].bytes, a[4].bytes, a[5].bytes,
                        a[6].bytes, a[7].bytes, "NUOVA,,,,,,,,5,5", a[8].bytes};
            break;
        case File::Automezzi:
            // A readable line the rewrite does not change goes out as it stands.
            expected = {a[0].bytes, a[1].bytes, a[2].bytes, a[3].bytes,
                        "ALFA,NUOVO MEZZO,,01/03/2025,08.00,,,,L", a[4].bytes};
            break;
        case File::Attrezzature:
            expected = {"ALFA,NUOVO ATTREZZO,L,3", a[0].bytes, a[1].bytes, a[2].bytes, a[3].bytes,
                        a[4].bytes, a[5].bytes, a[6].bytes, a[7].bytes};
            break;
        case File::Attivita:
            expected = {a[0].bytes, a[1].bytes, a[2].bytes, a[3].bytes, a[4].bytes,
                        "8,03/03/2025,09.05,,,,,RICERCA,BOSCO,SINDACO,,A", a[5].bytes};
            break;
        default: QFAIL("no expected bytes");
        }
        QCOMPARE(o.read(row.archive), crlf(expected));
    }
}

void TestDamaged::fiftyMegabytes()
{
    // 50 MB of unreadable lines (binary, up to 4000 bytes each, every kind
    // of line end) between two readable records, made here in the test's
    // temporary folder.
    QRandomGenerator random(505050);
    QList<QByteArray> lines;
    QByteArray file;
    file.reserve(52 << 20);
    const QByteArray first = "ALFA,VIA UNO,COMUNE,PR,011,,,CAMPO, 10 , 10 ";
    const QByteArray last = "ZETA,VIA TRE,COMUNE,PR,,,,CAMPO, 3 , 3 ";
    lines << first;
    file += first + "\r\n";
    const char *ends[] = {"\r\n", "\n", "\r"};
    while (file.size() < (50 << 20)) {
        const QByteArray l = noise(random, 1 + random.bounded(4000), false);
        lines << l;
        file += l + ends[random.bounded(3)];
    }
    lines << last;
    file += last; // no line end after the last line

    MainOffice o;
    o.write(File::Associazioni, file);
    o.write(File::Attivita, file);
    // One opening of each window that reads these two archives.
    std::vector<ShowRow> rows;
    for (const ShowRow &r : showingWindows())
        for (const char *name : {"Formvelmo", "Formass I", "Formauto I", "Formattr I",
                                 "Formattivita I", "Formlist", "Formattlist G"})
            if (QLatin1String(r.name) == QLatin1String(name)) rows.push_back(r);
    QCOMPARE(int(rows.size()), 7);
    const QStringList all = showAll(o, rows);
    QVERIFY(all.contains(QStringLiteral("ALFA")));
    QVERIFY(all.contains(QStringLiteral("ZETA")));
    // Registering an association rewrites the 50 MB: every line kept, in
    // its place, with CR LF after it.
    const WindowRow &formass = registerWindows().front();
    QWidget *w = formass.open(o);
    fillGood(w, formass);
    o.fake.prompts.clear();
    clickButton(w, formass.button);
    QCOMPARE(o.fake.prompts.messages(), QStringList{});
    lines.insert(lines.size() - 1, "NUOVA,,,,,,,,5,5");
    const QByteArray expected = crlf(lines);
    lines.clear();
    file.clear();
    const QByteArray got = o.read(File::Associazioni);
    QCOMPARE(got.size(), expected.size());
    QVERIFY(got == expected);
}

QTEST_MAIN(TestDamaged)
#include "tst_damaged.moc"
