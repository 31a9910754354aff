#pragma once

#include <QDialog>

class DataModules;
class DataSet;
class QButtonGroup;
class QLabel;
class QLineEdit;

// "Kontaktadressen wählen ...": the search over all contacts through which every part of
// the program picks one. The list keeps the last search's result between openings.
class TFormKontWahl : public QDialog
{
    Q_OBJECT
public:
    explicit TFormKontWahl(DataModules &dm, QWidget *parent = nullptr);

    // Set by "Ü&bernehmen", cleared by every other way of closing; lives as long as the program.
    static bool takenOver() { return s_takenOver; }

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    QWidget *makeSearch();
    QWidget *makeDetails();
    void search();
    void takeOver();

    DataSet *m_list;
    QButtonGroup *m_filter = nullptr;
    QLineEdit *m_text = nullptr;
    QLabel *m_hits = nullptr;

    static inline bool s_takenOver = false;
};
