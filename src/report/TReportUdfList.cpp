#include "report/TReportUdfList.h"

#include "report/ReportError.h"

namespace {

bool validName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c >= 192;
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

} // namespace

TReportUdf &TReportUdfList::add(const TReportUdf &udf)
{
    if (!validName(udf.Name))
        throw ReportError(QStringLiteral("Illegal function name %1").arg(udf.Name));
    if (find(udf.Name))
        throw ReportError(QStringLiteral("User defined function with name %1 already exists").arg(udf.Name));
    m_functions.push_back(std::make_unique<TReportUdf>(udf));
    return *m_functions.back();
}

const TReportUdf *TReportUdfList::find(const QString &name) const
{
    for (const auto &f : m_functions)
        if (f->Name.compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}
