#include "garnish/TFormPfandInit.h"

#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "data/DataSet.h"
#include "garnish/rules/Garnishment.h"
#include "garnish/rules/PublishedAmounts.h"
#include "ui/DbEdit.h"
#include "ui/EditMask.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel *bold(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

TFormPfandInit::TFormPfandInit(DataModules &dm, QWidget *parent)
    : RecordDialog(parent), m_dm(dm), m_pfand(dm.dmExtras->qrPfand)
{
    setObjectName(QStringLiteral("FormPfandInit"));
    setWindowTitle(QStringLiteral("Initialisierung der Pfändungstabelle"));
    guarded([this] { m_pfand->reopen(); });

    m_bar = new RecordToolBar(m_pfand, this);
    m_bar->setObjectName(QStringLiteral("piToolBar"));
    m_bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_bar->setIconSize(QSize(16, 16));
    m_bar->addCloseButton(QStringLiteral("piTbutSchliessen"), QStringLiteral("Schließen"));
    m_bar->addButton(QStringLiteral("piTbutBearbeiten"), QStringLiteral("&Bearbeiten"),
                     Icons::standard(QStyle::SP_FileDialogDetailedView), [this] { guarded([this] { m_pfand->edit(); }); });
    m_bar->addSaveButton(QStringLiteral("piTbutSpeichern"), QStringLiteral("&Speichern"));
    m_bar->addCancelButton(QStringLiteral("piTbutAbbruch"), QStringLiteral("&Abbruch"));
    m_bar->addDeleteButton(QStringLiteral("piTbutLoeschen"), QStringLiteral("&Löschen"), QStringLiteral("Datensatz löschen?"));
    m_bar->addButton(QStringLiteral("piTbutInit"), QStringLiteral("Tabelle initialisieren"),
                     Icons::standard(QStyle::SP_BrowserReload), [this] { initialise(); });
    m_bar->addButton(QStringLiteral("piTbutHilfe"), QStringLiteral("Hilfe"), Icons::standard(QStyle::SP_DialogHelpButton),
                     [this] { Help::open(QStringLiteral("Pfändung - Grundwerte"), this); });
    connect(m_bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    auto *standBox = new QGroupBox(this);
    auto *standRow = new QHBoxLayout(standBox);
    standRow->addWidget(new QLabel(QStringLiteral("Die Tabelle ist gültig seit :"), standBox));
    DbEdit *stand = field(QStringLiteral("Stand"), standBox);
    standRow->addWidget(stand);
    standRow->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(buildNetBox());
    top->addWidget(buildHints(), 1);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbInit"));
    m_progress->setFormat(QStringLiteral("%v von %m Zeilen"));
    m_progress->hide();

    // Saved base values take effect only with the table built from them.
    m_stale = new QLabel(TableNotRebuiltMessage, this);
    m_stale->setObjectName(QStringLiteral("lblPiTabelleVeraltet"));
    m_stale->setWordWrap(true);
    m_stale->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));

    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 8, 10, 10);
    body->addWidget(m_stale);
    body->addWidget(standBox);
    body->addLayout(top);
    body->addWidget(buildColumnsBox());
    body->addWidget(buildNoticeBox());
    body->addWidget(m_progress);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addLayout(body, 1);

    for (int i = 1; i < m_tabChain.size(); ++i)
        setTabOrder(m_tabChain.at(i - 1), m_tabChain.at(i));
    setPostOnClose(m_pfand);

    connect(m_pfand, &DataSet::stateChanged, this, [this] {
        if (!m_pfand->isPending())
            checkTable();
    });
    connect(m_pfand, &DataSet::rowRemoved, this, &TFormPfandInit::checkTable);
    checkTable();
}

void TFormPfandInit::checkTable()
{
    guarded([this] { m_stale->setVisible(!garnishmentTableMatchesBase(m_dm.db)); });
}

DbEdit *TFormPfandInit::field(const QString &column, QWidget *parent)
{
    const bool date = column == u"Stand";
    auto *e = new DbEdit(m_pfand, column, parent, date ? EditMask::Date : QString());
    e->setObjectName(QStringLiteral("dbe") + column);
    e->setAlignment(date ? Qt::AlignLeft : Qt::AlignRight);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("99.999,99 €")) + 20);
    e->setToolTip(GarnishmentGrid::displayName(column));
    m_tabChain << e;
    return e;
}

