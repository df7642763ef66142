#include "reports/window.h"

#include "ui/keys.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "archive/io.h"

#include <QDir>
#include <QFileInfo>
#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace reports {

ReportWindow::ReportWindow(Context &ctx, const char *name, const QString &title)
    : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("Label1"));
    m_heading->setFont(ui::boldLabelFont());
    onActivation(ctx, this, [this] { rebuild(); });
}

void ReportWindow::arrange(QWidget *body, QWidget *top, int width, int height,
                           const QList<QWidget *> &more)
{
    auto *cmdstampa = ui::button(this, "cmdstampa", QStringLiteral("Stampa"), 110);
    auto *cmdesporta = ui::button(this, "cmdesporta", QStringLiteral("Esporta CSV"), 110);
    auto *cmdlistesci = ui::button(this, "cmdlistesci", QStringLiteral("Esci"), 110);
    connect(cmdstampa, &QPushButton::clicked, this, [this] { stampa(); });
    connect(cmdesporta, &QPushButton::clicked, this, &ReportWindow::esporta);
    connect(cmdlistesci, &QPushButton::clicked, this, &QWidget::hide);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    auto *head = new QHBoxLayout;
    head->addWidget(m_heading, 1);
    if (top) head->addWidget(top);
    layout->addLayout(head);
    layout->addWidget(body, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addWidget(cmdstampa);
    buttons->addWidget(cmdesporta);
    for (QWidget *b : more) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdlistesci);
    layout->addLayout(buttons);
    resize(width, height);

    // F5 reads the archives again, as coming back to the window does.
    ui::WindowKeys::of(this)
        ->firstFields({top, body})
        ->exitButton(cmdlistesci)
        ->onKeys(nullptr, {Qt::Key_F5}, [this] { rebuild(); });
}

void ReportWindow::setHeading(const QString &heading) { m_heading->setText(heading); }

QDate ReportWindow::today() const { return m_ctx.platform.clock->now().date(); }

void ReportWindow::esporta() { saveCsv(m_ctx, csv(), csvName()); }

void saveCsv(Context &ctx, const QByteArray &bytes, const QString &suggestedName)
{
    Prompts &prompts = *ctx.platform.prompts;
    // A report never takes the place of an archive or of a file the
    // program keeps beside them: the dialog comes back for another name.
    QString path;
    for (;;) {
        path = prompts.saveFile(QStringLiteral("Esporta in CSV"),
                                QDir(ctx.folder.dir()).filePath(suggestedName),
                                QStringLiteral("File CSV (*.csv)"));
        if (path.isEmpty()) return;
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
        if (!ctx.folder.isOwnFile(path)) break;
        prompts.info(archive::ownFileAsDestination(path));
    }

    BusyGuard busy(*ctx.platform.busy);
    const archive::IoResult io = archive::replaceFile(path, bytes);
    busy.release();
    if (io.status == archive::IoResult::ConsultationOnly)
        prompts.info(QStringLiteral("Cartella aperta in sola consultazione: salvare il file CSV in "
                                    "un'altra cartella."));
    else if (!io.ok()) prompts.info(QStringLiteral("Esportazione non riuscita. ") + io.message());
    else prompts.info(QStringLiteral("Rapporto salvato nel file %1.").arg(path));
}

} // namespace reports
