#pragma once

#include <QString>

class QWidget;
class RequiredFieldError;

// The label a window shows beside a control, so messages name a field as the user sees it.
namespace FieldLabel {

// The text of the label beside `control` ("Beschreibung :" gives "Beschreibung"): a label
// whose buddy it is, its row in a form or grid, or the label just before it in a row.
// Empty when there is none.
QString of(const QWidget *control);

// "Bitte füllen Sie das Feld „Beschreibung“ aus." for a required field shown under that
// label, with the focus put into it; the data layer's message where no control shows it.
QString requiredMessage(const RequiredFieldError &error);

} // namespace FieldLabel
