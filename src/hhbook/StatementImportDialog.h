#pragma once

#include "hhbook/import/StatementImport.h"

#include <QDialog>

class DataModules;
class Database;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// "Kontoauszug importieren": the bookings of one statement file in a preview, with the
// column mapping of a CSV layout, a category for each booking the adviser confirms or
// changes, and bookings already in the book marked and left out. Nothing is stored before
// "Übernehmen".
class StatementImportDialog : public QDialog
{
    Q_OBJECT
public:
    // Throws ImportError when the file cannot be read at all.
    StatementImportDialog(const Database &db, int hhplanId, const QString &path, QWidget *parent = nullptr);

    // What "Übernehmen" stored; valid after the dialog was accepted.
    const StatementImport::Result &result() const { return m_result; }

    // The page's "Kontoauszug importieren…": choose a file, show the preview modally and,
    // after "Übernehmen", show the current book's bookings anew. False when nothing was stored.
    static bool run(DataModules &dm, QWidget *parent);

    static inline const QString Caption = QStringLiteral("Kontoauszug importieren");
    static inline const QString FileFilter =
        QStringLiteral("Kontoauszüge (*.csv *.txt *.xml *.camt);;Alle Dateien (*)");

private:
    QWidget *buildMapping();
    void mappingChanged();
    void refresh();
    void fillTable();
    void takeOver();
    void accountChanged(int index);
    void fileUncategorised();
    void categoryEdited(int row);

    const Database &m_db;
    int m_book;
    StatementImport::ReadResult m_read;
    QVector<StatementImport::Row> m_rows;
    StatementImport::Result m_result;

    QLabel *m_profile = nullptr;
    QLabel *m_problem = nullptr;
    QLabel *m_counts = nullptr;
    QLabel *m_leftOut = nullptr;
    QComboBox *m_account = nullptr;
    QComboBox *m_categoryForAll = nullptr;
    bool m_filling = false;
    bool m_entriesRead = false;
    QTableWidget *m_table = nullptr;
    QPushButton *m_ok = nullptr;
    QVector<QComboBox *> m_columns;
};
