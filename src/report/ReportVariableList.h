#pragma once

#include "report/ReportValue.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// The report variables of one component: names compared without case, values kept in
// their stored text forms (text, number with ".", boolean, {YYYY-MM-DD[,HH:NN:SS:ZZZ]}).
class ReportVariableList
{
public:
    enum VariableType { TypeNone = 0, TypeText = 1, TypeNumber = 2, TypeBoolean = 3, TypeDateTime = 4 };

    // Lines "name=value"; each becomes a text variable. Replaces the whole list.
    void setLines(const QStringList &lines);
    QStringList lines() const;

    int indexOf(const QString &name) const;   // -1 when absent
    bool contains(const QString &name) const { return indexOf(name) >= 0; }
    int count() const { return static_cast<int>(m_items.size()); }
    QString name(int index) const { return m_items[static_cast<size_t>(index)].name; }

    // Adds a text variable; throws "Can't add report variable …" when the name exists.
    int add(const QString &name, const QString &value = QString());

    const ReportValue &value(int index) const { return m_items[static_cast<size_t>(index)].value; }
    void setValue(int index, const ReportValue &value);
    int type(int index) const;
    QString storedText(int index) const;

    // Texts written for true and false booleans ("True"/"False" when both are equal).
    void setBooleanTexts(const QString &trueValue, const QString &falseValue);

private:
    struct Item
    {
        QString name;
        ReportValue value;
    };
    std::vector<Item> m_items;
    QHash<QString, int> m_index;   // upper-cased name → position
    QString m_true = QStringLiteral("True");
    QString m_false = QStringLiteral("False");
};
