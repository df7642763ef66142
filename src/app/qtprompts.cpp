#include "app/qtprompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

// A message must never be shown under the busy pointer: take every busy
// pointer off while it is open and put them back afterwards.
class CursorPause {
public:
    CursorPause()
    {
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
            ++m_count;
        }
    }
    ~CursorPause()
    {
        for (int i = 0; i < m_count; ++i) QApplication::setOverrideCursor(Qt::WaitCursor);
    }

private:
    int m_count = 0;
};

QWidget *dialogParent() { return QApplication::activeWindow(); }

} // namespace

void QtPrompts::info(const QString &text)
{
    CursorPause pause;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("velmora"), text, QMessageBox::Ok,
                    dialogParent());
    box.exec();
}

bool QtPrompts::question(const QString &text)
{
    CursorPause pause;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("velmora"), text,
                    QMessageBox::Yes | QMessageBox::No, dialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

namespace {

// The file dialogs of the backups, printouts and reports: every file is
// listed (also one whose name has no dot, which "*.*" alone would hide) and
// any name may be typed; a save dialog asks before an existing file is
// replaced (the program's own files are refused by the callers).
QString fileDialog(QFileDialog::AcceptMode mode, const QString &title, const QString &folder,
                   const QString &filter)
{
    CursorPause pause;
    const QString shown = filter == QLatin1String("*.*") ? QStringLiteral("*.* (*)") : filter;
    QFileDialog dialog(dialogParent(), title, folder, shown);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString QtPrompts::openFile(const QString &title, const QString &folder, const QString &filter)
{
    return fileDialog(QFileDialog::AcceptOpen, title, folder, filter);
}

QString QtPrompts::saveFile(const QString &title, const QString &folder, const QString &filter)
{
    return fileDialog(QFileDialog::AcceptSave, title, folder, filter);
}
