#include "report/ReportOutputPath.h"

namespace ReportOutputPath {

namespace {

QString safePart(QString text)
{
    for (QChar &c : text)
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 32)
            c = u'_';
    while (text.contains(QStringLiteral("..")))
        text.replace(QStringLiteral(".."), QStringLiteral("_"));
    return text;
}

QString baseName(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return cut < 0 ? path : path.mid(cut + 1);
}

} // namespace

QString forPrintout(const QString &outputDirectory, const QString &userShortName, const QString &templateFileName)
{
    QString dir = outputDirectory;
    if (!dir.isEmpty() && !dir.endsWith(u'/') && !dir.endsWith(u'\\'))
        dir += u'/';
    QString name = safePart(userShortName + baseName(templateFileName));
    if (name.isEmpty() || name == u".")
        name = QStringLiteral("_");
    return dir + name;
}

} // namespace ReportOutputPath
