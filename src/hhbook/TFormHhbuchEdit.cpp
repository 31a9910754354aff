#include "hhbook/TFormHhbuchEdit.h"

#include "data/DataModules.h"
#include "hhbook/rules/HhbookRules.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/Dialogs.h"
#include "ui/EditMask.h"
#include "ui/Guard.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QStyle>
#include <QVBoxLayout>

TFormHhbuchEdit::TFormHhbuchEdit(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFormHhbuchEdit"));
    setWindowTitle(QStringLiteral("Haushaltsbuch bearbeiten"));
    DataSet *books = dm.dmHh->qrHhplan;
    setPostOnClose(books);

    auto *bar = new RecordToolBar(books, this);
    bar->addCloseButton(QStringLiteral("hbtbutEnde"), QStringLiteral("Ende"));
    bar->addNewButton(QStringLiteral("hbtbutNeu"), QStringLiteral("Neu"));
    bar->addSaveButton(QStringLiteral("hbtbutSpeichern"), QStringLiteral("Speichern"));
    bar->addCancelButton(QStringLiteral("hbtbutAbbruch"), QStringLiteral("Abbruch"));
    bar->addButton(QStringLiteral("hbtbutLoeschen"), QStringLiteral("Löschen"), Icons::standard(QStyle::SP_TrashIcon),
                   [this] { deleteBook(); });
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    auto *fields = new QGroupBox(QStringLiteral("Haushaltsbuch"), this);
    auto *form = new QFormLayout(fields);
    form->setLabelAlignment(Qt::AlignRight);
    auto *date = new DbEdit(books, QStringLiteral("Erfdat"), fields, EditMask::DateShortDigits);
    date->setObjectName(QStringLiteral("hbdbeErfdat"));
    date->setMaximumWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("99.99.99999")) + 16);
    auto *name = new DbEdit(books, QStringLiteral("Bezeichnung"), fields);
    name->setObjectName(QStringLiteral("hbdbeBezeichnung"));
    form->addRow(QStringLiteral("Erf.-Datum :"), date);
    form->addRow(QStringLiteral("Bezeichnung :"), name);
    bar->setFirstInput(date);

    auto *grid = new DbGrid(books, {{QStringLiteral("Erfdat"), QStringLiteral("Erf.-Datum"), 100},
                                    {QStringLiteral("Bezeichnung"), QStringLiteral("Bezeichnung"), 320}},
                            this);
    grid->setObjectName(QStringLiteral("hbdbgBuecher"));
    grid->setReadOnly(true);   // books go only through "Löschen", which looks at their bookings
    grid->horizontalHeader()->setStretchLastSection(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(fields);
    layout->addWidget(grid, 1);
    resize(560, 420);
}

void TFormHhbuchEdit::deleteBook()
{
    guarded([this] {
        DataSet *books = m_dm.dmHh->qrHhplan;
        if (books->isOpen() && !books->isEmpty() && HhbookRules::storedBookings(*books) > 0) {
            ShowMsg(HhbookRules::BookHasBookings, mkWarning);
            return;
        }
        if (AskYesNo(QStringLiteral("Datensatz löschen?"), mkWarning))
            books->remove();
    });
}
