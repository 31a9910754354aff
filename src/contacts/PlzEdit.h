#pragma once

#include "ui/DbEdit.h"

#include <functional>

// The postcode input of a contact: five digits or none. A changed postcode that does not
// fill the mask keeps the focus with a message; a valid one runs `onLeft` after it has
// reached the row (the completion of the town). Escape gives back the stored postcode.
class PlzEdit : public DbEdit
{
    Q_OBJECT
public:
    PlzEdit(DataSet *dataSet, const QString &field, QWidget *parent = nullptr);

    void setOnLeft(std::function<void()> onLeft) { m_onLeft = std::move(onLeft); }

    static const QString InvalidMessage;

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool filledOrBlank() const;

    DataSet *m_ds;
    QString m_field;
    std::function<void()> m_onLeft;
    bool m_refusing = false;
};
