#include "admin/TFormBuland.h"

#include "data/DataModules.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/Guard.h"
#include "ui/RecordToolBar.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

TFormBuland::TFormBuland(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_qrBuland(dm.dmFirma->qrBuland)
{
    setObjectName(QStringLiteral("FormBuland"));
    setWindowTitle(QStringLiteral("Bundesländer"));
    guarded([this] {
        if (!m_qrBuland->isOpen())
            m_qrBuland->open();
    });

    auto *bar = new RecordToolBar(m_qrBuland, this);
    bar->addCloseButton(QStringLiteral("tbutEnde"), QStringLiteral("&Ende"));
    bar->addNewButton(QStringLiteral("tbutNeu"), QStringLiteral("&Neu"), RecordToolBar::NewMode::Insert);
    bar->addSaveButton(QStringLiteral("tbutSpeichern"), QStringLiteral("&Speichern"));
    bar->addCancelButton(QStringLiteral("tbutAbbruch"), QStringLiteral("&Abbruch"));
    bar->addDeleteButton(QStringLiteral("tbutLoeschen"), QStringLiteral("&Löschen"),
                         QStringLiteral("Datensatz wirklich löschen?"));
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    auto *input = new QGroupBox(QStringLiteral("Eingabe"), this);
    auto *form = new QFormLayout(input);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *eBuland = new DbEdit(m_qrBuland, QStringLiteral("Buland"), input);
    eBuland->setObjectName(QStringLiteral("eBuland"));
    form->addRow(QStringLiteral("Bundesland"), eBuland);
    bar->setFirstInput(eBuland);

    auto *list = new QGroupBox(QStringLiteral("Liste"), this);
    auto *grid = new DbGrid(m_qrBuland, {{QStringLiteral("Buland"), QStringLiteral("Bundesland")}}, list);
    grid->setObjectName(QStringLiteral("gridBuland"));
    grid->setReadOnly(true);
    auto *listLayout = new QVBoxLayout(list);
    listLayout->addWidget(grid);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 8, 10, 10);
    body->setSpacing(10);
    body->addWidget(input);
    body->addWidget(list, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addLayout(body, 1);
    resize(420, 520);

    setPostOnClose(m_qrBuland);
}
