#pragma once

#include <QDialog>
#include <QList>

class DataModules;
class QLineEdit;
class QToolButton;
class RecordToolBar;

// "Programminfos bearbeiten ....": the help texts, to read (from a "Hilfe" button or the
// menu) or to write (from "Bearbeiten" on the Home page), and to print one at a time.
class TFormProgInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TFormProgInfo(DataModules &dm, QWidget *parent = nullptr);

    // Puts a page's keyword into the search field; the list is filtered when the user asks.
    void setSearchText(const QString &text);

    // Opens the window read-only with `keyword` in the search field, as every "Hilfe" button does.
    static void showReadOnly(DataModules &dm, const QString &keyword, QWidget *parent);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    DataModules &m_dm;
    QLineEdit *m_search = nullptr;
    RecordToolBar *m_bar = nullptr;
    QList<QWidget *> m_editing;   // new, save, cancel, delete: offered only for writing
};
