#pragma once

#include <QObject>

class DataSet;
class TdmMP;
class TdmSchrift;

// The rules of the letter queries, installed once with the letters module.
class LetterHandlers : public QObject
{
    Q_OBJECT
public:
    LetterHandlers(TdmSchrift &schrift, TdmMP &mp);

    void qrSchriftAfterInsert(DataSet &ds);

private:
    TdmMP &m_mp;
};
