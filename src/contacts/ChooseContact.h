#pragma once

class DataModules;
class QWidget;

// Opens TFormKontWahl modally; returns the adr_id current in qrKontWahl when it closes (0 when the list holds no row).
int ChooseContact(DataModules &dm, QWidget *parent = nullptr);
// Whether the last selection window was closed with "Ü&bernehmen" (the take-over mark).
bool ContactTakenOver();
