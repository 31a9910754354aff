#include "letters/LettersModule.h"

#include "data/DataModules.h"
#include "letters/LettersPage.h"
#include "letters/rules/LetterHandlers.h"

LettersModule::LettersModule(DataModules &dm) : m_dm(dm)
{
    m_info = {QStringLiteral("tbsBriefe"), QStringLiteral("Briefe"), QStringLiteral("Briefe"),
              QStringLiteral("Schriftwechsel"), QStringLiteral("Briefe"), 1, true};
    if (!dm.dmSchrift->findChild<LetterHandlers *>())
        new LetterHandlers(*dm.dmSchrift, *dm.dmMP);
}

QWidget *LettersModule::createPage(QWidget *parent)
{
    return new LettersPage(m_dm, parent);
}

void LettersModule::activate()
{
    m_dm.dmSchrift->openLetters();
}

QList<DataSet *> LettersModule::pendingSets() const
{
    return {m_dm.dmSchrift->qrSchrift};
}
