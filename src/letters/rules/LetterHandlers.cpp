#include "letters/rules/LetterHandlers.h"

#include "data/TdmMP.h"
#include "data/TdmSchrift.h"
#include "letters/rules/LetterRules.h"

LetterHandlers::LetterHandlers(TdmSchrift &schrift, TdmMP &mp) : QObject(&schrift), m_mp(mp)
{
    setObjectName(QStringLiteral("letterHandlers"));
    schrift.qrSchrift->afterInsert = [this](DataSet &ds) { qrSchriftAfterInsert(ds); };
}

void LetterHandlers::qrSchriftAfterInsert(DataSet &ds)
{
    LetterRules::newLetter(ds, *m_mp.qrAktUser);
}
