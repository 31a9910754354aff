#pragma once

#include <QWidget>

class DataModules;
class PlzEdit;

// The fields of a contact in their groups and in input order, as the capture window edits
// them and the Kontakte page shows them read-only: one layout for both, so they never
// drift apart.
class ContactForm : public QWidget
{
    Q_OBJECT
public:
    enum class Mode { Edit, Show };

    ContactForm(DataModules &dm, Mode mode, QWidget *parent = nullptr);

    // The postcode input (Edit only).
    PlzEdit *plzEdit() const { return m_plz; }
    QWidget *firstInput() const { return m_first; }

    static const QStringList Categories;

private:
    QWidget *input(const QString &field, QWidget *parent, const QString &name = {});
    QWidget *numberGroup();
    QWidget *personGroup();
    QWidget *addressGroup();
    QWidget *communicationGroup();
    QWidget *internalGroup();
    QWidget *notesGroup();

    DataModules &m_dm;
    Mode m_mode;
    PlzEdit *m_plz = nullptr;
    QWidget *m_first = nullptr;
};
