#include "report/ReportRunner.h"

#include "core/GermanFormat.h"
#include "report/PictureWriter.h"
#include "report/ReportDataSet.h"
#include "report/ReportDateTime.h"
#include "report/ReportError.h"
#include "report/ReportProgress.h"
#include "report/ReportNumberText.h"
#include "report/RtfFieldFinder.h"
#include "report/RtfText.h"
#include "report/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

namespace {

QString withoutTrailingBlanks(const QString &s)
{
    qsizetype e = s.size();
    while (e > 0 && s[e - 1] == u' ')
        --e;
    return e == s.size() ? s : s.left(e);   // shared, not copied, when nothing is cut
}

} // namespace

namespace {

constexpr qsizetype kBufferBytes = 256 * 1024;

} // namespace

ReportRunner::ReportRunner(EvalContext &context, const Settings &settings, QByteArray &out, QIODevice *sink)
    : m_context(context), m_settings(settings), m_out(out), m_sink(sink),
      m_langPrefix("\\lang" + QByteArray::number(settings.lang) + ' ')
{
}

void ReportRunner::run(const TemplateProgram &program)
{
    m_program = &program;
    if (m_sink)
        m_out.reserve(kBufferBytes + kBufferBytes / 4);
    runItems(program.root);
    flush();
}

void ReportRunner::flushIfFull()
{
    if (m_sink && m_out.size() >= kBufferBytes)
        flush();
}

void ReportRunner::flush()
{
    if (!m_sink || m_out.isEmpty())
        return;
    if (m_sink->write(m_out) != m_out.size())
        throw ReportError(QStringLiteral("Die Berichtsausgabe kann nicht geschrieben werden: %1").arg(m_sink->errorString()));
    m_flushed += m_out.size();
    m_out.resize(0);   // keeps the buffer's memory for the next stretch
}

void ReportRunner::checkOutputSize()
{
    if (m_flushed + m_out.size() > m_settings.maxOutputBytes)
        throw ReportError(QStringLiteral("Der Bericht wurde abgebrochen, weil das Ergebnis größer als %1 MB würde.")
                              .arg(m_settings.maxOutputBytes / (1024 * 1024)));
}

void ReportRunner::runItems(const TemplateBlock &block)
{
    for (const TemplateItem &item : block) {
        switch (item.kind) {
        case TemplateItem::Kind::Text: m_out.append(item.text); break;
        case TemplateItem::Kind::Value:
            writeValue(*item.value);
            m_out.append(item.text);
            break;
        case TemplateItem::Kind::Unknown:
        case TemplateItem::Kind::Deferred:
            writeField(item);
            m_out.append(item.text);
            break;
        case TemplateItem::Kind::Scan: runScan(*item.scan); break;
        case TemplateItem::Kind::Condition: runCondition(*item.condition); break;
        }
        flushIfFull();
    }
    checkOutputSize();
}

void ReportRunner::runCalls(const std::vector<ExprPtr> &calls)
{
    for (const ExprPtr &call : calls)
        m_context.eval(*call);
}

bool ReportRunner::test(const ExprNode &condition)
{
    return m_context.eval(condition).boolean;
}

void ReportRunner::runScan(const ScanBlock &scan)
{
    ReportDataSet *set = scan.dataSet >= 0 ? m_context.dataSet(scan.dataSet) : nullptr;
    // "noeof" leaves the block out when the data set has no records; moving to the first
    // record first keeps a set that an earlier scan left at its end from counting as empty.
    if (set)
        set->first();
    if (scan.noEof && set && set->eof()) {
        m_out.append(scan.wholeBalance.skeleton());
        m_out.append(scan.endCodes);
        return;
    }
    m_context.pushScan();
    m_out.append(scan.scanCodes);
    if (scan.hasEntry)
        runCalls(scan.scanCalls);
    runItems(scan.head);

    const std::vector<ExprPtr> &perRecord = scan.hasEntry ? scan.entryCalls : scan.scanCalls;
    const int net = scan.bodyBalance.net();
    bool first = true;
    for (;;) {
        if (!first) {
            // Each repetition starts at the nesting depth the first one started at.
            if (net > 0)
                m_out.append(QByteArray(net, '}'));
            else if (net < 0)
                m_out.append(QByteArray(-net, '{'));
            if (scan.page)
                m_out.append("\\page ");
        }
        runCalls(perRecord);
        runItems(scan.body);
        first = false;
        if (++m_passes > m_settings.maxScanPasses)
            throw ReportError(QStringLiteral("Der Bericht wurde abgebrochen, weil sich ein Block mehr als %1-mal wiederholt "
                                             "hat (endet die Schleife nie?): %2")
                                  .arg(m_settings.maxScanPasses)
                                  .arg(scan.content));
        if (m_settings.progress && !m_settings.progress->advance(qint64(m_passes)))
            throw OperationCancelled();
        bool more = true;
        if (set) {
            set->next();
            more = !set->eof();
        }
        if (more && scan.whileCondition)
            more = test(*scan.whileCondition);
        if (!more)
            break;
    }
    runCalls(scan.footerCalls);
    runItems(scan.foot);
    runCalls(scan.endCalls);
    m_context.popScan();
    m_out.append(scan.endCodes);
}

