#pragma once

#include "ui/RecordDialog.h"

class DataModules;
class DataSet;
class QWidget;

// The own address of the office with the report folders and the letter settings: the
// first (and only used) record of the table firma.
class TFormFirma : public RecordDialog
{
    Q_OBJECT
public:
    // `exeDir`: the executable's folder with a trailing '/', where the default report
    // folders lie.
    TFormFirma(DataModules &dm, const QString &exeDir, QWidget *parent = nullptr);

private:
    QWidget *makeBaseGroup();
    QWidget *makeMoreGroup();
    QWidget *makePrintTab();
    QWidget *makeBankTab();
    QWidget *makeReportTab();
    void chooseDirectory(const QString &field, const QString &caption, const QString &folder);

    DataSet *m_qrFirma;
    QString m_exeDir;
};
