#include "hhbook/StatementImportDialog.h"

#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "data/Database.h"
#include "hhbook/rules/HhbookVocabulary.h"
#include "ui/Dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
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
    {"cbZweck", "Verwendungszweck :", &CsvStatement::ColumnMapping::text},
    {"cbPartner", "Empfänger / Auftraggeber :", &CsvStatement::ColumnMapping::counterparty},
    {"cbReferenz", "Bankreferenz :", &CsvStatement::ColumnMapping::reference},
};

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

    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("lbAnzahl"));
    layout->addWidget(m_counts);

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
    m_read.entries.clear();
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
        if (problem.isEmpty() && m_read.entries.isEmpty()) {
            try {
                m_read.entries = CsvStatement::entries(m_read.table, m_read.mapping);
            } catch (const ImportError &e) {
                problem = e.message();
            }
        }
    } else {
        m_profile->setText(QStringLiteral("Format: CAMT.053"));
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
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    int duplicates = 0;
    for (int r = 0; r < m_rows.size(); ++r) {
        const StatementImport::Row &row = m_rows.at(r);
        auto *take = new QTableWidgetItem;
        take->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        take->setCheckState(row.duplicate ? Qt::Unchecked : Qt::Checked);
        m_table->setItem(r, Take, take);
        auto readOnly = [&](int column, const QString &text) {
            auto *item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (row.duplicate)
                item->setForeground(Qt::gray);
            m_table->setItem(r, column, item);
            return item;
        };
        readOnly(Date, GermanFormat::shortDate(row.entry.bookingDate));
        readOnly(Amount, GermanFormat::currency(row.entry.amount))->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        readOnly(Party, row.entry.counterparty);
        readOnly(Text, row.text)->setToolTip(row.entry.text);
        auto *category = new QTableWidgetItem(row.rubrik);
        m_table->setItem(r, Category, category);
        readOnly(Note, row.duplicate ? QStringLiteral("bereits im Haushaltsbuch") : QString());
        if (row.duplicate) {
            take->setFlags(Qt::NoItemFlags);
            category->setFlags(Qt::NoItemFlags);
            ++duplicates;
        }
    }
    m_table->resizeColumnsToContents();
    // room for the longest category the adviser may choose
    m_table->setColumnWidth(Category, std::max(m_table->columnWidth(Category),
                                               m_table->fontMetrics().horizontalAdvance(QStringLiteral("Allgemeine Kosten")) + 40));
    m_counts->setText(QStringLiteral("%1 Buchung(en), davon %2 bereits im Haushaltsbuch.").arg(m_rows.size()).arg(duplicates));
    m_ok->setEnabled(m_rows.size() > duplicates);
}

void StatementImportDialog::takeOver()
{
    for (int r = 0; r < m_rows.size(); ++r) {
        // a booking found in the book goes along, so storing counts it as found again
        m_rows[r].take = m_rows.at(r).duplicate || m_table->item(r, Take)->checkState() == Qt::Checked;
        m_rows[r].rubrik = m_table->item(r, Category)->text();
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
