#include "ui/FieldBinding.h"

#include "data/DataSet.h"
#include "ui/Guard.h"

#include <QWidget>

FieldBinding::FieldBinding(QWidget *control, DataSet *dataSet, const QString &field, std::function<void()> showValue,
                           std::function<QVariant()> read)
    : QObject(control), m_control(control), m_ds(dataSet), m_field(field), m_show(std::move(showValue)),
      m_read(std::move(read))
{
    if (!m_ds)
        return;
    auto reshow = [this] {
        m_dirty = false;
        refresh();
    };
    connect(m_ds, &DataSet::rowsReset, this, reshow);
    connect(m_ds, &DataSet::currentRowChanged, this, reshow);
    connect(m_ds, &DataSet::stateChanged, this, [this] {
        if (!m_ds || !m_ds->isPending())
            m_dirty = false;
        refresh();
    });
    connect(m_ds, &DataSet::rowChanged, this, [this](int row) {
        if (m_ds && row == m_ds->currentRow() && !m_dirty)
            refresh();
    });
    connect(m_ds, &DataSet::fieldChanged, this, [this](const QString &f) {
        if (f.compare(m_field, Qt::CaseInsensitive) == 0) {
            m_dirty = false;
            refresh();
        }
    });
    connect(m_ds, &DataSet::controlsEnabled, this, reshow);
    m_ds->registerEditor(this, [this] { flush(); });
    // The control shows the value once it has stored this binding (it calls refresh()).
}

bool FieldBinding::isEditable() const
{
    return m_ds && m_ds->isOpen() && !m_ds->isReadOnly() && m_ds->hasField(m_field)
           && !m_ds->field(m_field).calculated;
}

void FieldBinding::refresh()
{
    // The data set may be gone before the control at shutdown; the control then keeps
    // what it shows.
    if (m_updating || !m_ds || m_ds->controlsDisabled())
        return;
    m_updating = true;
    m_show();
    m_updating = false;
}

bool FieldBinding::userChanged()
{
    if (m_updating)
        return true;
    if (!m_ds)
        return false;
    if (m_ds->isPending()) {
        m_dirty = true;
        return true;
    }
    // Starting an edit may append a row on an empty set, which redraws every control;
    // this one keeps what the user just typed.
    m_updating = true;
    const bool ok = guarded([this] { m_ds->edit(); });
    m_updating = false;
    if (!ok) {
        m_dirty = false;
        refresh();
        return false;
    }
    m_dirty = true;
    return true;
}

void FieldBinding::flush()
{
    if (!m_dirty || !m_ds || !m_ds->isPending())
        return;
    m_ds->setValue(m_field, m_read());
    m_dirty = false;
}

bool FieldBinding::flushGuarded()
{
    return guarded([this] { flush(); });
}
