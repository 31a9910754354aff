#pragma once

#include "report/TBaseReport.h"
#include "report/UnknownField.h"

#include <QByteArray>
#include <QDateTime>

class QIODevice;

// The RTF side of a report component: reading and caching the template, the character
// set and language written into the output, the options, compiling and writing.
class TBaseRtfReport : public TBaseReport
{
public:
    enum Option {
        eoGraphicsWmfCompatible = 0x01,
        eoGraphicsBinary = 0x02,
        eoClearMissedFields = 0x04,
        eoDotAsColon = 0x08,
        eoNumericFormatClearZero = 0x10,
        eoKeepFrtfPar = 0x20,
    };

    void setInFile(const QString &path) override;

    int Charset() const { return m_charset; }
    void setCharset(int charset) { m_charset = charset & 0xFF; }
    int Lang() const { return m_lang; }
    void setLang(int lang) { m_lang = static_cast<qint16>(lang); }
    int Options() const { return m_options; }
    void setOptions(int options) { m_options = options; }

    // Bounds that stop a template that would never finish or fill the disk.
    void setMaxScanPasses(quint64 passes) { m_maxScanPasses = passes; }
    void setMaxOutputBytes(qsizetype bytes) { m_maxOutputBytes = bytes; }

    // Compiles and runs the template held in memory, without files: for tests and fuzzing.
    QByteArray renderTemplate(const QByteArray &rtf, const std::vector<ReportDataSet *> &dataSets,
                              const QString &templateDirectory = QString());

    // The fields of the last run whose names are no variables (left in the output as
    // written), each once.
    const std::vector<UnknownField> &unknownFields() const { return m_unknownFields; }

protected:
    void execute(const std::vector<ReportDataSet *> &dataSets) override;

private:
    const QByteArray &readTemplate();
    // Compiles `rtf` and runs it; the output goes into `out`, or through `out` as a buffer
    // into `sink` when one is given.
    void render(const QByteArray &rtf, const std::vector<ReportDataSet *> &dataSets, const QString &templateDirectory,
                QByteArray &out, QIODevice *sink);

    int m_charset = 1;
    qint16 m_lang = 0;
    int m_options = 0;
    quint64 m_maxScanPasses = 5'000'000;
    qsizetype m_maxOutputBytes = 512LL * 1024 * 1024;

    std::vector<UnknownField> m_unknownFields;
    QByteArray m_cachedTemplate;
    QString m_cachedPath;
    QDateTime m_cachedModified;
    qint64 m_cachedSize = -1;
};
