#include "hhbook/StatementImportDialog.h"

#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "data/Database.h"
#include "hhbook/rules/HhbookVocabulary.h"
#include "ui/Dialogs.h"

#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

enum Column { Take, Date, Amount, Party, Text, Category, Note };

// The category cell offers the eight words of the book (and none).
class CategoryDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *box = new QComboBox(parent);
        box->setObjectName(QStringLiteral("cbKategorie"));
        box->addItem(QString());
        box->addItems(HhbookVocabulary::categoryWords());
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *box = static_cast<QComboBox *>(editor);
        box->setCurrentIndex(std::max(0, box->findText(index.data().toString())));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        model->setData(index, static_cast<QComboBox *>(editor)->currentText());
    }
};

struct Role
{
    const char *objectName;
    const char *label;
    int CsvStatement::ColumnMapping::*member;
};

const Role Roles[] = {
    {"cbDatum", "Buchungsdatum :", &CsvStatement::ColumnMapping::date},
    {"cbValuta", "Valuta :", &CsvStatement::ColumnMapping::valueDate},
    {"cbBetrag", "Betrag :", &CsvStatement::ColumnMapping::amount},
    {"cbSoll", "Soll (Ausgaben) :", &CsvStatement::ColumnMapping::debit},
    {"cbHaben", "Haben (Einnahmen) :", &CsvStatement::ColumnMapping::credit},
    {"cbSH", "Soll/Haben-Kennzeichen (S/H) :", &CsvStatement::ColumnMapping::indicator},
    {"cbZweck", "Verwendungszweck :", &CsvStatement::ColumnMapping::text},
    {"cbPartner", "Empfänger / Auftraggeber :", &CsvStatement::ColumnMapping::counterparty},
    {"cbZahlungspflichtiger", "Auftraggeber bei Gutschriften :", &CsvStatement::ColumnMapping::payer},
    {"cbZahlungsempfaenger", "Empfänger bei Lastschriften :", &CsvStatement::ColumnMapping::payee},
    {"cbReferenz", "Bankreferenz :", &CsvStatement::ColumnMapping::reference},
};

// A booking to take without a category is marked where the category goes.
void markCategory(QTableWidgetItem *cell, const StatementImport::Row &row)
{
    const bool missing = row.take && !row.duplicate && row.rubrik.isEmpty();
    cell->setBackground(missing ? QBrush(QColor(0xff, 0xd6, 0xd6)) : QBrush());
    cell->setToolTip(missing ? QStringLiteral("Kategorie fehlt: bitte wählen") : QString());
}

} // namespace

StatementImportDialog::StatementImportDialog(const Database &db, int hhplanId, const QString &path, QWidget *parent)
    : QDialog(parent), m_db(db), m_book(hhplanId), m_read(StatementImport::readFile(db, path))
{
    setObjectName(QStringLiteral("TFormKontoauszugImport"));
    setWindowTitle(Caption);
    resize(1000, 640);

    auto *layout = new QVBoxLayout(this);
    auto *file = new QLabel(QStringLiteral("Datei: %1").arg(QFileInfo(path).fileName()), this);
    file->setObjectName(QStringLiteral("lbDatei"));
    layout->addWidget(file);
    m_profile = new QLabel(this);
    m_profile->setObjectName(QStringLiteral("lbBankprofil"));
    layout->addWidget(m_profile);
    if (m_read.format == Statement::Format::Csv)
        layout->addWidget(buildMapping());
    m_entriesRead = m_read.format != Statement::Format::Csv || m_read.mapping.missing().isEmpty();

    // Never two accounts in one book without the adviser's word.
    if (m_read.accounts.size() > 1) {
        auto *row = new QHBoxLayout;
        auto *label = new QLabel(QStringLiteral("Die Datei enthält die Umsätze mehrerer Konten. &Konto :"), this);
        m_account = new QComboBox(this);
        m_account->setObjectName(QStringLiteral("cbKonto"));
        for (const StatementAccount &a : std::as_const(m_read.accounts))
            m_account->addItem(QStringLiteral("%1, %2 Buchung(en)").arg(a.title()).arg(a.entries.size()));
        m_account->setCurrentIndex(m_read.account);
        label->setBuddy(m_account);
        connect(m_account, &QComboBox::currentIndexChanged, this, &StatementImportDialog::accountChanged);
        row->addWidget(label);
        row->addWidget(m_account, 1);
        layout->addLayout(row);
    }

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("lbProblem"));
    m_problem->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_problem->setWordWrap(true);
    layout->addWidget(m_problem);

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("twVorschau"));
    m_table->setColumnCount(7);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Übernehmen"), QStringLiteral("Datum"), QStringLiteral("Betrag"),
                                        QStringLiteral("Empfänger / Auftraggeber"), QStringLiteral("Buchungstext"),
                                        QStringLiteral("Kategorie"), QStringLiteral("Hinweis")});
    m_table->setItemDelegateForColumn(Category, new CategoryDelegate(m_table));
    m_table->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(Text, QHeaderView::Stretch);
    layout->addWidget(m_table, 1);

    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_filling && (item->column() == Category || item->column() == Take))
            categoryEdited(item->row());
    });

    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("lbAnzahl"));
    layout->addWidget(m_counts);
    m_leftOut = new QLabel(this);
    m_leftOut->setObjectName(QStringLiteral("lbAusgelassen"));
    m_leftOut->setWordWrap(true);
    layout->addWidget(m_leftOut);

    auto *forAll = new QHBoxLayout;
    auto *forAllLabel = new QLabel(QStringLiteral("Buchungen ohne Kategorie &zuordnen zu :"), this);
    m_categoryForAll = new QComboBox(this);
    m_categoryForAll->setObjectName(QStringLiteral("cbKategorieAlle"));
    m_categoryForAll->addItems(HhbookVocabulary::categoryWords());
    m_categoryForAll->setCurrentIndex(-1);
    forAllLabel->setBuddy(m_categoryForAll);
    auto *forAllButton = new QPushButton(QStringLiteral("Allen ohne Kategorie zuordnen"), this);
    forAllButton->setObjectName(QStringLiteral("butKategorieAlle"));
    connect(forAllButton, &QPushButton::clicked, this, &StatementImportDialog::fileUncategorised);
    forAll->addWidget(forAllLabel);
    forAll->addWidget(m_categoryForAll);
    forAll->addWidget(forAllButton);
    forAll->addStretch(1);
    layout->addLayout(forAll);

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("butUebernehmen"));
    auto *cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("butAbbrechen"));
    connect(m_ok, &QPushButton::clicked, this, &StatementImportDialog::takeOver);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    refresh();
}

