#pragma once

#include "report/DocumentOpener.h"

#include <QStringList>

// Records every opening; answers with a scripted result.
class RecordingDocumentOpener : public DocumentOpener
{
public:
    Result open(const QString &path, int showMode) override
    {
        opened << path;
        showModes << showMode;
        return answer;
    }

    QStringList opened;
    QList<int> showModes;
    Result answer;
};
