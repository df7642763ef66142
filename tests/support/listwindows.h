#pragma once

#include "ui/linelist.h"
#include "widgets.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

// Driving the register list windows (List1, cmdcerca, cmbcerca) as the user
// does.
namespace listwin {

inline LineList *list(QWidget *w) { return w->findChild<LineList *>("List1"); }
inline QComboBox *cmbcerca(QWidget *w) { return w->findChild<QComboBox *>("cmbcerca"); }
inline QPushButton *cmdcerca(QWidget *w) { return w->findChild<QPushButton *>("cmdcerca"); }

inline void click(QWidget *w, const char *button)
{
    QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
}

inline void choose(QWidget *w, int row) { clickLine(list(w), row); }

} // namespace listwin
