#include "ui/Printout.h"

#include "data/DataModules.h"
#include "report/ReportOutputPath.h"
#include "report/TBaseReport.h"
#include "ui/DesktopDocumentOpener.h"
#include "ui/PrintoutOpener.h"
#include "ui/PrintoutSettings.h"

#include <QMenu>
#include <QToolButton>

namespace Printout {

namespace {

DocumentOpener *installed = nullptr;
// -1: no menu entry in force; else an Output.
int requested = -1;
QString printoutUser;

DocumentOpener *target()
{
    static DesktopDocumentOpener desktop;
    return installed ? installed : &desktop;
}

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
    static PrintoutOpener stage(&target, &output);
    return &stage;
}

void installOpener(DocumentOpener *opener)
{
    installed = opener;
}

Output output()
{
    if (requested >= 0)
        return static_cast<Output>(requested);
    return PrintoutSettings::pdf(printoutUser) ? Output::Pdf : Output::Document;
}

OutputScope::OutputScope(Output output) : m_previous(requested)
{
    requested = static_cast<int>(output);
}

OutputScope::~OutputScope()
{
    requested = m_previous;
}

namespace {

// "Als PDF" (objectName: the button's name + "Pdf") and "Vorschau" (+ "Vorschau").
QMenu *outputMenu(QAbstractButton *button)
{
    auto *menu = new QMenu(button);
    menu->setObjectName(button->objectName() + QStringLiteral("Menu"));
    auto add = [button, menu](const QString &name, const QString &text, Output output) {
        QAction *a = menu->addAction(text);
        a->setObjectName(button->objectName() + name);
        QObject::connect(a, &QAction::triggered, button, [button, output] {
            OutputScope scope(output);
            button->click();
        });
    };
    add(QStringLiteral("Pdf"), QStringLiteral("Als &PDF"), Output::Pdf);
    add(QStringLiteral("Vorschau"), QStringLiteral("&Vorschau"), Output::Preview);
    return menu;
}

} // namespace

void offerPdf(QToolButton *button)
{
    if (!button)
        return;
    button->setMenu(outputMenu(button));
    button->setPopupMode(QToolButton::MenuButtonPopup);
}

void offerPdf(QAbstractButton *button)
{
    if (auto *tool = qobject_cast<QToolButton *>(button)) {
        offerPdf(tool);
        return;
    }
    if (!button)
        return;
    QMenu *menu = outputMenu(button);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(button, &QWidget::customContextMenuRequested, menu,
                     [button, menu](const QPoint &at) { menu->popup(button->mapToGlobal(at)); });
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
    printoutUser = shortName;
    // A short name or document name with a path in it must not lead out of the output folder.
    return ReportOutputPath::forPrintout(firma(dm)->asString(QStringLiteral("FReportOut")), shortName, fileName);
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
