#pragma once

#include <QObject>

#include <functional>

class DataSet;
class TdmAdressen;
class TdmFirma;

// The event handlers of qrKontakte under their own names. Installed once, by whichever
// window or page of the contacts comes first; the question of the learning step goes
// through `ask`, so the rules need no widgets.
class ContactHandlers : public QObject
{
    Q_OBJECT
public:
    ContactHandlers(TdmAdressen &adressen, TdmFirma &firma, std::function<bool(const QString &)> ask);

    // Installs the handlers unless they are there already.
    static void ensure(TdmAdressen &adressen, TdmFirma &firma, std::function<bool(const QString &)> ask);

    void qrKontakteAfterInsert(DataSet &ds);
    void qrKontakteAfterPost(DataSet &ds);

private:
    TdmFirma &m_firma;
    std::function<bool(const QString &)> m_ask;
};
