// The guide as the help window shows it, and the toolkit's buttons in Italian.
#include "office.h"

#include "app/formvelmo.h"
#include "app/qtplatform.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

class TestGuide : public QObject {
    Q_OBJECT
    static QString guidePath() { return QFileInfo(VELMORA_HELP_DIR "/velmora.hlp").absoluteFilePath(); }
    QString m_html;
    QString m_text;          // the guide's text as shown, blanks simplified
    QSet<QString> m_anchors; // anchor names of the shown document

private slots:
    void initTestCase()
    {
        QFile file(guidePath());
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(guidePath()));
        m_html = QString::fromUtf8(file.readAll());
        QTextDocument doc;
        doc.setHtml(m_html);
        m_text = doc.toPlainText().simplified();
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            // An anchor in front of a heading belongs to the heading's block.
            for (const QString &name : b.charFormat().anchorNames()) m_anchors << name;
            for (auto it = b.begin(); !it.atEnd(); ++it)
                for (const QString &name : it.fragment().charFormat().anchorNames()) m_anchors << name;
        }
    }

    void everyLinkLeadsToItsSection()
    {
        const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        for (auto it = href.globalMatch(m_html); it.hasNext();) {
            const QString link = it.next().captured(1);
            QVERIFY2(link.startsWith('#'), qPrintable("collegamento esterno: " + link));
            QVERIFY2(m_anchors.contains(link.mid(1)), qPrintable("sezione mancante: " + link));
        }
        const qsizetype index = m_html.indexOf(QStringLiteral("name=\"indice\""));
        const qsizetype firstSection = m_html.indexOf(QStringLiteral("name=\"avvio\""));
        QVERIFY(index >= 0 && firstSection > index);
        const QString indexHtml = m_html.mid(index, firstSection - index);
        for (const QString &anchor : std::as_const(m_anchors))
            QVERIFY2(anchor == "indice" || indexHtml.contains("href=\"#" + anchor + "\""),
                     qPrintable("sezione assente dall'indice: " + anchor));
        QCOMPARE(m_html.count(QStringLiteral("<a name=")), m_anchors.size());
    }

    void coversEveryMenuEntryWindowAndButton()
    {
        TestOffice office;
        auto *main = office.windows->get<Formvelmo>();
        main->setQuitHandler([] {});
        office.activate(main);
        QStringList missing;
        auto need = [&](const QString &what, const QString &text) {
            const QString t = text.simplified();
            if (!t.isEmpty() && !m_text.contains(t)) missing << what + ": \"" + t + "\"";
        };
        const QSet<QString> sequences = {"mnsalvaarc", "mnriparc", "mnripazze", "mnfine", "mnhelp"};
        for (QAction *a : main->findChildren<QAction *>()) {
            const QString name = a->objectName();
            if (!name.startsWith(QLatin1String("mn"))) continue;
            need(name, QString(a->text()).remove('&')); // the '&' marks the letter of Alt
            if (a->menu() || sequences.contains(name)) continue;
            a->trigger();
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (!w->isVisible() || qobject_cast<QMessageBox *>(w)) continue;
                need(QStringLiteral("finestra"), w->windowTitle());
                for (auto *b : w->findChildren<QAbstractButton *>())
                    if (b->isVisibleTo(w)) need(w->objectName() + " pulsante", b->text());
            }
        }
        QCOMPARE(office.fake.prompts.unexpected, 0);
        missing.removeDuplicates();
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
    }

    void helpWindowOpensAtTheIndex()
    {
        QCOMPARE(QtHelpViewer::locate(QStringLiteral("velmora.hlp")), guidePath());
        QtPrompts prompts;
        QtHelpViewer viewer(prompts);
        viewer.showKeywordIndex(QStringLiteral("velmora.hlp"));
        QTextBrowser *browser = viewer.window();
        QVERIFY(browser && browser->isVisible());
        QCOMPARE(browser->objectName(), QStringLiteral("Formhelp"));
        QCOMPARE(browser->source().toLocalFile(), guidePath());
        QCOMPARE(browser->source().fragment(), QStringLiteral("indice"));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Parole chiave")));
        browser->setSource(browser->source().resolved(QUrl(QStringLiteral("#fine"))));
        viewer.showKeywordIndex(QStringLiteral("velmora.hlp"));
        QCOMPARE(viewer.window(), browser);
        QCOMPARE(browser->source().fragment(), QStringLiteral("indice"));
    }

    void toolkitButtonsAreItalian()
    {
        QVERIFY(installItalianTexts());
        QMessageBox box(QMessageBox::NoIcon, "velmora", "Continuo?", QMessageBox::Yes | QMessageBox::No);
        box.show();
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString::fromUtf8("Sì"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), QString("No"));
        QFileDialog dialog(nullptr, "Archivio Automezzi", QDir::tempPath(), "*.*");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.show();
        QStringList captions;
        for (auto *b : dialog.findChildren<QPushButton *>()) captions << b->text().remove('&');
        QVERIFY2(captions.contains("Salva") && captions.contains("Annulla"), qPrintable(captions.join('|')));
    }
};

QTEST_MAIN(TestGuide)
#include "tst_guide.moc"
