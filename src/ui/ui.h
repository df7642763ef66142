#pragma once

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

// Small helpers for the windows, which place their controls at fixed
// positions (pixels at 96 dots per inch; twips are 15 to a pixel).
namespace ui {

constexpr int tw(int twips) { return (twips + 7) / 15; }

template <class W> W *make(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QFont boldLabelFont(); // bold 9.75-point sans-serif

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h,
              bool bold = false);
QLineEdit *field(QWidget *parent, const char *name, int x, int y, int w, int h,
                 const QString &tooltip = {});
QPushButton *button(QWidget *parent, const char *name, const QString &caption, int x, int y, int w,
                    int h, const QString &tooltip = {});
// A button placed by a layout, at least minWidth wide.
QPushButton *button(QWidget *parent, const char *name, const QString &caption, int minWidth);

} // namespace ui
