#include "hhbook/rules/HhbookHandlers.h"

#include "core/DateUtil.h"
#include "data/TdmHh.h"
#include "data/TdmMP.h"
#include "hhbook/rules/HhbookRules.h"

HhbookHandlers::HhbookHandlers(TdmHh &hh, TdmMP &mp, std::function<QString()> askFirstBookName)
    : QObject(&hh), m_hh(hh), m_mp(mp), m_askName(std::move(askFirstBookName))
{
    setObjectName(QStringLiteral("hhbookHandlers"));
    hh.qrHhplan->afterInsert = [this](DataSet &ds) { qrHhplanAfterInsert(ds); };
    hh.qrHhbuch->beforeInsert = [this](DataSet &ds) { qrHhbuchBeforeInsert(ds); };
    hh.qrHhbuch->afterInsert = [this](DataSet &ds) { qrHhbuchAfterInsert(ds); };
}

HhbookHandlers *HhbookHandlers::of(TdmHh &hh)
{
    return hh.findChild<HhbookHandlers *>(QStringLiteral("hhbookHandlers"), Qt::FindDirectChildrenOnly);
}

void HhbookHandlers::qrHhplanAfterInsert(DataSet &ds)
{
    HhbookRules::newBook(ds, *m_mp.qrAktUser);
}

void HhbookHandlers::qrHhbuchBeforeInsert(DataSet &)
{
    DataSet *books = m_hh.qrHhplan;
    if (books->isOpen() && books->isEmpty())
        EnsureHouseholdBook();
}

void HhbookHandlers::qrHhbuchAfterInsert(DataSet &ds)
{
    HhbookRules::newBooking(ds, *m_hh.qrHhplan);
}

void HhbookHandlers::EnsureHouseholdBook()
{
    DataSet *books = m_hh.qrHhplan;
    books->append();
    books->setValue(QStringLiteral("Erfdat"), DateUtil::today());
    const QString name = m_askName ? m_askName() : QString();
    books->setValue(QStringLiteral("Bezeichnung"), BookNamePrefix + name);
    books->post();
}
