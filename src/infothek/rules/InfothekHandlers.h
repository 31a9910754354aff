#pragma once

#include <QObject>

class DataSet;
class TdmExtras;

// The rules of the document catalogue, installed once with the Infothek module: the rubric
// name and directory shown with each document, its rubric on insert, its file name on post.
class InfothekHandlers : public QObject
{
    Q_OBJECT
public:
    explicit InfothekHandlers(TdmExtras &extras);

    void qrInfosAfterInsert(DataSet &ds);
    void qrInfosBeforePost(DataSet &ds);
    void qrInfosCalcFields(DataSet &ds);

private:
    TdmExtras &m_extras;
};
