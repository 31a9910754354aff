#include "report/ReportValue.h"

#include "core/GermanFormat.h"
#include "report/ReportDateTime.h"
#include "report/ReportNumberText.h"

QString ReportValue::displayText(const QString &trueValue, const QString &falseValue) const
{
    if (isNull)
        return {};
    switch (type) {
    case Type::Text: return text;
    case Type::Number: return ReportNumberText::general(number, GermanFormat::DecimalSeparator);
    case Type::Boolean: return boolean ? trueValue : falseValue;
    case Type::DateTime: return ReportDateTime::dateTimeText(number);
    case Type::None: break;
    }
    return text;
}
