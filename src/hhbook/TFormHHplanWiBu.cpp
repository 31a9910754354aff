#include "hhbook/TFormHHplanWiBu.h"

#include "core/AppError.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "hhbook/KeyFilter.h"
#include "hhbook/rules/HhbookHandlers.h"
#include "hhbook/rules/HhbookVocabulary.h"
#include "hhbook/rules/RecurringBookings.h"
#include "ui/Dialogs.h"
#include "ui/EditMask.h"
#include "ui/Guard.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFormHHplanWiBu::TFormHHplanWiBu(DataModules &dm, std::function<void()> showBookingCount, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_showBookingCount(std::move(showBookingCount))
{
    setObjectName(QStringLiteral("TFormHHplanWiBu"));
    setWindowTitle(QStringLiteral("Wiederkehrende Buchungen"));
    setModal(true);

    auto *group = new QGroupBox(QStringLiteral("Angaben zur Buchungen"), this);
    auto *grid = new QGridLayout(group);
    m_von = new QLineEdit(group);
    m_von->setObjectName(QStringLiteral("meVon"));
    EditMask::apply(m_von, EditMask::DateShortDigits);
    const int shortWidth = m_von->fontMetrics().horizontalAdvance(QStringLiteral("99.99.99999")) + 16;
    m_von->setMaximumWidth(shortWidth);
    m_anz = new QLineEdit(group);
    m_anz->setObjectName(QStringLiteral("eAnz"));
    m_anz->setValidator(new KeyFilter(false, m_anz));
    m_anz->setMaximumWidth(shortWidth);
    m_rubrik = new QComboBox(group);
    m_rubrik->setObjectName(QStringLiteral("cbRubrik"));
    m_rubrik->addItems(HhbookVocabulary::categoryWords());
    m_rubrik->setCurrentIndex(-1);
    m_bar = new QComboBox(group);
    m_bar->setObjectName(QStringLiteral("cbBar"));
    m_bar->addItems(HhbookVocabulary::waysOfPayment());
    m_bar->setCurrentIndex(-1);
    m_betrag = new QLineEdit(group);
    m_betrag->setObjectName(QStringLiteral("eBetrag"));
    // German amounts as typed ("1.200", "1.200,00", "1200,5"), shown as "1.200,00"
    m_betrag->setValidator(new KeyFilter(false, m_betrag));
    connect(m_betrag, &QLineEdit::editingFinished, this, [this] {
        Money amount;
        if (GermanFormat::tryParseMoney(m_betrag->text(), &amount))
            m_betrag->setText(GermanFormat::number(amount.toDouble(), 2));
    });
    m_betrag->setMaximumWidth(shortWidth);
    m_betrag->setAlignment(Qt::AlignRight);
    m_text = new QLineEdit(group);
    m_text->setObjectName(QStringLiteral("eText"));
    m_text->setMaxLength(50);

    auto *rhythms = new QGroupBox(QStringLiteral("Buchungsrythmus"), group);
    rhythms->setObjectName(QStringLiteral("rgRythmus"));
    auto *r = new QVBoxLayout(rhythms);
    m_rhythm = new QButtonGroup(this);
    const auto &all = RecurringBookings::rhythms();
    for (int i = 0; i < all.size(); ++i) {
        auto *b = new QRadioButton(all.at(i).word, rhythms);
        b->setObjectName(QStringLiteral("rgRythmus%1").arg(i));
        m_rhythm->addButton(b, i);
        r->addWidget(b);
    }
    m_rhythm->button(0)->setChecked(true);

    auto *amountRow = new QHBoxLayout;
    amountRow->addWidget(m_betrag);
    amountRow->addWidget(new QLabel(QStringLiteral("EUR"), group));
    amountRow->addStretch(1);
    const QList<QPair<QString, QWidget *>> rows = {{QStringLiteral("Beginn der Periode :"), m_von},
                                                   {QStringLiteral("Anzahl der Buchungen :"), m_anz},
                                                   {QStringLiteral("Rubrik :"), m_rubrik},
                                                   {QStringLiteral("Bar / Konto :"), m_bar}};
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows.at(i).first, group), i, 0, Qt::AlignRight);
        grid->addWidget(rows.at(i).second, i, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Betrag :"), group), 4, 0, Qt::AlignRight);
    grid->addLayout(amountRow, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Rubrikbeschreibung :"), group), 5, 0, Qt::AlignRight);
    grid->addWidget(m_text, 5, 1);
    grid->addWidget(rhythms, 0, 2, 6, 1);
    grid->setColumnMinimumWidth(1, 200);

    auto *ok = new QPushButton(QStringLiteral("Übernehmen"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TFormHHplanWiBu::take);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setTabOrder(m_von, m_anz);
    setTabOrder(m_anz, m_rubrik);
    setTabOrder(m_rubrik, m_bar);
    setTabOrder(m_bar, m_betrag);
    setTabOrder(m_betrag, m_text);
}

bool TFormHHplanWiBu::checkEntries()
{
    const QList<std::tuple<bool, const char *, QWidget *>> checks = {
        {RecurringBookings::isBlankDate(m_von->text()), "Feld <Beginn der Periode> enthält kein Datum!", m_von},
        {m_anz->text().isEmpty(), "Feld <Anzahl der Wiederholungen> enthält kein Wert!", m_anz},
        {m_rubrik->currentIndex() < 0, "Feld <Rubrik> enthält kein Wert!", m_rubrik},
        {m_bar->currentIndex() < 0, "Feld <Bar / Konto> enthält kein Wert!", m_bar},
        {m_betrag->text().isEmpty(), "Feld <Betrag> enthält kein Wert!", m_betrag},
        {m_text->text().isEmpty(), "Feld <Rubrikbeschreibung> enthält kein Wert!", m_text},
    };
    for (const auto &[failed, message, focus] : checks) {
        if (failed) {
            ShowMsg(QString::fromUtf8(message), mkWarning);
            focus->setFocus();
            return false;
        }
    }
    return true;
}

bool TFormHHplanWiBu::readEntries(RecurringBookings::Series *s)
{
    // Everything is read before the question and the first booking: a bad entry books
    // nothing, and the window keeps what was typed for the adviser to correct.
    struct Entry
    {
        QLineEdit *field;
        const char *label;
        const char *what;
        std::function<void()> read;
    };
    const QList<Entry> entries = {
        {m_von, "Beginn der Periode", "kein gültiges Datum (etwa 01.03.2024)",
         [&] { s->start = RecurringBookings::readStart(m_von->text()); }},
        {m_anz, "Anzahl der Buchungen", "keine ganze Zahl",
         [&] { s->count = RecurringBookings::readCount(m_anz->text()); }},
        {m_betrag, "Betrag", "kein gültiger Betrag (etwa 1.200,00)",
         [&] { s->amount = RecurringBookings::readAmount(m_betrag->text()); }},
    };
    for (const Entry &e : entries) {
        try {
            e.read();
        } catch (const ConversionError &) {
            ShowMsg(QStringLiteral("Feld <%1>: '%2' ist %3.")
                        .arg(QString::fromUtf8(e.label), e.field->text().trimmed(), QString::fromUtf8(e.what)),
                    mkWarning);
            e.field->setFocus();
            e.field->selectAll();
            return false;
        }
    }
    s->months = RecurringBookings::rhythms().at(m_rhythm->checkedId()).months;
    s->rubrik = m_rubrik->currentText();
    s->rubdet = m_bar->currentText();
    s->text = m_text->text();
    return true;
}

void TFormHHplanWiBu::take()
{
    if (!checkEntries())
        return;
    RecurringBookings::Series series;
    if (!readEntries(&series))
        return;
    if (!AskYesNo(QStringLiteral("Sollen die Buchungen wirklich in das Haushaltsbuch übernommen werden?"), mkWarning)) {
        reject();
        return;
    }
    const bool booked = guarded([this, &series] {
        const RecurringBookings::Series &s = series;
        TdmHh &hh = *m_dm.dmHh;
        // A first book is asked for before the series starts its transaction, so nobody
        // holds the file while the question waits for an answer.
        if (s.count > 0 && hh.qrHhplan->isOpen() && hh.qrHhplan->isEmpty())
            if (HhbookHandlers *handlers = HhbookHandlers::of(hh))
                handlers->EnsureHouseholdBook();
        RecurringBookings::append(*hh.qrHhbuch, s);
    });
    if (booked) {
        ShowMsg(QStringLiteral("Buchungen wurden in das Haushaltsbuch übertragen!"), mkConfirm);
        if (m_showBookingCount)
            m_showBookingCount();
        accept();
    }
    // a booking the data store refused: the window stays with what was typed
}
