#pragma once

#include <QDialog>

#include <functional>

class DataModules;
class DataSet;

// Entering and changing one user, on the current row of the user list.
class TFormUserErfassen : public QDialog
{
    Q_OBJECT
public:
    explicit TFormUserErfassen(DataModules &dm, QWidget *parent = nullptr);
    ~TFormUserErfassen() override;

public slots:
    // Escape and "Ende": the window closes without storing; what was typed stays pending in
    // the user list, which drops it when the user window closes.
    void reject() override;

private:
    void deleteUser();
    void takeOver();
    void cancelAndClose();
    void checkShortName(DataSet &users) const;

    DataSet *m_qrUser;
    std::function<void(DataSet &)> m_outerBeforePost;
};
