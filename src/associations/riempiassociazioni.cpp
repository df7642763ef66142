#include "associations/riempiassociazioni.h"

#include "associations/records.h"

#include <QComboBox>
#include <QLineEdit>

void riempiassociazioni(QComboBox *list, const QString &associazioniPath, const QString &search)
{
    const QString typed = list->currentText();
    const int cursor = list->lineEdit() ? list->lineEdit()->cursorPosition() : 0;
    const QStringList names = associations::matchingNames(associazioniPath, search);
    list->clear();
    list->addItems(names);
    list->setCurrentIndex(-1);
    list->setEditText(typed);
    if (list->lineEdit()) list->lineEdit()->setCursorPosition(cursor);
}
