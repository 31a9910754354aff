#include "hhbook/KeyFilter.h"

QValidator::State KeyFilter::validate(QString &input, int &) const
{
    for (QChar &c : input) {
        if (c == u',' && m_commaAsPoint)
            c = u'.';
        else if (!(c >= u'0' && c <= u'9') && c != u',' && c != u'.')
            return Invalid;
    }
    return Acceptable;
}
