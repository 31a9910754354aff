#pragma once

#include "core/AppError.h"
#include "data/DataError.h"
#include "ui/Dialogs.h"
#include "ui/FieldLabel.h"

#include <exception>

// The top of every event handler: an error of the data store or the report engine ends the
// operation and is shown in an error box (a rule's refusal in a warning box). Returns false
// when the operation failed.
template <typename Func>
bool guarded(Func &&work)
{
    try {
        work();
        return true;
    } catch (const OperationCancelled &) {
        // The user's own choice needs no message.
    } catch (const RecordChanged &e) {
        // A colleague saved the same field meanwhile: the adviser decides whose value counts.
        if (AskYesNo(e.message() + u'\r' + RecordChanged::ReloadQuestion, mkWarning))
            e.reload();
    } catch (const UserWarning &e) {
        ShowMsg(e.message(), mkWarning);
    } catch (const RequiredFieldError &e) {
        // A field left empty is the user's to fill: named by its label, not by its column.
        ShowMsg(FieldLabel::requiredMessage(e), mkWarning);
    } catch (const AppError &e) {
        ShowMsg(e.message(), mkError);
    } catch (const std::exception &e) {
        ShowMsg(QString::fromLocal8Bit(e.what()), mkError);
    }
    return false;
}
