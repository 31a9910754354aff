#pragma once

#include <QObject>

// Alt with a letter is an access key ("&Speichern"). When no enabled button owns it, Qt
// hands the key on to the focused input, which takes the letter as typed text: with
// "&Speichern" disabled, Alt+S wrote an "s" into the field and started editing the record.
// Installed once on the application, this drops such keys in inputs, lists and
// drop-downs, so an access key either presses its button or does nothing, in every window.
class AccessKeyGuard : public QObject
{
    Q_OBJECT
public:
    // Idempotent; the guard lives as long as the application.
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
