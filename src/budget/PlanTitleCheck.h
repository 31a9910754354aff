#pragma once

class DataSet;
class QLineEdit;

// The save buttons of the Budget page and the plan list store a pending plan only with a
// title (blanks count as one); otherwise they say so and put the focus into the title.
namespace PlanTitleCheck {

void save(DataSet *plan, QLineEdit *title);

} // namespace PlanTitleCheck
