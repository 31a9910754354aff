#include "report/TBaseRtfReport.h"

#include "report/EvalContext.h"
#include "report/ExpressionCompiler.h"
#include "report/ReportDataSet.h"
#include "report/ReportError.h"
#include "report/ReportRunner.h"
#include "report/RtfFieldFinder.h"
#include "report/TemplateCompiler.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

void TBaseRtfReport::setInFile(const QString &path)
{
    if (path != InFile())
        m_cachedPath.clear();
    TBaseReport::setInFile(path);
}

const QByteArray &TBaseRtfReport::readTemplate()
{
    const QString path = InFile();
    const QFileInfo info(path);
    // The cache also notices a template that was edited on disk since it was read.
    if (!m_cachedPath.isEmpty() && m_cachedPath == path && info.exists() && info.lastModified() == m_cachedModified
        && info.size() == m_cachedSize)
        return m_cachedTemplate;

    m_cachedPath.clear();
    QFile file(path);
    if (path.isEmpty() || !info.isFile() || !file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("Can't read file %1").arg(path));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ReportError(QStringLiteral("Can't read report template from file: %1").arg(path));
    m_cachedTemplate = std::move(bytes);
    m_cachedPath = path;
    m_cachedModified = info.lastModified();
    m_cachedSize = info.size();
    return m_cachedTemplate;
}

QByteArray TBaseRtfReport::renderTemplate(const QByteArray &rtf, const std::vector<ReportDataSet *> &dataSets,
                                          const QString &templateDirectory)
{
    QByteArray out;
    out.reserve(rtf.size() + rtf.size() / 2);
    render(rtf, dataSets, templateDirectory, out, nullptr);
    return out;
}

void TBaseRtfReport::render(const QByteArray &rtf, const std::vector<ReportDataSet *> &dataSets,
                            const QString &templateDirectory, QByteArray &out, QIODevice *sink)
{
    m_unknownFields.clear();
    if (!rtf.startsWith("{\\rtf"))
        throw ReportError(QStringLiteral("Template is not RTF file."));

    ExpressionCompiler::Environment environment;
    environment.variables = &m_variables;
    environment.dataSets = dataSets;
    environment.udfs = UDFList();
    environment.dotAsColon = (m_options & eoDotAsColon) != 0;

    // Two passes over the template instead of holding all its pieces: the names that VAR
    // and the aggregates create are known before the first field is compiled.
    TemplateCompiler compiler(environment);
    RtfFieldFinder::forEachPiece(rtf, m_charset, [&](TemplatePiece &&piece) { compiler.declare(piece); });
    RtfFieldFinder::forEachPiece(rtf, m_charset, [&](TemplatePiece &&piece) { compiler.add(piece); });
    const TemplateProgram program = compiler.finish();
    m_unknownFields = compiler.unknownFields();

    EvalContext context(m_variables, environment.dataSets);
    context.trueValue = TrueValue();
    context.falseValue = FalseValue();
    ReportRunner::Settings settings;
    settings.lang = m_lang;
    settings.graphicsBinary = (m_options & eoGraphicsBinary) != 0;
    settings.clearZero = (m_options & eoNumericFormatClearZero) != 0;
    settings.clearMissed = (m_options & eoClearMissedFields) != 0;
    settings.templateDirectory = templateDirectory;
    settings.maxScanPasses = m_maxScanPasses;
    settings.maxOutputBytes = m_maxOutputBytes;
    settings.progress = activeProgress();

    ReportRunner runner(context, settings, out, sink);
    runner.run(program);
}

void TBaseRtfReport::execute(const std::vector<ReportDataSet *> &dataSets)
{
    // Output and template in one folder with an empty user short name would otherwise
    // overwrite the template with its own filled copy.
    const QFileInfo templateInfo(InFile()), outputInfo(OutFile());
    if (templateInfo.exists() && outputInfo.exists() && templateInfo.canonicalFilePath() == outputInfo.canonicalFilePath())
        throw ReportError(QStringLiteral("Die Ausgabedatei ist die Vorlage selbst und würde sie überschreiben: %1").arg(OutFile()));
    const QByteArray &rtf = readTemplate();
    if (!rtf.startsWith("{\\rtf"))
        throw ReportError(QStringLiteral("Template is not RTF file."));
    if (QFileInfo::exists(OutFile()) && !QFile::remove(OutFile()))
        throw ReportError(QStringLiteral("Die alte Berichtsausgabe kann nicht gelöscht werden: %1").arg(OutFile()));
    // Written through a buffer into a file that replaces OutFile only when complete (the
    // save file discards itself when the run fails): no half document is left behind.
    QSaveFile file(OutFile());
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("Die Berichtsausgabe kann nicht geschrieben werden: %1").arg(OutFile()));
    QByteArray buffer;
    render(rtf, dataSets, QFileInfo(InFile()).absolutePath(), buffer, &file);
    if (!file.commit())
        throw ReportError(QStringLiteral("Die Berichtsausgabe kann nicht geschrieben werden: %1").arg(OutFile()));
}
