#pragma once

#include <QString>

class QComboBox;

// Fills the drop-down list of `list` with the association names that contain
// `search` in capitals, in file order (no empty names, no name equal to the
// one added just before it). The text typed in the list stays as it is.
void riempiassociazioni(QComboBox *list, const QString &associazioniPath, const QString &search);