QWidget *TFormPfandInit::buildNetBox()
{
    auto *box = new QGroupBox(QStringLiteral("Basis-Werte des Nettoverdienstes"), this);
    auto *g = new QGridLayout(box);
    g->addWidget(bold(QStringLiteral("Netto von :"), box), 0, 1);
    g->addWidget(bold(QStringLiteral("Netto bis :"), box), 0, 2);
    const QStringList rows = {QStringLiteral("Anfangswert :"), QStringLiteral("Schlusswert :"), QStringLiteral("Intervall :")};
    const QStringList &columns = GarnishmentBase::columns();
    for (int r = 0; r < 3; ++r) {
        g->addWidget(new QLabel(rows.at(r), box), r + 1, 0);
        g->addWidget(field(columns.at(2 * r), box), r + 1, 1);
        g->addWidget(field(columns.at(2 * r + 1), box), r + 1, 2);
    }
    return box;
}

QWidget *TFormPfandInit::buildHints()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("gbHinweise"));
    auto *v = new QVBoxLayout(box);
    v->setSpacing(1);
    const QStringList lines = {QStringLiteral("Anfangswert:"),
                               QStringLiteral("Geben Sie den niedrigsten Wert ein. Achtung:"),
                               QStringLiteral("Achtung: In der Spalte Netto von, den ersten"),
                               QStringLiteral("Wert, der größer als 0,00 € ist."),
                               QStringLiteral("Schlusswert:"),
                               QStringLiteral("Geben Sie jeweils den letzten Wert des"),
                               QStringLiteral("Nettoverdienstes ein."),
                               QStringLiteral("Intervall:"),
                               QStringLiteral("Geben Sie den jeweiligen Intervallschritt ein.")};
    for (const QString &line : lines)
        v->addWidget(line.endsWith(u':') && !line.contains(u' ') ? bold(line, box) : new QLabel(line, box));
    v->addStretch(1);
    return box;
}

QWidget *TFormPfandInit::buildColumnsBox()
{
    auto *box = new QGroupBox(QStringLiteral("Pfändungs-Grundwerte"), this);
    auto *v = new QVBoxLayout(box);
    auto *terms = new QGridLayout;
    const QList<QPair<QString, QString>> explained = {
        {QStringLiteral("Pfändungsbeginn :"),
         QStringLiteral("Geben Sie den Nettoverdienst aus Spalte Netto-Von ein, bei dem die Pfändung beginnt.")},
        {QStringLiteral("Kleinster Betrag :"),
         QStringLiteral("Geben Sie den niedrigsten Pfändungsbetrag für die jeweilige Spalte ein.")},
        {QStringLiteral("Intervallschritt :"),
         QStringLiteral("Geben Sie den Intervallschritt für die jeweilige Pfändungs-Spalte ein.")}};
    for (int i = 0; i < explained.size(); ++i) {
        terms->addWidget(bold(explained.at(i).first, box), i, 0);
        terms->addWidget(new QLabel(explained.at(i).second, box), i, 1);
    }
    terms->setColumnStretch(1, 1);
    v->addLayout(terms);

    auto *g = new QGridLayout;
    const QStringList heads = {QStringLiteral("Pfändungsbeginn"), QStringLiteral("Kleinster Betrag"),
                               QStringLiteral("Intervallschritt")};
    for (int c = 0; c < 3; ++c)
        g->addWidget(bold(heads.at(c), box), 0, c + 1);
    const QStringList &columns = GarnishmentBase::columns();
    for (int k = 0; k <= 5; ++k) {
        g->addWidget(new QLabel(QStringLiteral("Pfand %1 :").arg(k), box), k + 1, 0);
        for (int c = 0; c < 3; ++c)
            g->addWidget(field(columns.at(6 + 3 * k + c), box), k + 1, c + 1);
    }
    g->setColumnStretch(4, 1);
    v->addLayout(g);
    return box;
}

