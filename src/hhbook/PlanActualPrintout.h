#pragma once

#include "hhbook/rules/PlanActual.h"

class DataModules;

// The printout SollIst.rtf: per category with plan or bookings, each month and the year
// with planned, actual and difference, spending more than 10 % over plan marked.
namespace PlanActualPrintout {

inline const QString TemplateName = QStringLiteral("SollIst.rtf");

// False (and nothing printed) when no category has a plan or a booking in the year.
bool print(DataModules &dm, const PlanActual::Comparison &comparison, const QString &bookName, const QString &planName);

} // namespace PlanActualPrintout
