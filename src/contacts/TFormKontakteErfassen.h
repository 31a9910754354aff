#pragma once

#include "ui/RecordDialog.h"

class ContactForm;
class DataModules;
class QWidget;

// "Kontakte Schnellerfassung": contacts are created, changed and deleted here, on the
// current row of qrKontakte, which the Kontakte page and the letters page share.
class TFormKontakteErfassen : public RecordDialog
{
    Q_OBJECT
public:
    TFormKontakteErfassen(DataModules &dm, QWidget *parent = nullptr);

private:
    QWidget *makeChooseBar();
    void chooseContact();

    DataModules &m_dm;
    ContactForm *m_form = nullptr;
};