QWidget *StatementImportDialog::buildMapping()
{
    auto *group = new QGroupBox(QStringLiteral("Spaltenzuordnung"), this);
    group->setObjectName(QStringLiteral("gbZuordnung"));
    auto *form = new QFormLayout(group);
    QStringList choices{QStringLiteral("<keine>")};
    for (int i = 0; i < m_read.table.header.size(); ++i)
        choices << QStringLiteral("%1: %2").arg(i + 1).arg(m_read.table.header.at(i));
    for (const Role &role : Roles) {
        auto *box = new QComboBox(group);
        box->setObjectName(QLatin1String(role.objectName));
        box->addItems(choices);
        box->setCurrentIndex(m_read.mapping.*role.member + 1);
        connect(box, &QComboBox::currentIndexChanged, this, &StatementImportDialog::mappingChanged);
        form->addRow(QString::fromUtf8(role.label), box);
        m_columns.append(box);
    }
    return group;
}

void StatementImportDialog::mappingChanged()
{
    for (int i = 0; i < m_columns.size(); ++i)
        m_read.mapping.*Roles[i].member = m_columns.at(i)->currentIndex() - 1;
    m_entriesRead = false;
    refresh();
}

void StatementImportDialog::accountChanged(int index)
{
    m_read.chooseAccount(index);
    refresh();
}

void StatementImportDialog::refresh()
{
    QString problem;
    if (m_read.format == Statement::Format::Csv) {
        m_profile->setText(QStringLiteral("Bankprofil: %1%2")
                               .arg(m_read.profileName,
                                    m_read.knownProfile ? QStringLiteral(" (gespeichert)") : QString()));
        problem = m_read.mapping.missing();
        if (problem.isEmpty() && !m_entriesRead) {
            try {
                StatementAccount &account = m_read.accounts.first();
                account.entries = CsvStatement::entries(m_read.table, m_read.mapping, &account.leftOut);
                m_read.chooseAccount(0);
                m_entriesRead = true;
            } catch (const ImportError &e) {
                problem = e.message();
            }
        }
    } else {
        m_profile->setText(QStringLiteral("Format: %1").arg(m_read.profileName));
    }
    m_rows = problem.isEmpty() ? StatementImport::prepare(m_db, m_book, m_read.entries) : QVector<StatementImport::Row>();
    if (problem.isEmpty() && m_rows.isEmpty())
        problem = QStringLiteral("Die Datei enthält keine gebuchten Umsätze.");
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    fillTable();
}

