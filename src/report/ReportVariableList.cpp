#include "report/ReportVariableList.h"

#include "report/ReportDateTime.h"
#include "report/ReportError.h"
#include "report/ReportNumberText.h"

void ReportVariableList::setLines(const QStringList &lines)
{
    m_items.clear();
    m_index.clear();
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        const QString name = (eq < 0 ? line : line.left(eq)).trimmed();
        if (name.isEmpty() || contains(name))
            continue;
        add(name, eq < 0 ? QString() : line.mid(eq + 1));
    }
}

QStringList ReportVariableList::lines() const
{
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out << m_items[static_cast<size_t>(i)].name + u'=' + storedText(i);
    return out;
}

int ReportVariableList::indexOf(const QString &name) const
{
    return m_index.value(name.toUpper(), -1);
}

int ReportVariableList::add(const QString &name, const QString &value)
{
    if (contains(name))
        throw ReportError(QStringLiteral("Can't add report variable %1 - variable already exists").arg(name));
    m_items.push_back({name, ReportValue::fromText(value)});
    const int index = count() - 1;
    m_index.insert(name.toUpper(), index);
    return index;
}

void ReportVariableList::setValue(int index, const ReportValue &value)
{
    ReportValue stored = value;
    stored.isNull = false;
    m_items[static_cast<size_t>(index)].value = stored;
}

int ReportVariableList::type(int index) const
{
    return static_cast<int>(value(index).type);
}

QString ReportVariableList::storedText(int index) const
{
    const ReportValue &v = value(index);
    switch (v.type) {
    case ReportValue::Type::Text: return v.text;
    case ReportValue::Type::Number: return ReportNumberText::general(v.number, u'.');
    case ReportValue::Type::Boolean:
        if (m_true == m_false)
            return v.boolean ? QStringLiteral("True") : QStringLiteral("False");
        return v.boolean ? m_true : m_false;
    case ReportValue::Type::DateTime: return ReportDateTime::storedText(v.number);
    case ReportValue::Type::None: break;
    }
    return v.text;
}

void ReportVariableList::setBooleanTexts(const QString &trueValue, const QString &falseValue)
{
    m_true = trueValue;
    m_false = falseValue;
}
