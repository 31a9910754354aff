#include "ui/DbLabel.h"

#include "data/DataSet.h"

DbLabel::DbLabel(DataSet *dataSet, const QString &field, QWidget *parent)
    : QLabel(parent), m_ds(dataSet), m_field(field)
{
    auto reshow = [this] { showValue(); };
    connect(m_ds, &DataSet::rowsReset, this, reshow);
    connect(m_ds, &DataSet::currentRowChanged, this, reshow);
    connect(m_ds, &DataSet::rowChanged, this, reshow);
    connect(m_ds, &DataSet::stateChanged, this, reshow);
    connect(m_ds, &DataSet::controlsEnabled, this, reshow);
    connect(m_ds, &DataSet::fieldChanged, this, [this](const QString &f) {
        if (f.compare(m_field, Qt::CaseInsensitive) == 0)
            showValue();
    });
    showValue();
}

void DbLabel::showValue()
{
    if (m_ds->controlsDisabled())
        return;
    if (!m_ds->isOpen() || !m_ds->hasField(m_field)) {
        clear();
        return;
    }
    setText(m_format ? m_format(m_ds->value(m_field)) : m_ds->displayText(m_field));
    if (isNumeric(m_ds->field(m_field).type))
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void DbLabel::setFormatter(std::function<QString(const QVariant &)> format)
{
    m_format = std::move(format);
    showValue();
}

DbLabel *DbLabel::formField(DataSet *dataSet, const QString &field, const QString &objectName, QWidget *parent)
{
    auto *l = new DbLabel(dataSet, field, parent);
    l->setObjectName(objectName);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumHeight(l->fontMetrics().height() + 6);
    l->setStyleSheet(QStringLiteral("background: palette(window); padding: 1px 4px;"));
    return l;
}
