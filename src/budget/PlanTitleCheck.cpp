#include "budget/PlanTitleCheck.h"

#include "data/DataSet.h"
#include "ui/Dialogs.h"

#include <QLineEdit>

namespace PlanTitleCheck {

void save(DataSet *plan, QLineEdit *title)
{
    if (!plan->isPending())
        return;
    if (title->text().isEmpty()) {
        ShowMsg(QStringLiteral("Legen Sie die Bezeichnung des Haushaltsplanes fest!"), mkWarning);
        title->setFocus();
        return;
    }
    plan->post();
}

} // namespace PlanTitleCheck
