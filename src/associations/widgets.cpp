#include "associations/widgets.h"

#include "app/ui.h"

#include <QComboBox>
#include <QLineEdit>

namespace regui {

QComboBox *editableList(QWidget *parent, const char *name, int x, int y, int w, int h,
                        const QString &tooltip)
{
    auto *c = ui::make<QComboBox>(parent, name, x, y, w, h);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr); // what is typed stays as typed
    c->setMaxVisibleItems(12);
    if (!tooltip.isEmpty()) c->setToolTip(tooltip);
    return c;
}

void empty(QComboBox *list)
{
    list->clear();
    list->setEditText(QString());
}

void refill(QComboBox *list, const QStringList &entries)
{
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
    list->setEditText(QString());
}

QString failureMessage(const registers::Outcome &o, const QString &duplicate,
                       const QString &notFound)
{
    switch (o.status) {
    case registers::Outcome::Done: return {};
    case registers::Outcome::Duplicate: return duplicate;
    case registers::Outcome::NotFound: return notFound;
    case registers::Outcome::OutOfRange:
        return QStringLiteral("Il numero supera i limiti ammessi (da -32768 a 32767).");
    case registers::Outcome::Failed: return o.io.message();
    }
    return {};
}

} // namespace regui
