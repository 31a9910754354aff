#include "hhbook/HhbookPage.h"

#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "hhbook/HhbookChartTab.h"
#include "hhbook/HhbookPrintout.h"
#include "hhbook/PlanActualTab.h"
#include "hhbook/StatementImportDialog.h"
#include "hhbook/TFormHHplanWiBu.h"
#include "hhbook/TFormHhbuchEdit.h"
#include "hhbook/rules/HhbookHandlers.h"
#include "hhbook/rules/HhbookVocabulary.h"
#include "hhbook/rules/RecurringBookings.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbLabel.h"
#include "ui/DbNavigator.h"
#include "ui/Dialogs.h"
#include "ui/EditMask.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/Printout.h"
#include "ui/RecordToolBar.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString ValueStyle = QStringLiteral("background: white; padding: 1px 4px;");

// The typed date as the data store reads it; a text that is no date is refused here with the
// conversion message instead of silently selecting nothing.
QString periodDate(const QLineEdit *field)
{
    return GermanFormat::shortDate(RecurringBookings::readStart(field->text()));
}

} // namespace

HhbookPage::HhbookPage(DataModules &dm, std::function<void(const QString &)> showBookName, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_books(dm.dmHh->qrHhplan), m_bookings(dm.dmHh->qrHhbuch),
      m_showBookName(std::move(showBookName))
{
    setObjectName(QStringLiteral("hhbuchPage"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pcHhbuch"));
    QWidget *bookingsTab = buildBookingsTab();
    bookingsTab->setObjectName(QStringLiteral("tbsBuch"));
    m_tabs->addTab(bookingsTab, QStringLiteral("Buchungen"));
    QWidget *summaryTab = buildSummaryTab();
    summaryTab->setObjectName(QStringLiteral("tbsZusammen"));
    m_tabs->addTab(summaryTab, QStringLiteral("Zusammenfassung"));
    m_tabs->addTab(new HhbookChartTab(m_bookings, m_tabs,
                                      [this] { return HhbookRules::selectionText(m_filter, *m_bookings); }),
                   QStringLiteral("Grafik"));
    m_tabs->addTab(new PlanActualTab(m_dm, m_tabs), QStringLiteral("Soll/Ist"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildToolBar());
    layout->addWidget(buildHeader());
    layout->addWidget(m_tabs, 1);

    // A new selection (entering the page, another book, a filter) shows its own count.
    connect(m_bookings, &DataSet::rowsReset, this, &HhbookPage::ShowBookingCount);
    ShowBookingCount();

    // Ctrl+S saves from anywhere on the page, as Alt+S does through the button's access key.
    auto *save = new QShortcut(QKeySequence::Save, this);
    save->setContext(Qt::WidgetWithChildrenShortcut);
    connect(save, &QShortcut::activated, this, [this] {
        if (m_save->isEnabled())
            m_save->click();
    });
}

QString HhbookPage::askFirstBookName()
{
    QString name;
    if (!Dialogs::instance().inputBox(BookNameCaption, QStringLiteral("Name: "), &name))
        return QString();
    return name;
}

QWidget *HhbookPage::buildToolBar()
{
    auto *bar = new RecordToolBar(m_bookings, this);
    bar->setObjectName(QStringLiteral("hhToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(16, 16));
    bar->addNewButton(QStringLiteral("hhtbutneu"), QStringLiteral("&Neue Position"));
    bar->setBeforeNew([this] { showBookingsTab(); });
    bar->setFirstInput(m_buchdat);
    m_save = bar->addSaveButton(QStringLiteral("hhtbutSpeichern"), QStringLiteral("&Speichern"));
    bar->setSaveAction([this] {
        showBookingsTab();
        if (m_bookings->isPending()) {
            m_bookings->post();
            ShowBookingCount();
        }
    });
    bar->addButton(QStringLiteral("hhtbutabbruch"), QStringLiteral("&Abbruch"), Icons::standard(QStyle::SP_DialogCancelButton),
                   [this] {
                       showBookingsTab();
                       guarded([this] { m_bookings->cancel(); });
                   });
    bar->addButton(QStringLiteral("hhtbutloeschen"), QStringLiteral("&Position löschen"),
                   Icons::standard(QStyle::SP_TrashIcon), [this] { deleteBooking(); });
    bar->addButton(QStringLiteral("hhtbutwibu"), QStringLiteral("&Wiederkehrende"),
                   Icons::standard(QStyle::SP_BrowserReload), [this] { recurringBookings(); });
    bar->addButton(QStringLiteral("hhtbutImport"), QStringLiteral("&Kontoauszug importieren…"),
                   Icons::standard(QStyle::SP_DialogOpenButton), [this] {
                       showBookingsTab();
                       guarded([this] {
                           if (StatementImportDialog::run(m_dm, this))
                               ShowBookingCount();
                       });
                   });
    bar->addButton(QStringLiteral("hhtbutrechnen"), QStringLiteral("&Rechnen"),
                   Icons::standard(QStyle::SP_FileDialogInfoView), [this] { calculate(); });
    Printout::offerPdf(bar->addButton(QStringLiteral("hhtbutAusgabe"), QStringLiteral("Aus&gabe"),
                                      Icons::standard(QStyle::SP_FileDialogContentsView), [this] { print(); }));
    bar->addButton(QStringLiteral("hhtbuthilfe"), QStringLiteral("Hil&fe"), Icons::standard(QStyle::SP_DialogHelpButton),
                   [this] { Help::open(QStringLiteral("Haushaltsbuch"), this); });
    return bar;
}

QWidget *HhbookPage::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(6, 2, 6, 2);
    auto *name = new DbLabel(m_books, QStringLiteral("Bezeichnung"), header);
    name->setObjectName(QStringLiteral("hhlbBezeichnung"));
    QFont f = name->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.25);
    name->setFont(f);
    auto *newBook = new QPushButton(QStringLiteral("Neues Ha&ushaltsbuch"), header);
    newBook->setObjectName(QStringLiteral("hhbutNeuesbuch"));
    connect(newBook, &QPushButton::clicked, this, &HhbookPage::newBook);
    auto *edit = new QPushButton(QStringLiteral("&Bearbeiten"), header);
    edit->setObjectName(QStringLiteral("hhbutHHbuchbearbeiten"));
    connect(edit, &QPushButton::clicked, this, &HhbookPage::editBook);
    auto *navigator = new DbNavigator(m_books, header);
    navigator->setObjectName(QStringLiteral("hhNavigator"));
    navigator->firstButton()->hide();
    navigator->lastButton()->hide();
    row->addWidget(name, 1);
    row->addWidget(newBook);
    row->addWidget(edit);
    row->addSpacing(8);
    row->addWidget(navigator);
    return header;
}

QWidget *HhbookPage::buildBookingsTab()
{
    auto *tab = new QWidget(this);
    auto *left = new QVBoxLayout;
    left->addWidget(buildDetails());
    left->addWidget(buildFilter());
    left->addStretch(1);
    auto *row = new QHBoxLayout(tab);
    row->addLayout(left);
    row->addWidget(buildList(), 1);
    return tab;
}

QWidget *HhbookPage::buildDetails()
{
    auto *box = new QGroupBox(QStringLiteral("Buchungsdetails"), this);
    box->setObjectName(QStringLiteral("gbBuchungsdetails"));
    auto *grid = new QGridLayout(box);
    m_buchdat = new DbEdit(m_bookings, QStringLiteral("Buchdat"), box, EditMask::DateShortDigits);
    m_buchdat->setObjectName(QStringLiteral("hhdbeBuchdat"));
    m_buchdat->setMaximumWidth(m_buchdat->fontMetrics().horizontalAdvance(QStringLiteral("99.99.99999")) + 16);
    auto *today = new QToolButton(box);
    today->setObjectName(QStringLiteral("hhsbutbuchdat"));
    today->setText(QStringLiteral("Bu&chungsdatum"));
    connect(today, &QToolButton::clicked, this, &HhbookPage::bookingDateToday);
    auto *rubrik = new DbComboBox(m_bookings, QStringLiteral("Rubrik"), DbComboBox::Mode::ListOnly,
                                  HhbookVocabulary::categoryWords(), box);
    rubrik->setObjectName(QStringLiteral("hhdbcbRubrik"));
    auto *text = new DbEdit(m_bookings, QStringLiteral("RubText"), box);
    text->setObjectName(QStringLiteral("hhdbeRubText"));
    auto *way = new DbComboBox(m_bookings, QStringLiteral("Rubdet"), DbComboBox::Mode::ListOnly,
                               HhbookVocabulary::waysOfPayment(), box);
    way->setObjectName(QStringLiteral("hhdbcbRubdet"));
    auto *amount = new DbEdit(m_bookings, QStringLiteral("Betrag"), box);
    amount->setObjectName(QStringLiteral("hhdbeBetrag"));
    amount->setMaximumWidth(m_buchdat->maximumWidth() + 20);

    grid->addWidget(today, 0, 0, Qt::AlignRight);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(m_buchdat);
    dateRow->addStretch(1);
    grid->addLayout(dateRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Rubrik :"), box), 1, 0, Qt::AlignRight);
    grid->addWidget(rubrik, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Rubrikbeschreibung :"), box), 2, 0, Qt::AlignRight);
    grid->addWidget(text, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Bar / Konto :"), box), 3, 0, Qt::AlignRight);
    grid->addWidget(way, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Zahlbetrag :"), box), 4, 0, Qt::AlignRight);
    grid->addWidget(amount, 4, 1);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("Rubrikbeschreibung : Allgemeine Kosten")) + 60);
    setTabOrder(m_buchdat, rubrik);
    setTabOrder(rubrik, text);
    setTabOrder(text, way);
    setTabOrder(way, amount);
    return box;
}

QWidget *HhbookPage::buildFilter()
{
    auto *box = new QGroupBox(QStringLiteral("Buchungen filtern"), this);
    box->setObjectName(QStringLiteral("gbFilter"));
    auto *outer = new QVBoxLayout(box);

    auto *period = new QGroupBox(QStringLiteral("Zeitraum"), box);
    auto *p = new QGridLayout(period);
    auto dateField = [period](const char *name) {
        auto *e = new QLineEdit(period);
        e->setObjectName(QLatin1String(name));
        EditMask::apply(e, EditMask::DateShortDigits);
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("99.99.99999")) + 16);
        return e;
    };
    m_von = dateField("mevon");
    m_bis = dateField("mebis");
    auto *von = new QToolButton(period);
    von->setObjectName(QStringLiteral("hhsbutVon"));
    von->setText(QStringLiteral("&Von"));
    connect(von, &QToolButton::clicked, this, [this] { m_von->setText(QStringLiteral("01.01.%1").arg(DateUtil::today().year())); });
    auto *bis = new QToolButton(period);
    bis->setObjectName(QStringLiteral("hhsbutBis"));
    bis->setText(QStringLiteral("B&is"));
    connect(bis, &QToolButton::clicked, this, [this] { m_bis->setText(QStringLiteral("31.12.%1").arg(DateUtil::today().year())); });
    for (QToolButton *b : {von, bis})
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("Von")) + 24);
    p->addWidget(von, 0, 0);
    p->addWidget(m_von, 0, 1);
    p->addWidget(bis, 0, 2);
    p->addWidget(m_bis, 0, 3);
    p->setColumnStretch(4, 1);

    m_rubrik = new QComboBox(box);
    m_rubrik->setObjectName(QStringLiteral("hhcbRubrik"));
    m_rubrik->addItem(HhbookVocabulary::All);
    m_rubrik->addItems(HhbookVocabulary::categoryWords());
    m_konto = new QComboBox(box);
    m_konto->setObjectName(QStringLiteral("hhcbKonto"));
    m_konto->addItem(HhbookVocabulary::All);
    m_konto->addItems(HhbookVocabulary::waysOfPayment());

    auto *lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("Rubrik :"), box), 0, 0, Qt::AlignRight);
    lists->addWidget(m_rubrik, 0, 1);
    lists->addWidget(new QLabel(QStringLiteral("Bar / Konto :"), box), 1, 0, Qt::AlignRight);
    lists->addWidget(m_konto, 1, 1);
    lists->setColumnStretch(1, 1);

    auto *filter = new QPushButton(QStringLiteral("Fi&ltern"), box);
    filter->setObjectName(QStringLiteral("butHhFilter"));
    connect(filter, &QPushButton::clicked, this, &HhbookPage::applyFilter);
    auto *none = new QPushButton(QStringLiteral("Ohne Fil&ter"), box);
    none->setObjectName(QStringLiteral("hhbutOhneFilter"));
    connect(none, &QPushButton::clicked, this, &HhbookPage::removeFilter);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(filter);
    buttons->addWidget(none);

    outer->addWidget(period);
    outer->addLayout(lists);
    outer->addLayout(buttons);
    return box;
}

