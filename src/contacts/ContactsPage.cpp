#include "contacts/ContactsPage.h"

#include "contacts/ContactForm.h"
#include "contacts/ContactPrintouts.h"
#include "contacts/ContactSetup.h"
#include "contacts/TFormKontakteErfassen.h"
#include "data/DataModules.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/Printout.h"

#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

ContactsPage::ContactsPage(DataModules &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("kontaktePage"));
    ContactSetup::installHandlers(dm);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("adrToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(16, 16));
    auto add = [bar](const char *name, const QString &caption, QStyle::StandardPixmap icon, auto action) {
        QAction *a = bar->addAction(Icons::standard(icon), caption);
        // A tool bar button shows its action's icon text, which drops the '&' of the access
        // key; given explicitly, the key is underlined and works.
        a->setIconText(caption);
        a->setObjectName(QLatin1String(name));
        QObject::connect(a, &QAction::triggered, bar, [action] { guarded(action); });
        bar->widgetForAction(a)->setObjectName(QLatin1String(name));
        return a;
    };
    add("adrtbutAuswaehlen", QStringLiteral("&Kontakt auswählen"), QStyle::SP_FileDialogContentsView,
        [this] { ContactSetup::chooseAndLocate(m_dm, this); });
    add("adrtbutBearbeiten", QStringLiteral("Kontakt bearbeiten"), QStyle::SP_FileDialogDetailedView,
        [this] { editContact(); });
    for (QAction *a : {add("adrtbutKarteikarte", QStringLiteral("Karteikarte"), QStyle::SP_FileIcon,
                           [this] { ContactPrintouts::printCard(m_dm); }),
                       add("adrtbutKontaktliste", QStringLiteral("Kontaktliste"), QStyle::SP_FileDialogListView,
                           [this] { ContactPrintouts::printList(m_dm); })})
        Printout::offerPdf(qobject_cast<QToolButton *>(bar->widgetForAction(a)));
    add("adrtbutHilfe", QStringLiteral("Hilfe"), QStyle::SP_DialogHelpButton,
        [this] { Help::open(QStringLiteral("Kontakte"), this); });

    // On a small screen the page scrolls instead of squeezing the groups.
    auto *form = new ContactForm(dm, ContactForm::Mode::Show);
    auto *content = new QWidget;
    auto *inner = new QVBoxLayout(content);
    inner->setContentsMargins(10, 8, 10, 10);
    inner->addWidget(form, 1);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("adrScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroll, 1);
    m_contact = scroll;
}

void ContactsPage::addTab(QWidget *tab, const QString &title)
{
    if (!m_tabs) {
        m_tabs = new QTabWidget(this);
        m_tabs->setObjectName(QStringLiteral("adrTabs"));
        layout()->replaceWidget(m_contact, m_tabs);
        m_tabs->addTab(m_contact, QStringLiteral("Kontakt"));
    }
    m_tabs->addTab(tab, title);
}

void ContactsPage::editContact()
{
    TFormKontakteErfassen window(m_dm, this);
    window.exec();
}
