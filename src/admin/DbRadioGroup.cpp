#include "admin/DbRadioGroup.h"

#include "data/DataSet.h"
#include "ui/FieldBinding.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

DbRadioGroup::DbRadioGroup(DataSet *dataSet, const QString &field, const QString &title, const QStringList &items,
                           QWidget *parent)
    : QGroupBox(title, parent), m_ds(dataSet), m_field(field), m_items(items), m_group(new QButtonGroup(this))
{
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items.at(i), this);
        m_group->addButton(b, i);
        layout->addWidget(b);
    }
    layout->addStretch(1);
    m_binding = new FieldBinding(this, dataSet, field, [this] { showValue(); }, [this] {
        const int id = m_group->checkedId();
        return id < 0 ? QVariant() : QVariant(m_items.at(id));
    });
    m_binding->refresh();
    connect(m_group, &QButtonGroup::idClicked, this, [this] {
        if (m_binding->userChanged())
            m_binding->flushGuarded();
    });
}

void DbRadioGroup::showValue()
{
    setEnabled(m_binding->isEditable() || !m_ds->isOpen());
    const QString value = m_ds->isOpen() && m_ds->hasField(m_field) ? m_ds->asString(m_field) : QString();
    const int id = static_cast<int>(m_items.indexOf(value));
    // Exclusive groups cannot be cleared button by button.
    m_group->setExclusive(false);
    for (QAbstractButton *b : m_group->buttons())
        b->setChecked(m_group->id(b) == id);
    m_group->setExclusive(true);
}

QAbstractButton *DbRadioGroup::button(int index) const
{
    return m_group->button(index);
}
