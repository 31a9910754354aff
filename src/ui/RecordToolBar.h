#pragma once

#include <QToolBar>

#include <functional>

class DataSet;
class QToolButton;

// The toolbar of every editing window and page: close, new, save, cancel, delete, then
// further buttons. Save is enabled exactly while the data set's row is pending.
class RecordToolBar : public QToolBar
{
    Q_OBJECT
public:
    enum class NewMode { Append, Insert };

    RecordToolBar(DataSet *dataSet, QWidget *parent = nullptr);

    // Each adds its button with the given object name and caption ("&Neu", "Speichern" …).
    QToolButton *addCloseButton(const QString &objectName, const QString &caption);
    QToolButton *addNewButton(const QString &objectName, const QString &caption, NewMode mode = NewMode::Append);
    QToolButton *addSaveButton(const QString &objectName, const QString &caption);
    QToolButton *addCancelButton(const QString &objectName, const QString &caption);
    // Asks `question` (kind mkWarning) and deletes the current row on Yes.
    QToolButton *addDeleteButton(const QString &objectName, const QString &caption, const QString &question);
    QToolButton *addButton(const QString &objectName, const QString &caption, const QIcon &icon,
                           std::function<void()> action);

    // Where the focus goes after "new".
    void setFirstInput(QWidget *widget) { m_firstInput = widget; }
    // Replaces the question of the delete button, for texts that name the record.
    void setDeleteQuestion(std::function<QString()> question) { m_question = std::move(question); }
    // Runs before the new row is started (a page posts its master first).
    void setBeforeNew(std::function<void()> hook) { m_beforeNew = std::move(hook); }
    // Replaces what save does (a window that checks something before posting).
    void setSaveAction(std::function<void()> action) { m_saveAction = std::move(action); }

    QToolButton *saveButton() const { return m_save; }
    // Every button in the order it was added, for a window that sets its keyboard order.
    const QList<QToolButton *> &buttons() const { return m_buttons; }

signals:
    void closeRequested();

private:
    QToolButton *makeButton(const QString &objectName, const QString &caption, const QIcon &icon);
    void updateSave();

    DataSet *m_ds;
    QToolButton *m_save = nullptr;
    QList<QToolButton *> m_buttons;
    QWidget *m_firstInput = nullptr;
    std::function<QString()> m_question;
    std::function<void()> m_beforeNew;
    std::function<void()> m_saveAction;
};
