#pragma once

#include <QDialog>

#include <functional>

class DataSet;

// A modal editing window. Closing it (button, close box, Escape) first posts the pending
// row of its data set, so nothing typed is lost; when that post fails the window stays.
class RecordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RecordDialog(QWidget *parent = nullptr);

    void setPostOnClose(DataSet *dataSet) { m_postOnClose = dataSet; }

    // Runs `callback` with the window as soon as it is shown modally: for tests and the
    // screenshot tour. Gives up with a warning when none is shown within `timeoutMs`.
    static void whenShown(std::function<void(QDialog *)> callback, int timeoutMs = 10000);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    // Called when the window is about to close; false keeps it open.
    virtual bool canClose();

private:
    DataSet *m_postOnClose = nullptr;
};