QWidget *HhbookPage::buildList()
{
    auto *box = new QGroupBox(QStringLiteral("Buchungsliste"), this);
    box->setObjectName(QStringLiteral("gbBuchungsliste"));
    auto *grid = new DbGrid(m_bookings,
                            {{QStringLiteral("Buchdat"), QStringLiteral("Datum"), 90},
                             {QStringLiteral("Rubrik"), QStringLiteral("Rubrik"), 130},
                             {QStringLiteral("RubText"), QStringLiteral("Beschreibung"), 220},
                             {QStringLiteral("Rubdet"), QStringLiteral("Bar/Konto"), 75},
                             {QStringLiteral("Betrag"), QStringLiteral("Betrag"), 100}},
                            box);
    grid->setObjectName(QStringLiteral("hhdbgPos"));
    grid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    auto *status = new QStatusBar(box);
    status->setObjectName(QStringLiteral("stbHH"));
    status->setSizeGripEnabled(false);
    m_count = new QLabel(status);
    m_count->setObjectName(QStringLiteral("stbHHPanel0"));
    status->addWidget(m_count, 1);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(grid, 1);
    layout->addWidget(status);
    return box;
}

QWidget *HhbookPage::buildSummaryTab()
{
    auto *tab = new QWidget(this);
    auto *box = new QGroupBox(QStringLiteral("Zusammenfassung"), tab);
    box->setObjectName(QStringLiteral("gbZusammenfassung"));
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    struct Cell { const char *caption; const char *field; bool bold; };
    const QList<QList<Cell>> columns = {
        {{"Einkommen :", "Eksum", true}, {"Wohnkosten :", "Wksum", false}, {"Versicherungen :", "Vssum", false},
         {"Verkehrskosten :", "Vksum", false}, {"Allgemeine Kosten :", "Aksum", false}},
        {{"Zwischensumme :", "Zwisu", true}, {"Lebenshaltungskosten :", "Lksum", false},
         {"Maximale Kreditrate :", "Maxkredit", true}, {"Tats. Ratenkredite :", "Sksum", false}},
        {{"Maximale Hauskredite :", "Maxhaus", true}, {"tats. Hauskreditrate :", "Hksum", false},
         {"Überschuss / Defizit :", "Defizit", true}},
    };
    QFont bold = box->font();
    bold.setBold(true);
    const int amountWidth = QFontMetrics(bold).horizontalAdvance(QStringLiteral("-999.999,99 €")) + 14;
    for (int c = 0; c < columns.size(); ++c) {
        for (int r = 0; r < columns.at(c).size(); ++r) {
            const Cell &cell = columns.at(c).at(r);
            auto *caption = new QLabel(QString::fromUtf8(cell.caption), box);
            auto *value = new DbLabel(m_books, QLatin1String(cell.field), box);
            value->setObjectName(QStringLiteral("hhdbe") + QLatin1String(cell.field));
            value->setFrameShape(QFrame::Panel);
            value->setFrameShadow(QFrame::Sunken);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setMinimumWidth(amountWidth);
            value->setStyleSheet(ValueStyle);
            if (cell.bold) {
                caption->setFont(bold);
                value->setFont(bold);
            }
            grid->addWidget(caption, r, c * 3, Qt::AlignRight);
            grid->addWidget(value, r, c * 3 + 1);
            if (QLatin1String(cell.field) == QLatin1String("Defizit")) {
                m_lbDefizit = caption;
                m_lbDefizit->setObjectName(QStringLiteral("hhlbDefizit"));
                m_defizit = value;
            }
        }
        if (c < columns.size() - 1)
            grid->setColumnMinimumWidth(c * 3 + 2, 24);
    }
    // The sums are those of the last evaluation, which may have had another filter than the
    // list shows now: the book keeps what they cover.
    auto *coverCaption = new QLabel(QStringLiteral("Berechnet für :"), box);
    auto *cover = new DbLabel(m_books, QStringLiteral("Auswahl"), box);
    cover->setObjectName(QStringLiteral("hhdbeAuswahl"));
    cover->setWordWrap(true);
    grid->addWidget(coverCaption, 5, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(cover, 5, 1, 1, 7);
    grid->setRowStretch(6, 1);
    auto *layout = new QVBoxLayout(tab);
    auto *row = new QHBoxLayout;
    row->addWidget(box);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
    return tab;
}

void HhbookPage::showBookingsTab()
{
    m_tabs->setCurrentIndex(0);
}

void HhbookPage::ShowBookingCount()
{
    m_count->setText(HhbookRules::bookingCountText(HhbookRules::listedBookings(*m_bookings)));
}

HhbookRules::Summary HhbookPage::ComputeHouseholdBook()
{
    if (m_bookings->isPending()) {
        m_bookings->post();
        ShowBookingCount();
    }
    const HhbookRules::Summary s = HhbookRules::ComputeHouseholdBook(*m_bookings, *m_books, m_filter);
    m_lbDefizit->setText(s.isSurplus() ? HhbookRules::SurplusLabel : HhbookRules::DeficitLabel);
    m_defizit->setStyleSheet(ValueStyle + (s.isSurplus() ? QStringLiteral("background: #00ff00;")
                                                         : QStringLiteral("background: #ff0000;")));
    return s;
}

void HhbookPage::newBook()
{
    if (!AskYesNo(QStringLiteral("Möchten Sie wirklich ein neues Haushaltsbuch anlagen?"), mkWarning))
        return;
    guarded([this] {
        m_books->append();
        m_books->setValue(QStringLiteral("Erfdat"), DateUtil::today());
        QString name;
        const bool ok = Dialogs::instance().inputBox(BookNameCaption, QStringLiteral("Für wen ist das Haushaltsbuch? "), &name);
        if (ok) {
            m_books->setValue(QStringLiteral("Bezeichnung"), BookNamePrefix + name);
            m_books->post();
        } else {
            m_books->cancel();
        }
    });
    if (m_showBookName) {
        const bool none = !m_books->isOpen() || m_books->isEmpty();
        QString name = none ? QString() : m_books->asString(QStringLiteral("Bezeichnung"));
        while (name.startsWith(u' '))
            name.remove(0, 1);
        m_showBookName(name);
    }
}

void HhbookPage::editBook()
{
    if (!AskYesNo(QStringLiteral("Möchten Sie die Daten für das Haushaltsbuch wirklich ändern?"), mkWarning))
        return;
    TFormHhbuchEdit window(m_dm, this);
    window.exec();
}

void HhbookPage::deleteBooking()
{
    showBookingsTab();
    if (AskYesNo(QStringLiteral("Position löschen?"), mkWarning))
        guarded([this] { m_bookings->remove(); });
    ShowBookingCount();
}

void HhbookPage::bookingDateToday()
{
    guarded([this] {
        m_bookings->edit();   // a new booking when the list is empty
        m_bookings->setValue(QStringLiteral("Buchdat"), DateUtil::today());
    });
}

void HhbookPage::recurringBookings()
{
    showBookingsTab();
    if (!AskYesNo(QStringLiteral("Möchten Sie wiederkehrende Buchungen erfassen?"), mkWarning))
        return;
    TFormHHplanWiBu dialog(m_dm, [this] { ShowBookingCount(); }, this);
    dialog.exec();
}

void HhbookPage::calculate()
{
    m_tabs->setCurrentIndex(1);
    guarded([this] { ComputeHouseholdBook(); });
}

void HhbookPage::print()
{
    if (!m_bookings->isOpen() || m_bookings->isEmpty()) {
        ShowMsg(QStringLiteral("Es sind keine Datensätze für den Ausdruck vorhanden."), mkWarning);
        return;
    }
    guarded([this] { HhbookPrintout::print(m_dm, ComputeHouseholdBook(), m_filter); });
}

void HhbookPage::applyFilter()
{
    if (RecurringBookings::isBlankDate(m_von->text()) || RecurringBookings::isBlankDate(m_bis->text())) {
        ShowMsg(QStringLiteral("Bitte den Zeitraum festlegen!"), mkWarning);
        m_von->setFocus();
        return;
    }
    guarded([this] {
        const HhbookRules::Filter filter{periodDate(m_von), periodDate(m_bis), m_rubrik->currentText(),
                                         m_konto->currentText()};
        // In force before the list reloads, so what follows the list names the new filter.
        const HhbookRules::ActiveFilter previous = m_filter;
        m_filter = filter;
        try {
            m_bookings->replaceSql(HhbookRules::filterSql(filter));
        } catch (...) {
            m_filter = previous;
            throw;
        }
        ShowBookingCount();
    });
}

void HhbookPage::removeFilter()
{
    guarded([this] {
        const HhbookRules::ActiveFilter previous = m_filter;
        m_filter.reset();
        try {
            m_bookings->replaceSql(HhbookRules::UnfilteredSql);
        } catch (...) {
            m_filter = previous;
            throw;
        }
        m_rubrik->setCurrentIndex(0);
        m_konto->setCurrentIndex(0);
        ShowBookingCount();
    });
}
