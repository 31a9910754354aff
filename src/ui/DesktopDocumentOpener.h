#pragma once

#include "report/DocumentOpener.h"

// Opens finished printouts with the desktop's program for their type.
class DesktopDocumentOpener : public DocumentOpener
{
public:
    Result open(const QString &path, int showMode) override;
};
