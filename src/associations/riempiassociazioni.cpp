#include "associations/riempiassociazioni.h"

#include "associations/records.h"

#include <QComboBox>

void riempiassociazioni(QComboBox *list, const QString &associazioniPath, const QString &search)
{
    const QString typed = list->currentText();
    const QStringList names = associations::matchingNames(associazioniPath, search);
    list->clear();
    list->addItems(names);
    list->setCurrentIndex(-1);
    list->setEditText(typed);
}
