#pragma once

#include "ui/RecordDialog.h"

class DataModules;

// "Termine bearbeiten": edits the appointment on which the page put the list, and new
// ones; no list and no navigation of its own.
class TFormTermineEdit : public RecordDialog
{
    Q_OBJECT
public:
    explicit TFormTermineEdit(DataModules &dm, QWidget *parent = nullptr);
};
