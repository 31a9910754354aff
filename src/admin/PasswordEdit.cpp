#include "admin/PasswordEdit.h"

#include "core/PasswordHash.h"
#include "data/DataSet.h"
#include "ui/Guard.h"

PasswordEdit::PasswordEdit(DataSet *dataSet, const QString &field, QWidget *parent)
    : QLineEdit(parent), m_ds(dataSet), m_field(field)
{
    setEchoMode(QLineEdit::Normal);
    connect(this, &QLineEdit::textEdited, this, [this] {
        // Typing starts editing the current user, or a new one on an empty list.
        if (!m_ds->isPending()) {
            // Starting a new row redraws the window; this input keeps what was just typed.
            m_starting = true;
            const bool ok = guarded([this] { m_ds->edit(); });
            m_starting = false;
            if (!ok) {
                reset();
                return;
            }
        }
        m_dirty = true;
    });
    connect(m_ds, &DataSet::stateChanged, this, [this] {
        if (!m_ds->isPending())
            reset();
    });
    connect(m_ds, &DataSet::currentRowChanged, this, &PasswordEdit::reset);
    // Registered after the other inputs of the window, so their text is already in the row
    // when this decides whether a new row holds anything.
    m_ds->registerEditor(this, [this] { flush(); });
}

void PasswordEdit::flush()
{
    if (!m_ds || !m_ds->isPending())
        return;
    if (m_dirty && !text().isEmpty()) {
        m_ds->setValue(m_field, PasswordHash::hash(text()));
        m_dirty = false;
        return;
    }
    // A new user that nobody typed into is dropped, not stored with a password alone.
    if (m_ds->state() == DataSet::State::Insert && m_ds->isModified() && m_ds->asString(m_field).isEmpty())
        m_ds->setValue(m_field, PasswordHash::hash(QString()));
}

void PasswordEdit::reset()
{
    if (m_starting)
        return;
    m_dirty = false;
    clear();
}
