#include "ui/ui.h"

namespace ui {

QFont boldLabelFont()
{
    QFont f;
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(9.75);
    f.setBold(true);
    return f;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h,
              bool bold)
{
    auto *l = make<QLabel>(parent, name, x, y, w, h);
    l->setText(text);
    if (bold) l->setFont(boldLabelFont());
    return l;
}

QLineEdit *field(QWidget *parent, const char *name, int x, int y, int w, int h, const QString &tooltip)
{
    auto *e = make<QLineEdit>(parent, name, x, y, w, h);
    if (!tooltip.isEmpty()) e->setToolTip(tooltip);
    return e;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int x, int y, int w,
                    int h, const QString &tooltip)
{
    auto *b = make<QPushButton>(parent, name, x, y, w, h);
    b->setText(caption);
    b->setAutoDefault(false);
    if (!tooltip.isEmpty()) b->setToolTip(tooltip);
    return b;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int minWidth)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setMinimumWidth(minWidth);
    return b;
}

} // namespace ui
