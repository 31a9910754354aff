#include "hhbook/import/Statement.h"

#include <QRegularExpression>

namespace Statement {

Format detect(const QByteArray &content)
{
    qsizetype i = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < content.size() && (content.at(i) == ' ' || content.at(i) == '\t' || content.at(i) == '\r'
                                  || content.at(i) == '\n'))
        ++i;
    // Any XML goes to the CAMT reader, so a report or notification in XML is refused with
    // a message that says what it is instead of being read as a CSV of nonsense.
    return i < content.size() && content.at(i) == '<' ? Format::Camt053 : Format::Csv;
}

QString cleanReference(const QString &reference)
{
    const QString r = reference.trimmed();
    if (r.isEmpty() || r.compare(QLatin1String("NOTPROVIDED"), Qt::CaseInsensitive) == 0
        || r.compare(QLatin1String("NONREF"), Qt::CaseInsensitive) == 0
        || r.compare(QLatin1String("NOT PROVIDED"), Qt::CaseInsensitive) == 0)
        return {};
    return r;
}

bool parseAmount(const QString &input, Money *amount)
{
    QString t = input.trimmed();
    t.remove(QChar(0x00A0));
    t.remove(u' ');
    if (t.endsWith(QLatin1String("EUR"), Qt::CaseInsensitive))
        t.chop(3);
    if (t.endsWith(u'€'))
        t.chop(1);
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.startsWith(u'-');
        t.remove(0, 1);
    } else if (t.endsWith(u'-')) {   // some banks put the sign behind the amount
        negative = true;
        t.chop(1);
    }
    static const QRegularExpression german(QStringLiteral(R"(^(\d{1,3}(?:\.\d{3})+|\d+)(?:,(\d{1,4}))?$)"));
    static const QRegularExpression dotted(QStringLiteral(R"(^(\d+)\.(\d{1,2})$)"));
    QRegularExpressionMatch m = german.match(t);
    if (!m.hasMatch()) {
        m = dotted.match(t);
        if (!m.hasMatch())
            return false;
    }
    QString whole = m.captured(1);
    whole.remove(u'.');
    if (whole.size() > 14)
        return false;
    const QString fraction = m.captured(2).leftJustified(4, u'0');
    const qint64 raw = whole.toLongLong() * Money::Scale + fraction.toLongLong();
    *amount = Money::fromRaw(negative ? -raw : raw);
    return true;
}

QDate parseDate(const QString &input)
{
    const QString t = input.trimmed();
    static const QRegularExpression german(QStringLiteral(R"(^(\d{1,2})\.(\d{1,2})\.(\d{2}|\d{4})$)"));
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2}))"));
    if (const auto m = german.match(t); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year += 2000;
        return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
    }
    if (const auto m = iso.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return {};
}

} // namespace Statement
