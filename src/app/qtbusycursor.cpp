#include "app/qtbusycursor.h"

#include <QApplication>

void QtBusyCursor::push() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtBusyCursor::pop() { QApplication::restoreOverrideCursor(); }
