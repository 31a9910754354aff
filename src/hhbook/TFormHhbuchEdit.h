#pragma once

#include "ui/RecordDialog.h"

class DataModules;

// "Haushaltsbuch bearbeiten": the user's books with their date and name. A book is deleted
// only here, and only while it has no booking.
class TFormHhbuchEdit : public RecordDialog
{
    Q_OBJECT
public:
    explicit TFormHhbuchEdit(DataModules &dm, QWidget *parent = nullptr);

private:
    void deleteBook();

    DataModules &m_dm;
};
