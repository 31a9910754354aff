#include "ui/DbNavigator.h"

#include "data/DataSet.h"
#include "ui/Guard.h"
#include "ui/Icons.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

DbNavigator::DbNavigator(DataSet *dataSet, QWidget *parent) : QWidget(parent), m_ds(dataSet)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto make = [&](const char *name, QStyle::StandardPixmap icon, const QString &tip, auto move) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setIcon(Icons::standard(icon));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, move] { guarded([&] { move(m_ds); }); });
        layout->addWidget(b);
        return b;
    };
    m_first = make("navFirst", QStyle::SP_MediaSkipBackward, QStringLiteral("Erster Datensatz"),
                   [](DataSet *d) { d->first(); });
    m_prior = make("navPrior", QStyle::SP_MediaSeekBackward, QStringLiteral("Vorheriger Datensatz"),
                   [](DataSet *d) { d->prior(); });
    m_next = make("navNext", QStyle::SP_MediaSeekForward, QStringLiteral("Nächster Datensatz"),
                  [](DataSet *d) { d->next(); });
    m_last = make("navLast", QStyle::SP_MediaSkipForward, QStringLiteral("Letzter Datensatz"),
                  [](DataSet *d) { d->last(); });
    for (auto signal : {&DataSet::currentRowChanged, &DataSet::rowsReset, &DataSet::stateChanged,
                        &DataSet::controlsEnabled, &DataSet::rowsFetched})
        connect(m_ds, signal, this, &DbNavigator::updateButtons);
    updateButtons();
}

void DbNavigator::updateButtons()
{
    const bool open = m_ds->isOpen() && !m_ds->isEmpty();
    const int row = m_ds->currentRow();
    // Rows not read yet count as rows after this one; reading them all here would undo the
    // point of reading them as needed.
    const bool more = !m_ds->allFetched() || row < m_ds->fetchedCount() - 1;
    m_first->setEnabled(open && row > 0);
    m_prior->setEnabled(open && row > 0);
    m_next->setEnabled(open && more);
    m_last->setEnabled(open && more);
}