QWidget *TFormPfandInit::buildNoticeBox()
{
    auto *box = new QGroupBox(QStringLiteral("Aus der Bekanntmachung übernehmen"), this);
    box->setObjectName(QStringLiteral("gbBekanntmachung"));
    auto *g = new QGridLayout(box);
    const QStringList captions = {QStringLiteral("Freibetrag (G) :"), QStringLiteral("Erste Person (U1) :"),
                                  QStringLiteral("Jede weitere (U2) :"), QStringLiteral("Höchstbetrag (K) :")};
    const char *names[4] = {"eBekG", "eBekU1", "eBekU2", "eBekK"};
    for (int i = 0; i < 4; ++i) {
        m_notice[i] = new QLineEdit(box);
        m_notice[i]->setObjectName(QLatin1String(names[i]));
        m_notice[i]->setAlignment(Qt::AlignRight);
        m_notice[i]->setFixedWidth(m_notice[i]->fontMetrics().horizontalAdvance(QStringLiteral("99.999,99 €")) + 20);
        g->addWidget(new QLabel(captions.at(i), box), 0, 2 * i);
        g->addWidget(m_notice[i], 0, 2 * i + 1);
        m_tabChain << m_notice[i];
    }
    auto *take = new QPushButton(QStringLiteral("Werte &übernehmen"), box);
    take->setObjectName(QStringLiteral("pibutUebernehmen"));
    take->setAutoDefault(false);
    connect(take, &QPushButton::clicked, this, &TFormPfandInit::takeNotice);
    g->addWidget(take, 0, 8);
    g->addWidget(new QLabel(QStringLiteral("Die vier Monatsbeträge der jährlichen Bekanntmachung füllen alle "
                                           "Basis-Werte; prüfen und speichern Sie sie danach."),
                            box),
                 1, 0, 1, 9);
    g->setColumnStretch(9, 1);
    m_tabChain << take;
    return box;
}

void TFormPfandInit::takeNotice()
{
    guarded([this] {
        PublishedAmounts notice;
        Money *amounts[4] = {&notice.freeAmount, &notice.firstDependant, &notice.furtherDependant, &notice.cap};
        for (int i = 0; i < 4; ++i) {
            if (m_notice[i]->text().trimmed().isEmpty()) {
                m_notice[i]->setFocus();
                throw UserWarning(QStringLiteral("Bitte geben Sie alle vier Beträge der Bekanntmachung ein."));
            }
            *amounts[i] = GermanFormat::parseMoney(m_notice[i]->text());
        }
        const GarnishmentBase base = notice.baseValues();
        m_pfand->edit();
        for (const QString &column : GarnishmentBase::columns())
            m_pfand->setMoney(column, base.valueOf(column));
    });
}

void TFormPfandInit::initialise()
{
    guarded([this] {
        DataSet &table = *m_dm.dmExtras->qrPfaendung;
        // Values the table cannot be generated from are refused before the question.
        if (const QString why = GarnishmentGrid::refusal(garnishmentBaseOf(*m_pfand)); !why.isEmpty())
            throw UserWarning(why);
        if (!GarnishmentTableExists(table))
            ShowMsg(MissingGarnishmentTableMessage, mkWarning);
        else if (!AskYesNo(QStringLiteral("Pfändungstabelle bereits initialisiert!\rNeu initialisieren?"), mkWarning))
            return;
        m_progress->setValue(0);
        m_progress->show();
        BuildGarnishmentTable(*m_pfand, table, *m_dm.dmExtras->tbPfaendung, [this](int done, int total) {
            m_progress->setMaximum(total);
            m_progress->setValue(done);
            if (done % 25 == 0 || done == total)
                m_progress->repaint();
        });
        m_progress->hide();
        if (GarnishmentTableExists(table))
            ShowMsg(QStringLiteral("Pfändungstabelle wurde erfolgreich initialisiert."), mkWarning);
    });
    m_progress->hide();
    m_dm.dmExtras->qrPfaendung->close();
    checkTable();
}

bool TFormPfandInit::canClose()
{
    if (!RecordDialog::canClose())
        return false;
    m_pfand->close();
    return true;
}
