#include "ui/RecordToolBar.h"

#include "data/DataSet.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/Icons.h"

#include <QStyle>
#include <QToolButton>

RecordToolBar::RecordToolBar(DataSet *dataSet, QWidget *parent) : QToolBar(parent), m_ds(dataSet)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(20, 20));
    connect(m_ds, &DataSet::stateChanged, this, &RecordToolBar::updateSave);
}

QToolButton *RecordToolBar::makeButton(const QString &objectName, const QString &caption, const QIcon &icon)
{
    if (!actions().isEmpty())
        addSeparator();
    auto *b = new QToolButton(this);
    b->setObjectName(objectName);
    b->setText(caption);
    b->setIcon(icon);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setMinimumWidth(64);
    addWidget(b);
    m_buttons.append(b);
    return b;
}

QToolButton *RecordToolBar::addCloseButton(const QString &objectName, const QString &caption)
{
    QToolButton *b = makeButton(objectName, caption, Icons::standard(QStyle::SP_DialogCloseButton));
    connect(b, &QToolButton::clicked, this, &RecordToolBar::closeRequested);
    return b;
}

QToolButton *RecordToolBar::addNewButton(const QString &objectName, const QString &caption, NewMode mode)
{
    QToolButton *b = makeButton(objectName, caption, Icons::standard(QStyle::SP_FileIcon));
    connect(b, &QToolButton::clicked, this, [this, mode] {
        guarded([&] {
            if (m_beforeNew)
                m_beforeNew();
            if (mode == NewMode::Insert)
                m_ds->insert();
            else
                m_ds->append();
        });
        if (m_firstInput)
            m_firstInput->setFocus();
    });
    return b;
}

QToolButton *RecordToolBar::addSaveButton(const QString &objectName, const QString &caption)
{
    m_save = makeButton(objectName, caption, Icons::standard(QStyle::SP_DialogSaveButton));
    connect(m_save, &QToolButton::clicked, this, [this] {
        guarded([this] {
            if (m_saveAction)
                m_saveAction();
            else
                m_ds->post();
        });
    });
    updateSave();
    return m_save;
}

QToolButton *RecordToolBar::addCancelButton(const QString &objectName, const QString &caption)
{
    QToolButton *b = makeButton(objectName, caption, Icons::standard(QStyle::SP_DialogCancelButton));
    connect(b, &QToolButton::clicked, this, [this] { guarded([this] { m_ds->cancel(); }); });
    return b;
}

QToolButton *RecordToolBar::addDeleteButton(const QString &objectName, const QString &caption,
                                            const QString &question)
{
    if (!m_question)
        m_question = [question] { return question; };
    QToolButton *b = makeButton(objectName, caption, Icons::standard(QStyle::SP_TrashIcon));
    connect(b, &QToolButton::clicked, this, [this] {
        guarded([this] {
            if (AskYesNo(m_question(), mkWarning))
                m_ds->remove();
        });
    });
    return b;
}

QToolButton *RecordToolBar::addButton(const QString &objectName, const QString &caption, const QIcon &icon,
                                      std::function<void()> action)
{
    QToolButton *b = makeButton(objectName, caption, icon);
    connect(b, &QToolButton::clicked, this, [action] { guarded(action); });
    return b;
}

void RecordToolBar::updateSave()
{
    if (m_save)
        m_save->setEnabled(m_ds->isPending());
}