void ReportRunner::runCondition(const ConditionBlock &condition)
{
    m_out.append(condition.ifCodes);
    bool taken = false;
    for (const ConditionBranch &branch : condition.branches) {
        if (!taken && (!branch.condition || test(*branch.condition))) {
            taken = true;
            runItems(branch.items);
        } else {
            m_out.append(branch.balance.skeleton());
        }
    }
    m_out.append(condition.endCodes);
}

QByteArray ReportRunner::picture(const ReportValue &value, bool *loaded)
{
    QByteArray bytes = value.picture;
    if (!value.hasPicture) {
        QString path = value.displayText(m_context.trueValue, m_context.falseValue);
        if (QFileInfo(path).isRelative() && !m_settings.templateDirectory.isEmpty()) {
            const QString beside = QDir(m_settings.templateDirectory).filePath(path);
            if (QFileInfo::exists(beside))
                path = beside;
        }
        if (!path.isEmpty() && QFileInfo::exists(path))
            bytes = readPictureFile(path);
    }
    const QByteArray group = PictureWriter::pictureGroup(bytes, m_settings.graphicsBinary);
    *loaded = !group.isEmpty();
    return group;
}

// A name can point at anything: a pipe would block the printout for ever, a device such as
// /dev/zero would fill the memory. Only ordinary files of a picture's size are read.
QByteArray ReportRunner::readPictureFile(const QString &path) const
{
    const QFileInfo info(path);
    if (info.isDir())
        return {};   // written as a file that cannot be loaded, like a missing one
    if (!info.isFile())
        throw ReportError(QStringLiteral("Das Bild %1 ist keine gewöhnliche Datei.").arg(path));
    const qint64 limit = m_settings.maxPictureBytes;
    if (info.size() > limit)
        throw ReportError(QStringLiteral("Das Bild %1 ist größer als %2 MB.").arg(path).arg(limit / (1024 * 1024)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The file may have grown since it was looked at.
    const QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit)
        throw ReportError(QStringLiteral("Das Bild %1 ist größer als %2 MB.").arg(path).arg(limit / (1024 * 1024)));
    return bytes;
}

QString ReportRunner::formatted(const ValueField &field, const ReportValue &v, bool *raw)
{
    using Kind = FormatFunction::Kind;
    const ValueFormat &f = field.format;
    const QString &t = m_context.trueValue;
    const QString &fv = m_context.falseValue;
    *raw = false;
    if (f.isNumberFormat()) {
        if (v.type != ReportValue::Type::Number || v.isNull)
            return v.displayText(t, fv);
        const int digits = std::clamp(f.digits < 0 ? 2 : f.digits, 0, 60);
        QString text;
        switch (f.kind) {
        case Kind::Exp:
            text = ReportNumberText::scientific(v.number, f.precision >= 0 ? f.precision : 18,
                                                f.digits >= 0 ? f.digits : 2, GermanFormat::DecimalSeparator);
            break;
        case Kind::Fix: text = ReportNumberText::german(v.number, digits, false); break;
        case Kind::Num: text = ReportNumberText::german(v.number, digits, true); break;
        case Kind::Cur: text = ReportNumberText::germanCurrency(v.number, digits); break;
        case Kind::FixR: text = ReportNumberText::withDashes(ReportNumberText::german(v.number, digits, false)); break;
        case Kind::NumR: text = ReportNumberText::withDashes(ReportNumberText::german(v.number, digits, true)); break;
        default: break;
        }
        if (m_settings.clearZero && ReportNumberText::allDigitsZero(text))
            return {};
        return text;
    }
    switch (f.kind) {
    case Kind::NoFormat: return v.displayText(t, fv);
    case Kind::Dtm: {
        if (v.type != ReportValue::Type::DateTime || v.isNull)
            return v.displayText(t, fv);
        const DateTimePattern &p = *field.dateTimePattern;
        const QString pattern = p.variable ? m_context.eval(*p.variable).displayText(t, fv) : p.text;
        return ReportDateTime::format(pattern, v.number);
    }
    case Kind::Bool: {
        const QString text = v.displayText(t, fv);
        return (text == t || text.compare(u"TRUE", Qt::CaseInsensitive) == 0) ? t : fv;
    }
    case Kind::Rtf: *raw = true; return v.displayText(t, fv);
    default: break;
    }
    return v.displayText(t, fv);
}

void ReportRunner::writeField(const TemplateItem &item)
{
    const QByteArray source = item.fieldSource();
    if (item.kind == TemplateItem::Kind::Deferred) {
        writeValue(m_program->compileField(source));
    } else if (!m_settings.clearMissed) {
        m_out.append(source);
    } else if (item.hasTrailingCodes) {
        m_out.append(RtfFieldFinder::fieldPiece(source).trailingCodes);
    }
}

void ReportRunner::writeValue(const ValueField &field)
{
    if (field.noResult) {
        m_context.eval(*field.expression);
        m_out.append(field.trailingCodes);
        return;
    }
    const ReportValue v = m_context.eval(*field.expression);
    m_out.append(m_langPrefix);
    const FormatFunction::Kind kind = field.format.kind;
    if (kind == FormatFunction::Kind::Img || (kind == FormatFunction::Kind::None && v.hasPicture)) {
        bool loaded = false;
        const QByteArray group = picture(v, &loaded);
        if (loaded)
            m_out.append(group);
        else if (!v.hasPicture)
            RtfText::append(m_out, QStringLiteral("#Can't load file %1").arg(v.displayText(m_context.trueValue, m_context.falseValue)));
    } else if (kind == FormatFunction::Kind::Lnk) {
        const QString text = v.displayText(m_context.trueValue, m_context.falseValue);
        const qsizetype bar = text.indexOf(u'|');
        const QString target = bar < 0 ? text : text.left(bar);
        const QString shown = bar < 0 ? text : text.mid(bar + 1);
        m_out.append("{\\field{\\*\\fldinst {" + m_langPrefix.trimmed() + " HYPERLINK \"");
        RtfText::append(m_out, target);
        m_out.append("\" }}{\\fldrslt " + m_langPrefix);
        RtfText::append(m_out, shown);
        m_out.append("}}");
    } else if (kind == FormatFunction::Kind::None) {
        QString text;
        const ExprNode &e = *field.expression;
        if (e.kind == ExprNode::Kind::Column && !v.isNull) {
            const auto fieldKind = m_context.dataSet(e.dataSet)->fieldKind(e.field);
            if (fieldKind == ReportDataSet::FieldKind::Text)
                text = withoutTrailingBlanks(v.text);
            else if (fieldKind == ReportDataSet::FieldKind::DateTime)
                text = ReportDateTime::dateText(v.number);  // the date without the time
            else
                text = v.displayText(m_context.trueValue, m_context.falseValue);
        } else {
            text = v.displayText(m_context.trueValue, m_context.falseValue);
        }
        RtfText::append(m_out, text);
    } else {
        bool raw = false;
        const QString text = formatted(field, v, &raw);
        if (raw) {
            // RTF code from the value goes in as it is; only characters beyond 7 bits are escaped.
            for (QChar c : text) {
                if (c.unicode() < 128)
                    m_out.append(static_cast<char>(c.unicode()));
                else
                    RtfText::append(m_out, QStringView(&c, 1));
            }
        } else {
            RtfText::append(m_out, text);
        }
    }
    m_out.append(field.trailingCodes);
}
