// The toolkit's own buttons and dialogs speak Italian, like the rest of the
// program.

#include "platform/qtplatform.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class TestItalian : public QObject {
    Q_OBJECT
private slots:
    void questionAndDialogButtonsAreItalian()
    {
        QVERIFY(installItalianTexts());
        QVERIFY(installItalianTexts()); // a second call changes nothing

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

QTEST_MAIN(TestItalian)
#include "tst_italian.moc"
