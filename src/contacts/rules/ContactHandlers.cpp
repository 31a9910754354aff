#include "contacts/rules/ContactHandlers.h"

#include "contacts/rules/ContactRules.h"
#include "data/TdmAdressen.h"
#include "data/TdmFirma.h"
#include "data/WriteTransaction.h"


ContactHandlers::ContactHandlers(TdmAdressen &adressen, TdmFirma &firma, std::function<bool(const QString &)> ask)
    : QObject(&adressen), m_firma(firma), m_ask(std::move(ask))
{
    setObjectName(QStringLiteral("contactHandlers"));
    adressen.qrKontakte->afterInsert = [this](DataSet &ds) { qrKontakteAfterInsert(ds); };
    adressen.qrKontakte->afterPost = [this](DataSet &ds) { qrKontakteAfterPost(ds); };
}

void ContactHandlers::ensure(TdmAdressen &adressen, TdmFirma &firma, std::function<bool(const QString &)> ask)
{
    if (!adressen.findChild<ContactHandlers *>(QString(), Qt::FindDirectChildrenOnly))
        new ContactHandlers(adressen, firma, std::move(ask));
}

void ContactHandlers::qrKontakteAfterInsert(DataSet &ds)
{
    ContactRules::newContact(ds);
}

void ContactHandlers::qrKontakteAfterPost(DataSet &ds)
{
    // The contact is stored for good before anyone is asked anything.
    const QString plz = ds.asString(QStringLiteral("Plz"));
    const QString ort = ds.asString(QStringLiteral("Ort"));
    WriteTransaction::afterCommit([this, plz, ort] { ContactRules::learnPostcode(plz, ort, *m_firma.qrPlzOrt, m_ask); });
}
