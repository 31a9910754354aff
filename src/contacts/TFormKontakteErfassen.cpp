#include "contacts/TFormKontakteErfassen.h"

#include "contacts/ContactForm.h"
#include "contacts/ContactPrintouts.h"
#include "contacts/ContactSetup.h"
#include "data/DataModules.h"
#include "ui/DbLabel.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"
#include "ui/Printout.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TFormKontakteErfassen::TFormKontakteErfassen(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("FormKontakteErfassen"));
    setWindowTitle(QStringLiteral("Kontakte Schnellerfassung"));
    DataSet *contacts = dm.dmAdressen->qrKontakte;
    ContactSetup::installHandlers(dm);
    guarded([&] { ContactSetup::openQueries(dm); });

    auto *bar = new RecordToolBar(contacts, this);
    bar->setObjectName(QStringLiteral("kontToolBar"));
    bar->addCloseButton(QStringLiteral("kontTbutSchliessen"), QStringLiteral("&Schließen"));
    bar->addNewButton(QStringLiteral("kontTbutNeu"), QStringLiteral("&Neu"));
    bar->addSaveButton(QStringLiteral("kontTbutSpeichern"), QStringLiteral("S&peichern"));
    bar->addCancelButton(QStringLiteral("kontTbutAbbruch"), QStringLiteral("&Abbruch"));
    bar->addDeleteButton(QStringLiteral("kontTbutLoeschen"), QStringLiteral("&Löschen"),
                         QStringLiteral("Datensatz löschen?"));
    Printout::offerPdf(bar->addButton(QStringLiteral("kontTbutKarteikarte"), QStringLiteral("&Karteikarte"),
                                      Icons::standard(QStyle::SP_FileDialogContentsView), [this] { ContactPrintouts::printCard(m_dm); }));
    bar->addButton(QStringLiteral("kontTbutHilfe"), QStringLiteral("&Hilfe"),
                   Icons::standard(QStyle::SP_DialogHelpButton), [this] { Help::open(QStringLiteral("Kontakte"), this); });
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    m_form = new ContactForm(dm, ContactForm::Mode::Edit, this);
    bar->setFirstInput(m_form->firstInput());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 6, 10, 10);
    body->setSpacing(8);
    body->addWidget(makeChooseBar());
    body->addWidget(m_form, 1);
    layout->addLayout(body, 1);

    setPostOnClose(contacts);
    resize(900, 620);
}

QWidget *TFormKontakteErfassen::makeChooseBar()
{
    auto *w = new QWidget(this);
    w->setObjectName(QStringLiteral("pnKontaktWahl"));
    auto *row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto *choose = new QPushButton(QStringLiteral("Kontakt &wählen"), w);
    choose->setObjectName(QStringLiteral("butKontaktWaehlen"));
    choose->setAutoDefault(false);
    choose->setIcon(Icons::standard(QStyle::SP_FileDialogContentsView));
    connect(choose, &QPushButton::clicked, this, &TFormKontakteErfassen::chooseContact);
    auto *name = new DbLabel(m_dm.dmAdressen->qrKontakte, QStringLiteral("Suna"), w);
    name->setObjectName(QStringLiteral("lblSuchname"));
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    name->setFont(bold);
    row->addWidget(choose);
    row->addWidget(name, 1);
    return w;
}

void TFormKontakteErfassen::chooseContact()
{
    guarded([this] { ContactSetup::chooseAndLocate(m_dm, this); });
}
