#include "ui/RecordDialog.h"

#include "data/DataSet.h"
#include "ui/Guard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

#include <algorithm>
#include <memory>

RecordDialog::RecordDialog(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

bool RecordDialog::canClose()
{
    if (!m_postOnClose || !m_postOnClose->isPending())
        return true;
    // A new row nobody typed into is dropped, not stored empty.
    return guarded([this] { m_postOnClose->checkBrowseMode(); });
}

void RecordDialog::closeEvent(QCloseEvent *event)
{
    if (canClose())
        event->accept();
    else
        event->ignore();
}

void RecordDialog::reject()
{
    if (canClose())
        QDialog::reject();
}

void RecordDialog::whenShown(std::function<void(QDialog *)> callback, int timeoutMs)
{
    // Polls until a modal window is up; the callback runs inside its event loop. A window
    // that never comes must not leave a timer polling for the rest of the run.
    constexpr int interval = 10;
    auto *timer = new QTimer(qApp);
    timer->setInterval(interval);
    auto polls = std::make_shared<int>(std::max(1, timeoutMs / interval));
    QObject::connect(timer, &QTimer::timeout, timer, [timer, callback, polls, timeoutMs] {
        if (auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget()); dlg && dlg->isVisible()) {
            timer->stop();
            timer->deleteLater();
            callback(dlg);
        } else if (--*polls <= 0) {
            timer->stop();
            timer->deleteLater();
            qWarning("RecordDialog::whenShown: no modal window within %d ms", timeoutMs);
        }
    });
    timer->start();
}
