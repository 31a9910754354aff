#include "appointments/TFormTermineEdit.h"

#include "data/DataModules.h"
#include "ui/DbCheckBox.h"
#include "ui/DbEdit.h"
#include "ui/DbMemo.h"
#include "ui/EditMask.h"
#include "ui/RecordToolBar.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFormTermineEdit::TFormTermineEdit(DataModules &dm, QWidget *parent) : RecordDialog(parent)
{
    setObjectName(QStringLiteral("FormTermineEdit"));
    setWindowTitle(QStringLiteral("Termine bearbeiten"));
    DataSet *appointments = dm.dmExtras->qrTermine;
    setPostOnClose(appointments);

    auto *bar = new RecordToolBar(appointments, this);
    bar->setObjectName(QStringLiteral("teToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addCloseButton(QStringLiteral("teTbutSchliessen"), QStringLiteral("Schließen"));
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);
    bar->addNewButton(QStringLiteral("teTbutNeu"), QStringLiteral("Neu"));
    bar->addSaveButton(QStringLiteral("teTbutSpeichern"), QStringLiteral("Speichern"));
    bar->addCancelButton(QStringLiteral("teTbutAbbruch"), QStringLiteral("Abbruch"));
    bar->addDeleteButton(QStringLiteral("teTbutLoeschen"), QStringLiteral("Löschen"), QStringLiteral("Termin löschen?"));

    auto *box = new QGroupBox(QStringLiteral("Termine Bearbeiten"), this);
    auto *grid = new QGridLayout(box);
    auto *date = new DbEdit(appointments, QStringLiteral("WvDatum"), box, EditMask::Date);
    date->setObjectName(QStringLiteral("tedbeDatum"));
    date->setMaximumWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 16);
    auto *time = new DbEdit(appointments, QStringLiteral("Uhrzeit"), box, EditMask::Time);
    time->setObjectName(QStringLiteral("tedbeUhrzeit"));
    time->setMaximumWidth(time->fontMetrics().horizontalAdvance(QStringLiteral("00:000")) + 16);
    auto *when = new QHBoxLayout;
    when->addWidget(date);
    when->addWidget(time);
    when->addStretch(1);
    auto *kurz = new DbEdit(appointments, QStringLiteral("WvKurz"), box);
    kurz->setObjectName(QStringLiteral("tedbeKurz"));
    auto *lang = new DbMemo(appointments, QStringLiteral("WvLang"), box);
    lang->setObjectName(QStringLiteral("tedbmLang"));
    grid->addWidget(new QLabel(QStringLiteral("Datum / Uhrzeit :"), box), 0, 0, Qt::AlignRight);
    grid->addLayout(when, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Kurzbeschreibung :"), box), 1, 0, Qt::AlignRight);
    grid->addWidget(kurz, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Langtext :"), box), 2, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(lang, 2, 1);
    grid->setRowStretch(2, 1);

    auto *doneBox = new QGroupBox(QStringLiteral("Erledigungsvermerk"), this);
    // Ticking the box leaves the date to the user: the day it was done is not always today.
    auto *done = new DbCheckBox(appointments, QStringLiteral("WvErledigt"), QStringLiteral("Erledigt am :"), doneBox);
    done->setObjectName(QStringLiteral("tedbcbErledigt"));
    auto *doneDate = new DbEdit(appointments, QStringLiteral("WvErldat"), doneBox, EditMask::DateShortDigits);
    doneDate->setObjectName(QStringLiteral("tedbeErldat"));
    doneDate->setMaximumWidth(date->maximumWidth());
    auto *doneRow = new QHBoxLayout(doneBox);
    doneRow->addWidget(done);
    doneRow->addWidget(doneDate);
    doneRow->addStretch(1);
    bar->setFirstInput(date);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(box, 1);
    layout->addWidget(doneBox);
    resize(560, 420);
}
