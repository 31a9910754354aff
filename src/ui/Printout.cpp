#include "ui/Printout.h"

#include "data/DataModules.h"
#include "report/TBaseReport.h"
#include "ui/DesktopDocumentOpener.h"

namespace Printout {

namespace {

DocumentOpener *installed = nullptr;

DataSet *firma(DataModules &dm)
{
    DataSet *f = dm.dmFirma->qrFirma;
    if (!f->isOpen())
        f->open();
    return f;
}

} // namespace

DocumentOpener *opener()
{
    static DesktopDocumentOpener desktop;
    return installed ? installed : &desktop;
}

void installOpener(DocumentOpener *opener)
{
    installed = opener;
}

QString templateFile(DataModules &dm, const QString &fileName)
{
    return firma(dm)->asString(QStringLiteral("FReportIn")) + fileName;
}

QString outputFile(DataModules &dm, const QString &fileName)
{
    DataSet *user = dm.dmMP->qrAktUser;
    const QString shortName =
        user->isOpen() && !user->isEmpty() ? user->asString(QStringLiteral("SbKurz")).toLower() : QString();
    return firma(dm)->asString(QStringLiteral("FReportOut")) + shortName + fileName;
}

void setVariables(TBaseReport &report, const QList<QPair<QString, QString>> &values)
{
    QStringList names;
    names.reserve(values.size());
    for (const auto &[name, value] : values)
        names << name + QLatin1Char('=');
    report.setVarList(names);
    for (const auto &[name, value] : values)
        report.FindVariable(name).setText(value);
}

} // namespace Printout
