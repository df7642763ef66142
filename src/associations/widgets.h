#pragma once

#include "associations/registers.h"

#include <QString>

class QComboBox;
class QWidget;

// Controls and messages shared by the registry windows of associations,
// vehicles and equipment.
namespace regui {

// An editable drop-down list that never adds what is typed to its entries.
QComboBox *editableList(QWidget *parent, const char *name, int x, int y, int w, int h,
                        const QString &tooltip = {});

// Empties a drop-down list, entries and text.
void empty(QComboBox *list);

// Replaces the entries of a drop-down list and empties its text.
void refill(QComboBox *list, const QStringList &entries);

// The message for an operation that did not end well: the register's own
// for a duplicate key or a missing record, the file's for a failure.
QString failureMessage(const registers::Outcome &o, const QString &duplicate,
                       const QString &notFound);

} // namespace regui