void StatementImportDialog::fillTable()
{
    m_filling = true;
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    int duplicates = 0, probable = 0;
    for (int r = 0; r < m_rows.size(); ++r) {
        const StatementImport::Row &row = m_rows.at(r);
        Money euro;
        const bool bookable = row.bookable(&euro);
        auto *take = new QTableWidgetItem;
        take->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        take->setCheckState(row.take && !row.duplicate ? Qt::Checked : Qt::Unchecked);
        m_table->setItem(r, Take, take);
        auto readOnly = [&](int column, const QString &text) {
            auto *item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (row.duplicate || !bookable)
                item->setForeground(Qt::gray);
            m_table->setItem(r, column, item);
            return item;
        };
        readOnly(Date, GermanFormat::shortDate(row.entry.bookingDate));
        const QString amount = row.entry.inEuro()
                                   ? GermanFormat::currency(row.entry.amount)
                                   : GermanFormat::number(row.entry.amount.toDouble(), 2) + QChar(0x00A0) + row.entry.currency;
        readOnly(Amount, amount)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        readOnly(Party, row.entry.counterparty);
        readOnly(Text, row.text)->setToolTip(row.entry.text);
        auto *category = new QTableWidgetItem(row.rubrik);
        m_table->setItem(r, Category, category);
        markCategory(category, row);
        QTableWidgetItem *note = readOnly(Note, StatementImport::rowNote(row));
        if (row.probable || !row.entry.inEuro())
            note->setForeground(QColor(0xb0, 0x00, 0x00));
        if (row.duplicate || !bookable) {
            take->setFlags(Qt::NoItemFlags);
            category->setFlags(Qt::NoItemFlags);
        }
        duplicates += row.duplicate;
        probable += row.probable;
    }
    m_table->resizeColumnsToContents();
    // room for the longest category the adviser may choose
    m_table->setColumnWidth(Category, std::max(m_table->columnWidth(Category),
                                               m_table->fontMetrics().horizontalAdvance(QStringLiteral("Allgemeine Kosten")) + 40));
    QString counts = QStringLiteral("%1 Buchung(en), davon %2 bereits im Haushaltsbuch").arg(m_rows.size()).arg(duplicates);
    if (probable > 0)
        counts += QStringLiteral(", %1 vermutlich schon gebucht").arg(probable);
    m_counts->setText(counts + u'.');
    const QString leftOut = m_read.leftOut.text();
    m_leftOut->setText(leftOut);
    m_leftOut->setVisible(!leftOut.isEmpty());
    m_ok->setEnabled(m_rows.size() > duplicates);
    m_filling = false;
}

void StatementImportDialog::categoryEdited(int r)
{
    if (r < 0 || r >= m_rows.size())
        return;
    StatementImport::Row &row = m_rows[r];
    row.take = m_table->item(r, Take)->checkState() == Qt::Checked;
    row.rubrik = m_table->item(r, Category)->text();
    m_filling = true;
    m_table->item(r, Note)->setText(StatementImport::rowNote(row));
    markCategory(m_table->item(r, Category), row);
    m_filling = false;
}

void StatementImportDialog::fileUncategorised()
{
    const QString rubrik = m_categoryForAll->currentText();
    if (rubrik.isEmpty()) {
        ShowMsg(QStringLiteral("Bitte wählen Sie zuerst die Kategorie für die Buchungen ohne Kategorie."), mkWarning);
        m_categoryForAll->setFocus();
        return;
    }
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_table->item(r, Take)->checkState() == Qt::Checked && m_table->item(r, Category)->text().isEmpty())
            m_table->item(r, Category)->setText(rubrik);
}

void StatementImportDialog::takeOver()
{
    int uncategorised = 0, first = -1;
    for (int r = 0; r < m_rows.size(); ++r) {
        // a booking found in the book goes along, so storing counts it as found again
        m_rows[r].take = m_rows.at(r).duplicate || m_table->item(r, Take)->checkState() == Qt::Checked;
        m_rows[r].rubrik = m_table->item(r, Category)->text();
        if (m_rows.at(r).take && !m_rows.at(r).duplicate && m_rows.at(r).rubrik.isEmpty()) {
            ++uncategorised;
            if (first < 0)
                first = r;
        }
    }
    if (uncategorised > 0) {
        ShowMsg(StatementImport::uncategorisedMessage(uncategorised), mkWarning);
        m_table->setCurrentCell(first, Category);
        m_table->scrollToItem(m_table->item(first, Category));
        return;
    }
    try {
        m_result = StatementImport::store(m_db, m_book, m_rows);
        if (m_read.format == Statement::Format::Csv)
            StatementImport::BankProfiles::remember(m_db, CsvStatement::headerKey(m_read.table), m_read.profileName,
                                                    m_read.mapping);
    } catch (const AppError &e) {
        ShowMsg(e.message(), mkError);
        return;
    }
    ShowMsg(StatementImport::resultText(m_result), mkInfo);
    accept();
}

bool StatementImportDialog::run(DataModules &dm, QWidget *parent)
{
    DataSet &books = *dm.dmHh->qrHhplan;
    DataSet &bookings = *dm.dmHh->qrHhbuch;
    if (bookings.isPending())
        bookings.post();
    if (!books.isOpen() || books.isEmpty() || books.state() == DataSet::State::Insert) {
        ShowMsg(QStringLiteral("Bitte zuerst ein Haushaltsbuch anlegen und speichern."), mkWarning);
        return false;
    }
    const int book = books.value(QStringLiteral("Hhplan_id")).toInt();
    const QString path = Dialogs::instance().chooseFile(Caption, QDir::homePath(), FileFilter);
    if (path.isEmpty())
        return false;
    std::unique_ptr<StatementImportDialog> dialog;
    try {
        dialog = std::make_unique<StatementImportDialog>(dm.db, book, path, parent);
    } catch (const AppError &e) {
        ShowMsg(e.message(), mkWarning);
        return false;
    }
    if (dialog->exec() != QDialog::Accepted || dialog->result().stored == 0)
        return false;
    bookings.reopen();
    return true;
}
