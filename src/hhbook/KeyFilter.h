#pragma once

#include <QValidator>

// Lets only digits, commas and points into a field, typed or pasted; everything else is
// dropped. With `commaAsPoint` a comma goes in as a point, so amounts hold digits and points
// only.
class KeyFilter : public QValidator
{
    Q_OBJECT
public:
    KeyFilter(bool commaAsPoint, QObject *parent) : QValidator(parent), m_commaAsPoint(commaAsPoint) {}

    State validate(QString &input, int &pos) const override;

private:
    bool m_commaAsPoint;
};
